// The page scheme's server: files, built-in pages and the synchronous calls of page scripts to the host.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QWebEngineUrlSchemeHandler>

#include <functional>
#include <map>
#include <optional>

namespace tvsk::web
{

// Answers a page script's call with the JSON reply, or nothing when the call failed.
using ExternalCall = std::function<std::optional<QByteArray>(const QJsonObject& request)>;

// One per process, installed in the default profile on first use. The schemes themselves are
// registered when this library loads, before any application object exists.
class PageSchemeHandler final : public QWebEngineUrlSchemeHandler
{
public:
    static PageSchemeHandler& Instance();

    // Calls from the pages of one view go to its handler.
    void SetExternalCall(int viewId, ExternalCall call);
    void RemoveExternalCall(int viewId);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    PageSchemeHandler() = default;
    void ServeFile(QWebEngineUrlRequestJob* job, const QString& path);
    void AnswerExternal(QWebEngineUrlRequestJob* job);

    std::map<int, ExternalCall> m_externalCalls;
};

} // namespace tvsk::web
