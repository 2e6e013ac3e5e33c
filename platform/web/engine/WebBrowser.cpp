#include "WebBrowser.h"

#include "ExternalCall.h"
#include "LivePage.h"
#include "PageAddress.h"
#include "PageSchemes.h"

#include <QWebEngineHttpRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <atomic>
#include <utility>

namespace tvsk::web
{

void BrowserEvents::BeforeNavigate(const std::string&, const std::string&, const std::string&,
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
bool BrowserEvents::ShowMessage(const std::string&)
{
    return false;
}

// Turns the engine's navigation requests and alerts into the window's notifications.
class HostPage final : public QWebEnginePage
{
public:
    HostPage(BrowserEvents& events, QObject* parent) : QWebEnginePage(parent), m_events(events) {}

    // The next navigation to url is the host's own, with this post data and these headers.
    // keptBody names the body the page server keeps for it, if any.
    void ExpectRequest(const QUrl& url, std::string postData, std::string headers, QByteArray keptBody)
    {
        m_expected = {url, std::move(postData), std::move(headers), std::move(keptBody)};
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        const std::string address = ProgramUrl(url).toStdString();
        ExpectedRequest request;
        if (isMainFrame && m_expected.url == url)
            request = std::exchange(m_expected, ExpectedRequest());
        bool cancel = false;
        if (address.rfind("app:", 0) == 0)
        {
            m_events.AppCommand(address.substr(4), request.postData);
            cancel = true;
        }
        m_events.BeforeNavigate(address, isMainFrame ? std::string() : std::string("_frame"),
                                request.postData, request.headers, cancel);
        if (cancel && !request.keptBody.isEmpty())
            PageSchemeHandler::Instance().DropPostBody(request.keptBody);
        return !cancel;
    }
    void javaScriptAlert(const QUrl& origin, const QString& text) override
    {
        if (!m_events.ShowMessage(text.toStdString()))
            QWebEnginePage::javaScriptAlert(origin, text);
    }

private:
    struct ExpectedRequest
    {
        QUrl url;
        std::string postData;
        std::string headers;
        QByteArray keptBody;
    };

    BrowserEvents& m_events;
    ExpectedRequest m_expected;
};

namespace
{

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

void WebBrowser::Navigate(const std::string& address, const std::string& postData, const std::string& headers)
{
    const QUrl url = ServedUrl(QString::fromStdString(address));
    QWebEngineHttpRequest request(url);
    AddHeaders(request, headers);
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
    m_page->ExpectRequest(url, postData, headers, keptBody);
    m_view->load(request);
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
