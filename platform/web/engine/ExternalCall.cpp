#include "ExternalCall.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <limits>
#include <vector>

namespace tvsk::web
{

namespace
{

VARIANT VariantOf(const QJsonValue& value)
{
    VARIANT v;
    VariantInit(&v);
    if (value.isBool())
        v = tvsk::com::MakeVariantBool(value.toBool());
    else if (value.isString())
        v = tvsk::com::MakeVariantBstr(value.toString().toStdString());
    else if (value.isDouble())
    {
        const double number = value.toDouble();
        const bool whole = std::trunc(number) == number && number >= std::numeric_limits<LONG>::min() &&
                           number <= std::numeric_limits<LONG>::max();
        v = whole ? tvsk::com::MakeVariantI4(static_cast<LONG>(number)) : tvsk::com::MakeVariantR8(number);
    }
    return v;
}

QJsonValue JsonOf(const VARIANT& v)
{
    switch (v.vt)
    {
    case VT_EMPTY:
    case VT_NULL:
        return QJsonValue::Null;
    case VT_BOOL:
        return v.boolVal != VARIANT_FALSE;
    case VT_BSTR:
        return QString::fromStdString(tvsk::com::Utf8FromBstr(v.bstrVal));
    default:
        break;
    }
    VARIANT number;
    VariantInit(&number);
    if (SUCCEEDED(VariantChangeType(&number, &v, 0, VT_R8)))
        return number.dblVal;
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &v, 0, VT_BSTR)))
        return QJsonValue::Null;
    QJsonValue result = QString::fromStdString(tvsk::com::Utf8FromBstr(text.bstrVal));
    VariantClear(&text);
    return result;
}

} // namespace

std::optional<QByteArray> CallExternal(IDispatch* object, const QJsonObject& request)
{
    if (!object)
        return std::nullopt;
    std::u16string name = request.value("name").toString().toStdU16String();
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return std::nullopt;

    const QJsonArray args = request.value("args").toArray();
    std::vector<VARIANT> arguments;
    for (qsizetype i = args.size(); i-- > 0;)
        arguments.push_back(VariantOf(args.at(i)));
    const bool put = request.value("kind").toString() == "put";
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{arguments.data(), put ? &named : nullptr, static_cast<UINT>(arguments.size()),
                      put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    const WORD flags = put ? DISPATCH_PROPERTYPUT : static_cast<WORD>(DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    const HRESULT hr =
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, nullptr, nullptr);
    for (VARIANT& argument : arguments)
        VariantClear(&argument);
    if (FAILED(hr))
        return std::nullopt;
    QJsonObject reply;
    reply.insert("value", JsonOf(result));
    VariantClear(&result);
    return QJsonDocument(reply).toJson(QJsonDocument::Compact);
}

} // namespace tvsk::web
