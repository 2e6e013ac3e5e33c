// What the road walk checks of help windows and tool bars.
#pragma once

#include <QString>
#include <QStringList>

class QUrl;
class QWidget;

namespace roadwalk
{

// What is wrong with the page a help window shows: a missing page, an anchor the page lacks, a page
// of the other language ("<name>_<other>." or "/<other>/" in its path); empty when it is sound.
QString HelpPageFault(const QUrl& url, const QString& otherLanguage);
// The window's tool buttons that show neither a text nor a tool tip.
QStringList ButtonsWithoutToolTips(QWidget* window);

} // namespace roadwalk
