#include "PageSchemes.h"

#include "PageAddress.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QMimeDatabase>
#include <QUrlQuery>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace tvsk::web
{

namespace
{

// Schemes must be known before the browser starts, so they are registered as the library loads.
const bool kSchemesRegistered = []
{
    QWebEngineUrlScheme page(kPageScheme);
    page.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    page.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                  QWebEngineUrlScheme::LocalAccessAllowed | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(page);
    // Application commands are navigations to "app:" that the host cancels; the scheme is known so
    // that they reach the host as navigations at all.
    QWebEngineUrlScheme app("app");
    app.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    app.setFlags(QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(app);
    return true;
}();

constexpr char kExternalPath[] = "/.external";

} // namespace

PageSchemeHandler& PageSchemeHandler::Instance()
{
    static PageSchemeHandler* handler = []
    {
        auto* created = new PageSchemeHandler;
        QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
        created->setParent(profile);
        profile->installUrlSchemeHandler(kPageScheme, created);
        profile->installUrlSchemeHandler("app", created);
        return created;
    }();
    return *handler;
}

void PageSchemeHandler::SetExternalCall(int viewId, ExternalCall call)
{
    m_externalCalls[viewId] = std::move(call);
}

void PageSchemeHandler::RemoveExternalCall(int viewId)
{
    m_externalCalls.erase(viewId);
}

QByteArray PageSchemeHandler::KeepPostBody(QByteArray body)
{
    const QByteArray name = QByteArray::number(m_nextPostBody++);
    m_postBodies[name] = std::move(body);
    return name;
}

PageRequest PageSchemeHandler::TakeRequest(const QWebEngineUrlRequestJob& job)
{
    PageRequest request{job.requestUrl(), job.requestMethod(), job.requestHeaders(), {}};
    const QByteArray name = request.headers.take(kPostBodyHeader);
    if (const auto kept = m_postBodies.find(name); kept != m_postBodies.end())
    {
        request.method = "POST";
        request.body = std::move(kept->second);
        m_postBodies.erase(kept);
    }
    return request;
}

void PageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const PageRequest request = TakeRequest(*job);
    if (m_observer)
        m_observer(request);
    const QUrl url = job->requestUrl();
    if (url.scheme() != kPageScheme)
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    else if (url.path() == kExternalPath)
        AnswerExternal(job);
    else if (url.host() == "res")
        ServeFile(job, ":/res" + url.path());
    else if (url.host() == "file")
        ServeFile(job, url.path());
    else
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
}

void PageSchemeHandler::ServeFile(QWebEngineUrlRequestJob* job, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* content = new QBuffer(job);
    content->setData(file.readAll());
    const QByteArray mime =
        QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toUtf8();
    job->reply(mime, content);
}

void PageSchemeHandler::AnswerExternal(QWebEngineUrlRequestJob* job)
{
    const QString query = QUrl::fromPercentEncoding(job->requestUrl().query(QUrl::FullyEncoded).toUtf8());
    const QJsonObject request = QJsonDocument::fromJson(query.toUtf8()).object();
    const auto call = m_externalCalls.find(request.value("view").toInt(-1));
    const std::optional<QByteArray> reply =
        call != m_externalCalls.end() ? call->second(request) : std::optional<QByteArray>();
    if (!reply)
    {
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    auto* content = new QBuffer(job);
    content->setData(*reply);
    job->reply("application/json", content);
}

} // namespace tvsk::web
