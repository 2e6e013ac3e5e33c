#include "WebBrowser.h"

#include "ExternalCall.h"
#include "LivePage.h"
#include "PageAddress.h"
#include "PageSchemes.h"

#include <QAction>
#include <QJsonDocument>
#include <QJsonArray>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHttpRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <atomic>
#include <utility>

namespace tvsk::web
{

void BrowserEvents::BeforeNavigate(const std::string&, unsigned, const std::string&, const std::string&,
                                   const std::string&, bool&)
{
}
void BrowserEvents::AppCommand(const std::string&, const std::string&) {}
void BrowserEvents::NavigateComplete(const std::string&) {}
void BrowserEvents::DocumentComplete(const std::string&) {}
void BrowserEvents::TitleChange(const std::string&) {}
void BrowserEvents::StatusTextChange(const std::string&) {}
void BrowserEvents::ProgressChange(int, int) {}
void BrowserEvents::DownloadBegin() {}
void BrowserEvents::DownloadComplete() {}
void BrowserEvents::ContextMenu(QPoint) {}
bool BrowserEvents::ShowMessage(const std::string&, unsigned, int&)
{
    return false;
}
bool BrowserEvents::ShowHelp(QPoint)
{
    return false;
}
void BrowserEvents::CommandStateChange(int, bool) {}
void BrowserEvents::NewWindow(bool&) {}
void BrowserEvents::WindowClosing(bool&) {}
void BrowserEvents::WindowGeometry(QRect) {}
void BrowserEvents::SecureLockIcon(int) {}
void BrowserEvents::FileDownload(bool&) {}

// Turns the engine's navigation requests and alerts into the window's notifications.
class HostPage final : public QWebEnginePage
{
public:
    HostPage(BrowserEvents& events, QObject* parent) : QWebEnginePage(parent), m_events(events) {}

    // The next navigation to url is the host's own, with this post data and these headers.
    // keptBody names the body the page server keeps for it, if any.
    void ExpectRequest(const QUrl& url, std::string postData, std::string headers, QByteArray keptBody,
                       unsigned flags, std::string targetFrame)
    {
        m_expected = {url,   std::move(postData),   std::move(headers), std::move(keptBody),
                      flags, std::move(targetFrame)};
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        const std::string address = ProgramUrl(url).toStdString();
        ExpectedRequest request;
        if (m_expected.url == url && isMainFrame == m_expected.targetFrame.empty())
            request = std::exchange(m_expected, ExpectedRequest());
        else if (!isMainFrame)
            request.targetFrame = "_frame"; // the engine does not name the frame
        bool cancel = false;
        if (address.rfind("app:", 0) == 0)
        {
            m_events.AppCommand(address.substr(4), request.postData);
            cancel = true;
        }
        m_events.BeforeNavigate(address, request.flags, request.targetFrame, request.postData,
                                request.headers, cancel);
        if (cancel && !request.keptBody.isEmpty())
            PageSchemeHandler::Instance().DropPostBody(request.keptBody);
        return !cancel;
    }
    void javaScriptAlert(const QUrl& origin, const QString& text) override
    {
        int answer = 0;
        if (!m_events.ShowMessage(text.toStdString(), BrowserEvents::kAlertBox, answer))
            QWebEnginePage::javaScriptAlert(origin, text);
    }
    bool javaScriptConfirm(const QUrl& origin, const QString& text) override
    {
        int answer = 0;
        if (m_events.ShowMessage(text.toStdString(), BrowserEvents::kConfirmBox, answer))
            return answer == kIdOk;
        return QWebEnginePage::javaScriptConfirm(origin, text);
    }

private:
    static constexpr int kIdOk = 1;

    struct ExpectedRequest
    {
        QUrl url;
        std::string postData;
        std::string headers;
        QByteArray keptBody;
        unsigned flags = 0;
        std::string targetFrame; // empty: the page itself
    };

    BrowserEvents& m_events;
    ExpectedRequest m_expected;
};

namespace
{

// The text as a script's string literal.
QString JsString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// "Name: value" lines, separated by CR LF or LF.
void AddHeaders(QWebEngineHttpRequest& request, const std::string& headers)
{
    for (const QByteArray& line : QByteArray::fromStdString(headers).split('\n'))
    {
        const int colon = line.indexOf(':');
        if (colon > 0)
            request.setHeader(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
}

} // namespace

namespace
{

int NextViewId()
{
    static std::atomic<int> next{1};
    return next++;
}

constexpr double kZoomFactors[] = {0.75, 0.875, 1.0, 1.25, 1.5};

} // namespace

WebBrowser::WebBrowser(QWidget* parent, BrowserEvents& events)
    : QObject(parent), m_events(events), m_view(new QWebEngineView(parent)), m_viewId(NextViewId())
{
    PageSchemeHandler::Instance().SetExternalCall(m_viewId, [this](const QJsonObject& request)
                                                  { return CallExternal(m_external, request); });
    m_page = new HostPage(m_events, m_view);
    m_live = new LivePage(*m_page, m_viewId);
    m_view->setPage(m_page);
    connect(m_page, &QWebEnginePage::loadStarted, this, &WebBrowser::OnLoadStarted);
    connect(m_page, &QWebEnginePage::loadFinished, this, &WebBrowser::OnLoadFinished);
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int p) { m_events.ProgressChange(p, 100); });
    connect(m_page, &QWebEnginePage::titleChanged, this,
            [this](const QString& title) { m_events.TitleChange(title.toStdString()); });
    connect(m_page, &QWebEnginePage::linkHovered, this,
            [this](const QString& url) { m_events.StatusTextChange(url.toStdString()); });
    connect(m_live, &LivePage::documentReady, this, &WebBrowser::OnDocumentReady);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](QPoint p) { m_events.ContextMenu(p); });
    connect(m_live, &LivePage::helpKey, this, [this](QPoint p) { m_events.ShowHelp(p); });
    connect(m_page, &QWebEnginePage::urlChanged, this, &WebBrowser::OnUrlChanged);
    connect(m_page, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { NavigateInNewWindow(request.requestedUrl()); });
    connect(m_page, &QWebEnginePage::windowCloseRequested, this,
            [this]
            {
                bool cancel = false;
                m_events.WindowClosing(cancel);
            });
    connect(m_page, &QWebEnginePage::geometryChangeRequested, this,
            [this](const QRect& geometry) { m_events.WindowGeometry(geometry); });
    WatchHistory(QWebEnginePage::Back, BrowserEvents::kNavigateBack, m_canGoBack);
    WatchHistory(QWebEnginePage::Forward, BrowserEvents::kNavigateForward, m_canGoForward);
    connect(m_page->profile(), &QWebEngineProfile::downloadRequested, this, &WebBrowser::OnDownloadRequested);
}

void WebBrowser::WatchHistory(QWebEnginePage::WebAction action, int command, bool& possible)
{
    QAction* history = m_page->action(action);
    connect(history, &QAction::changed, this,
            [this, history, command, &possible]
            {
                if (history->isEnabled() == possible)
                    return;
                possible = history->isEnabled();
                m_events.CommandStateChange(command, possible);
            });
}

WebBrowser::~WebBrowser()
{
    PageSchemeHandler::Instance().RemoveExternalCall(m_viewId);
    delete m_view.data();
}

void WebBrowser::Navigate(const std::string& address)
{
    m_view->load(ServedUrl(QString::fromStdString(address)));
}

void WebBrowser::Navigate(const std::string& address, const std::string& postData, const std::string& headers,
                          unsigned flags, const std::string& targetFrame)
{
    const QUrl url = ServedUrl(QString::fromStdString(address));
    if ((flags & kOpenInNewWindow) || targetFrame == "_blank")
    {
        NavigateInNewWindow(url);
        return;
    }
    const bool thePage =
        targetFrame.empty() || targetFrame == "_self" || targetFrame == "_parent" || targetFrame == "_top";
    if (!thePage)
    {
        m_page->ExpectRequest(url, postData, headers, QByteArray(), flags, targetFrame);
        NavigateFrame(targetFrame, url);
        return;
    }
    if ((flags & kNoHistory) && postData.empty() && headers.empty() && m_live->DocumentObject())
    {
        // The page replaces itself: no history entry is added.
        m_page->ExpectRequest(url, postData, headers, QByteArray(), flags, std::string());
        m_page->runJavaScript(QStringLiteral("location.replace(%1)").arg(JsString(url.toString())));
        return;
    }
    QWebEngineHttpRequest request(url);
    AddHeaders(request, headers);
    if (flags & (kNoReadFromCache | kNoWriteToCache))
    {
        QByteArray cache = (flags & kNoReadFromCache) ? "no-cache" : "";
        if (flags & kNoWriteToCache)
            cache += cache.isEmpty() ? "no-store" : ", no-store";
        request.setHeader("Cache-Control", cache);
        if (flags & kNoReadFromCache)
            request.setHeader("Pragma", "no-cache");
    }
    const QByteArray body = QByteArray::fromStdString(postData);
    // The engine posts to network schemes only: the page server takes the body from here, and an
    // "app:" command gets it with the navigation.
    QByteArray keptBody;
    if (!body.isEmpty() && (url.scheme() == "http" || url.scheme() == "https"))
    {
        request.setMethod(QWebEngineHttpRequest::Post);
        request.setPostData(body);
    }
    else if (!body.isEmpty() && url.scheme() == kPageScheme)
    {
        keptBody = PageSchemeHandler::Instance().KeepPostBody(body);
        request.setHeader(kPostBodyHeader, keptBody);
    }
    m_page->ExpectRequest(url, postData, headers, keptBody, flags, std::string());
    m_view->load(request);
}

void WebBrowser::NavigateInNewWindow(const QUrl& url)
{
    bool cancel = false;
    m_events.NewWindow(cancel);
    if (!cancel)
        m_view->load(url);
}

void WebBrowser::NavigateFrame(const std::string& frame, const QUrl& url)
{
    const QString script = QStringLiteral("(function (name, url) {"
                                          " const frame = window.frames[name];"
                                          " if (!frame) return false;"
                                          " frame.location.href = url; return true; })(%1, %2)")
                               .arg(JsString(QString::fromStdString(frame)), JsString(url.toString()));
    const QPointer<WebBrowser> alive(this);
    m_page->runJavaScript(script,
                          [alive, url](const QVariant& found)
                          {
                              if (alive && !found.toBool())
                                  alive->NavigateInNewWindow(url);
                          });
}

void WebBrowser::OnUrlChanged(const QUrl& url)
{
    const int icon = url.scheme() == "https" ? BrowserEvents::kLockSecure : BrowserEvents::kLockUnsecure;
    if (icon == m_lockIcon)
        return;
    m_lockIcon = icon;
    m_events.SecureLockIcon(icon);
}

void WebBrowser::OnDownloadRequested(QWebEngineDownloadRequest* download)
{
    if (download->page() != m_page)
        return;
    bool cancel = false;
    m_events.FileDownload(cancel);
    if (cancel)
        download->cancel();
}

std::string WebBrowser::LocationUrl() const
{
    return ProgramUrl(m_page->url()).toStdString();
}

std::string WebBrowser::LocationName() const
{
    return m_page->title().toStdString();
}

void WebBrowser::GoBack()
{
    m_view->back();
}

void WebBrowser::GoForward()
{
    m_view->forward();
}

void WebBrowser::Refresh()
{
    m_view->reload();
}

void WebBrowser::Refresh(bool completely)
{
    m_page->triggerAction(completely ? QWebEnginePage::ReloadAndBypassCache : QWebEnginePage::Reload);
}

void WebBrowser::SetAcceptDrops(bool on)
{
    m_view->setAcceptDrops(on);
}

bool WebBrowser::AcceptsDrops() const
{
    return m_view->acceptDrops();
}

void WebBrowser::Stop()
{
    m_view->stop();
}

IDispatch* WebBrowser::Document() const
{
    IDomDocument* document = m_live->DocumentObject();
    if (!document)
        return nullptr;
    document->AddRef();
    return document;
}

void WebBrowser::SetFontSize(int size)
{
    m_fontSize = std::clamp(size, 0, 4);
    m_view->setZoomFactor(kZoomFactors[m_fontSize]);
}

int WebBrowser::FontSize() const
{
    const double zoom = m_view->zoomFactor();
    int nearest = 0;
    for (int i = 1; i < 5; ++i)
        if (std::abs(kZoomFactors[i] - zoom) < std::abs(kZoomFactors[nearest] - zoom))
            nearest = i;
    return nearest;
}

void WebBrowser::SetCustomContextMenu(bool on)
{
    m_view->setContextMenuPolicy(on ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
}

void WebBrowser::Cut()
{
    m_page->triggerAction(QWebEnginePage::Cut);
}

void WebBrowser::Copy()
{
    m_page->triggerAction(QWebEnginePage::Copy);
}

void WebBrowser::Paste()
{
    m_page->triggerAction(QWebEnginePage::Paste);
}

void WebBrowser::SelectAll()
{
    m_page->triggerAction(QWebEnginePage::SelectAll);
}

void WebBrowser::ViewSource()
{
    auto* source = new QWebEngineView;
    source->setAttribute(Qt::WA_DeleteOnClose);
    source->load(QUrl("view-source:" + m_page->url().toString()));
    source->show();
}

void WebBrowser::ShowScrollBars(bool on)
{
    m_page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, on);
}

void WebBrowser::SetUserAgent(const std::string& agent)
{
    m_page->profile()->setHttpUserAgent(QString::fromStdString(agent));
}

void WebBrowser::Find(const std::string& text)
{
    m_page->findText(QString::fromStdString(text));
}

void WebBrowser::OnLoadStarted()
{
    m_busy = true;
    m_readyState = READYSTATE_LOADING;
    m_live->Forget();
    m_events.DownloadBegin();
}

void WebBrowser::OnLoadFinished(bool ok)
{
    m_busy = false;
    // A page that failed to load gets no mirror: there is nothing more to wait for.
    m_readyState = ok && !m_live->DocumentObject() ? READYSTATE_INTERACTIVE : READYSTATE_COMPLETE;
    m_events.DownloadComplete();
    m_events.NavigateComplete(LocationUrl());
}

void WebBrowser::OnDocumentReady()
{
    m_readyState = READYSTATE_COMPLETE;
    if (m_fontSize >= 0)
        SetFontSize(m_fontSize);
    m_events.DocumentComplete(LocationUrl());
}

} // namespace tvsk::web
