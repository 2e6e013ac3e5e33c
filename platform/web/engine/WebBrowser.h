// The embedded browser of a page window: navigation with before-navigate and "app:" commands,
// document-complete once the page's mirror is in, the external object, zoom and page commands.
#pragma once

#include <com/Com.h>

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <string>

namespace tvsk::web
{

class LivePage;
class HostPage;

// What the browser tells its window; every notification has a neutral default.
class BrowserEvents
{
public:
    virtual ~BrowserEvents() = default;
    // Before every navigation, "app:" ones included; setting cancel stops it. Flags, target frame,
    // post data and headers are those the host's own navigation gave; other navigations carry none
    // but "_frame" as the target of a frame's navigation.
    virtual void BeforeNavigate(const std::string& url, unsigned flags, const std::string& targetFrame,
                                const std::string& postData, const std::string& headers, bool& cancel);
    // An "app:" navigation: the rest of the address; it is cancelled.
    virtual void AppCommand(const std::string& command, const std::string& postData);
    virtual void NavigateComplete(const std::string& url);
    // The page and its frames are loaded and mirrored: the document answers reads now.
    virtual void DocumentComplete(const std::string& url);
    virtual void TitleChange(const std::string& title);
    virtual void StatusTextChange(const std::string& text);
    virtual void ProgressChange(int progress, int maximum);
    virtual void DownloadBegin();
    virtual void DownloadComplete();
    // A right click in the page, in the view's coordinates, while custom context menus are on.
    virtual void ContextMenu(QPoint point);
    // A page script's message, alert (kAlertBox) or confirm (kConfirmBox), with the box's type; true
    // when the window showed it, its answer (IDOK = 1 for yes) in result.
    virtual bool ShowMessage(const std::string& text, unsigned type, int& result);
    // The help key in a page, in the view's coordinates; true when the window showed the help.
    virtual bool ShowHelp(QPoint point);
    // Going back (kNavigateBack) or forward (kNavigateForward) became possible or impossible.
    virtual void CommandStateChange(int command, bool enabled);
    // A page asks for a window of its own (a link's target, window.open); cancel refuses it, else
    // the page opens in this window: the program has no second browser window.
    virtual void NewWindow(bool& cancel);
    // A page script closes the window; cancel keeps it.
    virtual void WindowClosing(bool& cancel);
    // A page script moves or sizes its window (the view's coordinates).
    virtual void WindowGeometry(QRect geometry);
    // The page's lock: kLockUnsecure, or kLockSecure for a page that came over a secure scheme.
    virtual void SecureLockIcon(int icon);
    // A page starts a download; cancel refuses it, else the engine's own handling goes on.
    virtual void FileDownload(bool& cancel);

    static constexpr unsigned kAlertBox = 0x30;   // OK, exclamation icon
    static constexpr unsigned kConfirmBox = 0x21; // OK and Cancel, question icon
    static constexpr int kNavigateForward = 1;
    static constexpr int kNavigateBack = 2;
    static constexpr int kLockUnsecure = 0;
    static constexpr int kLockSecure = 2; // secure, strength unknown
};

class WebBrowser final : public QObject
{
    Q_OBJECT

public:
    WebBrowser(QWidget* parent, BrowserEvents& events);
    ~WebBrowser() override;

    QWebEngineView* View() const noexcept { return m_view.data(); }

    // Load states, as the browser reports them.
    enum ReadyState
    {
        READYSTATE_UNINITIALIZED = 0,
        READYSTATE_LOADING = 1,
        READYSTATE_LOADED = 2,
        READYSTATE_INTERACTIVE = 3,
        READYSTATE_COMPLETE = 4,
    };

    // Navigation flags
    static constexpr unsigned kOpenInNewWindow = 0x1;
    static constexpr unsigned kNoHistory = 0x2;
    static constexpr unsigned kNoReadFromCache = 0x4;
    static constexpr unsigned kNoWriteToCache = 0x8;

    // A file path, "file://", "res://<module>/<name>" or any URL the engine loads.
    void Navigate(const std::string& address);
    // A request with headers ("Name: value" lines) and, when postData is not empty, posted with it.
    // targetFrame: empty, "_self", "_parent" or "_top" for the page itself, the name of one of its
    // frames, or "_blank" (or kOpenInNewWindow) for a window of its own, which NewWindow hears.
    // kNoHistory replaces the current page in the history; the cache flags ask every cache on
    // the way to answer afresh and to keep nothing.
    void Navigate(const std::string& address, const std::string& postData, const std::string& headers,
                  unsigned flags = 0, const std::string& targetFrame = std::string());
    std::string LocationUrl() const;
    std::string LocationName() const;
    bool Busy() const noexcept { return m_busy; }
    void GoBack();
    void GoForward();
    void Refresh();
    // Completely: reloaded past every cache.
    void Refresh(bool completely);
    void Stop();
    // Loading until the engine has the page, interactive until the page is mirrored, then complete.
    ReadyState GetReadyState() const noexcept { return m_readyState; }
    // Whether the view takes dropped data.
    void SetAcceptDrops(bool on);
    bool AcceptsDrops() const;

    // The object page scripts reach as window.external (no reference is kept, as the host owns it).
    void SetExternal(IDispatch* external) noexcept { m_external = external; }
    IDispatch* GetExternal() const noexcept { return m_external; }
    // The mirrored page document with a reference for the caller; null before the first document.
    IDispatch* Document() const;

    // Text size 0 (smallest) .. 4 (largest), clamped; kept for the following pages.
    void SetFontSize(int size);
    int FontSize() const;
    void SetCustomContextMenu(bool on);
    void ShowScrollBars(bool on);
    // The user agent text of every page the program loads.
    void SetUserAgent(const std::string& agent);
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();
    // Starts a search for the text in the page.
    void Find(const std::string& text);
    // Opens a window with the page's source.
    void ViewSource();

private:
    void OnLoadStarted();
    void OnLoadFinished(bool ok);
    void OnDocumentReady();
    void OnUrlChanged(const QUrl& url);
    // Reports the command's state whenever going that way becomes possible or impossible.
    void WatchHistory(QWebEnginePage::WebAction action, int command, bool& possible);
    void OnDownloadRequested(class QWebEngineDownloadRequest* download);
    // Loads the address into the named frame of the page, or, when the page has no frame of that
    // name, as a window of its own would.
    void NavigateFrame(const std::string& frame, const QUrl& url);
    void NavigateInNewWindow(const QUrl& url);

    BrowserEvents& m_events;
    QPointer<QWebEngineView> m_view; // owned, unless its parent widget went first
    HostPage* m_page;
    LivePage* m_live;
    IDispatch* m_external = nullptr;
    int m_viewId;
    int m_fontSize = -1;
    bool m_busy = false;
    int m_lockIcon = -1;
    bool m_canGoBack = false;
    bool m_canGoForward = false;
    ReadyState m_readyState = READYSTATE_UNINITIALIZED;
};

} // namespace tvsk::web
