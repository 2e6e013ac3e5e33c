// The embedded browser of a page window: navigation with before-navigate and "app:" commands,
// document-complete once the page's mirror is in, the external object, zoom and page commands.
#pragma once

#include <com/Com.h>

#include <QObject>
#include <QPoint>
#include <QPointer>
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
    // Before every navigation, "app:" ones included; setting cancel stops it. Post data and headers
    // are those the host's own navigation gave; other navigations carry none.
    virtual void BeforeNavigate(const std::string& url, const std::string& targetFrame,
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
    // A page script's alert; true when the window showed it.
    virtual bool ShowMessage(const std::string& text);
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

    // A file path, "file://", "res://<module>/<name>" or any URL the engine loads.
    void Navigate(const std::string& address);
    // A request with headers ("Name: value" lines) and, when postData is not empty, posted with it.
    void Navigate(const std::string& address, const std::string& postData, const std::string& headers);
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

    BrowserEvents& m_events;
    QPointer<QWebEngineView> m_view; // owned, unless its parent widget went first
    HostPage* m_page;
    LivePage* m_live;
    IDispatch* m_external = nullptr;
    int m_viewId;
    int m_fontSize = -1;
    bool m_busy = false;
    ReadyState m_readyState = READYSTATE_UNINITIALIZED;
};

} // namespace tvsk::web
