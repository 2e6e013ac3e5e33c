#include "PageAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tvsk::web
{

namespace
{

QUrl FileOnScheme(const QString& path)
{
    QUrl url;
    url.setScheme(kPageScheme);
    url.setHost("file");
    url.setPath(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    return url;
}

} // namespace

QUrl ServedUrl(const QString& address)
{
    if (address.startsWith("res://"))
    {
        QUrl url;
        url.setScheme(kPageScheme);
        url.setHost("res");
        url.setPath('/' + address.mid(address.lastIndexOf('/') + 1));
        return url;
    }
    if (address.startsWith("file:"))
        return FileOnScheme(QUrl(address).toLocalFile());
    const QUrl url(address);
    if (!url.scheme().isEmpty())
        return url;
    return FileOnScheme(address);
}

QString ProgramUrl(const QUrl& served)
{
    if (served.scheme() != kPageScheme)
        return served.toString();
    if (served.host() == "res")
        return "res://" + QCoreApplication::applicationFilePath() + served.path();
    return QUrl::fromLocalFile(served.path()).toString();
}

} // namespace tvsk::web
