#include "PageAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tvsk::web
{

namespace
{

QUrl FileOnScheme(const QString& path, const QString& fragment = QString())
{
    QUrl url;
    url.setScheme(kPageScheme);
    url.setHost("file");
    url.setPath(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    return url;
}

// A plain path may name an anchor after its file: "<file>#<name>", when the file is there and
// no file of the whole name is.
QUrl PathOnScheme(const QString& path)
{
    const qsizetype hash = path.lastIndexOf('#');
    if (hash > 0 && !QFileInfo::exists(path) && QFileInfo::exists(path.left(hash)))
        return FileOnScheme(path.left(hash), path.mid(hash + 1));
    return FileOnScheme(path);
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
    {
        const QUrl file(address);
        return FileOnScheme(file.toLocalFile(), file.fragment());
    }
    const QUrl url(address);
    if (!url.scheme().isEmpty())
        return url;
    return PathOnScheme(address);
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
