// A page script's call of window.external, made on the host's automation object.
#pragma once

#include <com/Com.h>

#include <QByteArray>
#include <QJsonObject>

#include <optional>

namespace tvsk::web
{

// request: {"kind": "call" or "put", "name": member, "args": [...]}. A call invokes the member as a
// method or property get; a put sets the property. The reply is {"value": result}; nothing when the
// object has no such member or the member fails.
std::optional<QByteArray> CallExternal(IDispatch* object, const QJsonObject& request);

} // namespace tvsk::web
