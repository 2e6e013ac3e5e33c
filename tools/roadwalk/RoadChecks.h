// What the road walk looks at and how it acts as a user: windows, page scripts, real mouse
// clicks, texts cut by their controls, texts of the other language, and the report.
#pragma once

#include <QFile>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QPoint;
class QWebEngineView;
class QWidget;

namespace roadwalk
{

// Follows every page the program makes from now on (called as the toolkit starts, before any):
// a page says it is filled once the program has taken its newest document and written its
// texts and values into it.
void FollowPageFills();
// True once the view's page has said so since it last began to load.
bool PageSaysFilled(const QWebEngineView* view);

// Visible top-level windows, oldest first (no tool tips, no menus).
QList<QWidget*> VisibleWindows();
// The window's page view (not the status bar's), or null.
QWebEngineView* MainView(QWidget* window);
// The main window's status bar page, or null.
QWebEngineView* StatusView(QWidget* window);
QString SafeName(QString title);

// A real press and release of the left button at a point of the widget.
void RealClick(QWidget* target, const QPoint& at);
void TypeKey(QWidget* target, int key);

// Page scripts. The centre of the first element matching the selector, "x,y" or "".
QString ElementCentreScript(const QString& selector);
// "filled" when the page has loaded, shows text and every element matching the selector has a
// value (a <pre> its text); else what is missing.
QString PageFilledScript(const QString& selector);
// Every text a reader sees on the page and its frames: text nodes, button values, options, title.
QString PageTextsScript();
// True once the status page shows the link to the drive up.
QString OnLineScript();

// Texts of the window's labels, buttons, check boxes, radios and group boxes wider than the room
// their control gives them, as "<text> needs N px, has M".
QStringList CutTexts(QWidget* window);
// Every text the window's own controls show, its title among them.
QStringList WidgetTexts(QWidget* window);

// The texts of the chosen language's string table and of the other's, and the toolkit's own
// texts in each: a text is foreign when only the other language has it.
class TextTables
{
public:
    TextTables(const QString& ownTable, const QString& otherTable);
    // Several tables a language: a program's and its drives'.
    TextTables(const QStringList& ownTables, const QStringList& otherTables);
    bool IsForeign(const QString& text) const;
    bool Loaded() const { return !m_other.isEmpty(); }

private:
    QSet<QString> m_own;
    QSet<QString> m_other;
};

// The report: one line per step and per fault, "road: passed" or "road: N faults" at the end.
class RoadReport
{
public:
    explicit RoadReport(const QString& path);
    void Line(const QString& text);
    void Fail(const QString& step, const QString& what);
    void Close();
    int Faults() const { return m_faults; }

private:
    QFile m_file;
    int m_faults = 0;
    bool m_closed = false;
};

// The walk, started once the toolkit is, and its report closed at the program's end.
void Start();
void Finish();

} // namespace roadwalk
