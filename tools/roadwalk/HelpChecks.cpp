#include "HelpChecks.h"

#include <QFile>
#include <QToolButton>
#include <QUrl>
#include <QWidget>

namespace roadwalk
{

QString HelpPageFault(const QUrl& url, const QString& otherLanguage)
{
    // Pages are "tvsk://file/<absolute path>".
    const QString path = url.path();
    QFile page(path);
    if (path.isEmpty() || !page.open(QIODevice::ReadOnly))
        return "help page " + url.toString() + " does not exist";
    if (path.contains("_" + otherLanguage + ".") || path.contains("/" + otherLanguage + "/"))
        return "help page " + path + " is of the other language";
    const QString anchor = url.fragment();
    if (anchor.isEmpty())
        return QString();
    const QString html = QString::fromUtf8(page.readAll());
    if (html.contains("id=\"" + anchor + "\"") || html.contains("name=\"" + anchor + "\""))
        return QString();
    return "help page " + path + " has no topic #" + anchor;
}

QStringList ButtonsWithoutToolTips(QWidget* window)
{
    QStringList missing;
    int index = 0;
    for (QToolButton* button : window->findChildren<QToolButton*>())
    {
        ++index;
        if (button->isVisible() && button->text().isEmpty() && button->toolTip().isEmpty())
            missing << QString("button %1 at %2,%3").arg(index).arg(button->x()).arg(button->y());
    }
    return missing;
}

} // namespace roadwalk
