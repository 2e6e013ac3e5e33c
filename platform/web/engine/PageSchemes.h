// The page scheme's server: files, built-in pages and the synchronous calls of page scripts to the host.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

#include <functional>
#include <map>
#include <optional>

namespace tvsk::web
{

// Answers a page script's call with the JSON reply, or nothing when the call failed.
using ExternalCall = std::function<std::optional<QByteArray>(const QJsonObject& request)>;

// A request for a page as the server got it; a host's posted navigation comes as "POST" with its body.
struct PageRequest
{
    QUrl url;
    QByteArray method;
    QMap<QByteArray, QByteArray> headers;
    QByteArray body;
};
using RequestObserver = std::function<void(const PageRequest& request)>;

// The header by which a host's posted navigation names its body (see KeepPostBody).
constexpr char kPostBodyHeader[] = "X-Tvsk-Post-Body";

// One per process, installed in the default profile on first use. The schemes themselves are
// registered when this library loads, before any application object exists.
class PageSchemeHandler final : public QWebEngineUrlSchemeHandler
{
public:
    static PageSchemeHandler& Instance();

    // Calls from the pages of one view go to its handler.
    void SetExternalCall(int viewId, ExternalCall call);
    void RemoveExternalCall(int viewId);
    // The engine posts to network schemes only, so a post to a page keeps its body here and the
    // request names it in kPostBodyHeader; the answer is that name.
    QByteArray KeepPostBody(QByteArray body);
    // Forgets a kept body whose navigation was cancelled.
    void DropPostBody(const QByteArray& name) { m_postBodies.erase(name); }
    // Told of every page request, before it is answered; an empty function stops it.
    void SetRequestObserver(RequestObserver observer) { m_observer = std::move(observer); }

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    PageSchemeHandler() = default;
    void ServeFile(QWebEngineUrlRequestJob* job, const QString& path);
    void AnswerExternal(QWebEngineUrlRequestJob* job);

    PageRequest TakeRequest(const QWebEngineUrlRequestJob& job);

    std::map<int, ExternalCall> m_externalCalls;
    std::map<QByteArray, QByteArray> m_postBodies;
    int m_nextPostBody = 1;
    RequestObserver m_observer;
};

} // namespace tvsk::web
