#include "RoadChecks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTextStream>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

namespace roadwalk
{

namespace
{

// The toolkit's own texts of its file dialogs and standard buttons, in each language.
const char* const kToolkitEnglish[] = {
    "Cancel",         "Open",       "Save",    "Yes",  "Close",   "Look in:",         "File name:",
    "Files of type:", "Apply",      "Discard", "Back", "Forward", "Parent Directory", "Create New Folder",
    "List View",      "Detail View"};
// Words Italian borrows: said alike in both languages though only one table has them alone.
const char* const kLoanWords[] = {"Download", "Monitor", "Drive",   "File",    "Timeout",
                                  "Baudrate", "Encoder", "Offset",  "Trigger", "Reset",
                                  "Plc",      "Online",  "Offline", "Editor",  "Single"};
const char* const kToolkitItalian[] = {"Annulla",
                                       "Apri",
                                       "Salva",
                                       "Sì",
                                       "Chiudi",
                                       "Cerca in:",
                                       "Nome file:",
                                       "File di tipo:",
                                       "Applica",
                                       "Scarta",
                                       "Indietro",
                                       "Avanti",
                                       "Cartella superiore",
                                       "Crea nuova cartella",
                                       "Vista elenco",
                                       "Vista dettagliata"};

QString Plain(QString text)
{
    text.remove(QRegularExpression("&(?!&)"));
    return text.simplified();
}

// A text worth comparing: three characters or more, with letters.
bool Comparable(const QString& text)
{
    return text.size() >= 3 && text.contains(QRegularExpression("[A-Za-zÀ-ÿ]{2}"));
}

// The texts of one string table, whole and line by line.
QSet<QString> ReadTable(const QString& path)
{
    QSet<QString> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    // A program text, or a drive's parameter description (by operating mode).
    const QRegularExpression row("^(?:STR|DESCR)\\s+\"[^\"]*\"\\s+(?:-?[0-9]+\\s+)?\"(.*)\"\\s*$");
    QTextStream in(&file);
    while (!in.atEnd())
    {
        const QRegularExpressionMatch match = row.match(in.readLine());
        if (!match.hasMatch())
            continue;
        QString text = match.captured(1);
        text.replace("\\t", " ");
        for (const QString& line : text.split("\\n"))
            if (Comparable(Plain(line)))
                texts.insert(Plain(line));
        texts.insert(Plain(text.replace("\\n", " ")));
    }
    const bool italian = QFileInfo(path).baseName().endsWith("ITA", Qt::CaseInsensitive);
    if (italian)
        for (const char* text : kToolkitItalian)
            texts.insert(QString::fromUtf8(text));
    else
        for (const char* text : kToolkitEnglish)
            texts.insert(QString::fromUtf8(text));
    return texts;
}

constexpr const char* kFilled = "roadwalkFilled";

// The program's mirror of a page announces each document it has taken; the program fills the
// document in its own handler of that signal, connected first, so the page is filled once the
// event loop comes round again.
void FollowMirror(QWebEnginePage* page, QObject* mirror)
{
    if (mirror->metaObject()->indexOfSignal("documentReady()") < 0)
        return;
    page->setProperty(kFilled, false);
    QObject::connect(page, &QWebEnginePage::loadStarted, page, [page] { page->setProperty(kFilled, false); });
    auto* filled = new QTimer(mirror);
    filled->setSingleShot(true);
    filled->setInterval(0);
    QObject::connect(filled, &QTimer::timeout, page, [page] { page->setProperty(kFilled, true); });
    QObject::connect(mirror, SIGNAL(documentReady()), filled, SLOT(start()));
}

// Sees each object a page gets as its child, once the child is whole.
class PageFollower : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded)
            if (auto* page = qobject_cast<QWebEnginePage*>(watched))
            {
                QPointer<QWebEnginePage> guardPage(page);
                QPointer<QObject> child(static_cast<QChildEvent*>(event)->child());
                QTimer::singleShot(0, this,
                                   [guardPage, child]
                                   {
                                       if (guardPage && child)
                                           FollowMirror(guardPage, child);
                                   });
            }
        return false;
    }
};

} // namespace

void FollowPageFills()
{
    qApp->installEventFilter(new PageFollower(qApp));
}

bool PageSaysFilled(const QWebEngineView* view)
{
    return view && view->page() && view->page()->property(kFilled).toBool();
}

QList<QWidget*> VisibleWindows()
{
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() != Qt::ToolTip && w->windowType() != Qt::Desktop &&
            !qobject_cast<QMenu*>(w) && w->windowType() != Qt::Popup)
            windows << w;
    return windows;
}

QWebEngineView* MainView(QWidget* window)
{
    QWebEngineView* found = nullptr;
    for (QWebEngineView* view : window->findChildren<QWebEngineView*>())
        if (view->window() == window && view->isVisible() && !view->url().toString().endsWith("Status.htm"))
            found = view;
    return found;
}

QWebEngineView* StatusView(QWidget* window)
{
    for (QWebEngineView* view : window->findChildren<QWebEngineView*>())
        if (view->window() == window && view->isVisible() && view->url().toString().endsWith("Status.htm"))
            return view;
    return nullptr;
}

QString OnLineScript()
{
    return "(function(){var i=document.getElementById('imgAlarm');"
           "return !!i && i.src.endsWith('LinkOk.png');})()";
}

QString SafeName(QString title)
{
    title.replace(QRegularExpression("[^A-Za-z0-9._-]+"), "_");
    return title.left(50);
}

void RealClick(QWidget* target, const QPoint& at)
{
    const QPoint global = target->mapToGlobal(at);
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void TypeKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

QString ElementCentreScript(const QString& selector)
{
    return QString("(function(){var e=document.querySelector(%1); if(!e) return '';"
                   "e.scrollIntoView({block:'center'}); var r=e.getBoundingClientRect();"
                   "return Math.round(r.left+r.width/2)+','+Math.round(r.top+r.height/2);})()")
        .arg("'" + QString(selector).replace("'", "\\'") + "'");
}

QString PageFilledScript(const QString& selector)
{
    return QString(
               "(function(){if(document.readyState!=='complete'||!document.body) return 'loading';"
               "if(document.body.innerText.trim().length===0) return 'blank';"
               "var all=document.querySelectorAll(%1); if(all.length===0) return 'no '+%1;"
               "var empty=[]; all.forEach(function(e){var v=e.tagName==='PRE'?e.textContent.trim():e.value;"
               "if(v===''&&e.type!=='hidden')"
               "empty.push(e.name||e.id);});"
               "return empty.length? 'empty: '+empty.join(' '): 'filled '+all.length;})()")
        .arg("'" + QString(selector).replace("'", "\\'") + "'");
}

QString PageTextsScript()
{
    return "(function(){var t=[];function add(s){s=(s||'').replace(/\\s+/g,' ').trim();if(s)t.push(s);}"
           "function collect(d){if(!d||!d.body)return;add(d.title);"
           "d.querySelectorAll('input[type=button],input[type=submit]').forEach(function(e){add(e.value);});"
           "d.querySelectorAll('option').forEach(function(e){add(e.text);});"
           "var "
           "w=d.createTreeWalker(d.body,NodeFilter.SHOW_TEXT);while(w.nextNode())add(w.currentNode.nodeValue)"
           ";"
           "d.querySelectorAll('iframe,frame').forEach(function(f){try{collect(f.contentDocument);}catch(e){}"
           "});}"
           "collect(document);return t;})()";
}

QStringList CutTexts(QWidget* window)
{
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>())
    {
        if (!w->isVisible() || w->window() != window)
            continue;
        QString text;
        int room = w->width();
        if (auto* label = qobject_cast<QLabel*>(w))
        {
            if (label->wordWrap() || label->textFormat() == Qt::RichText || !label->pixmap().isNull())
                continue;
            text = label->text();
            room -= 2 * label->frameWidth() + 2 * label->margin() + qMax(0, label->indent());
        }
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
        {
            text = button->text();
            if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
                room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                        w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
            else
                room -= 6;
        }
        else if (auto* group = qobject_cast<QGroupBox*>(w))
        {
            text = group->title();
            room -= 16;
        }
        else
            continue;
        text = Plain(text.split('\n').first());
        if (text.isEmpty())
            continue;
        const int need = w->fontMetrics().horizontalAdvance(text);
        if (need > room)
            cut << QString("\"%1\" needs %2 px, has %3").arg(text).arg(need).arg(room);
    }
    return cut;
}

QStringList WidgetTexts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget* w : window->findChildren<QWidget*>())
    {
        if (!w->isVisible() || w->window() != window)
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text() << button->toolTip();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
    }
    QStringList plain;
    for (const QString& text : texts)
        if (!Plain(text).isEmpty())
            plain << Plain(text);
    return plain;
}

TextTables::TextTables(const QString& ownTable, const QString& otherTable)
    : TextTables(QStringList{ownTable}, QStringList{otherTable})
{
}

TextTables::TextTables(const QStringList& ownTables, const QStringList& otherTables)
{
    for (const QString& table : ownTables)
        m_own.unite(ReadTable(table));
    for (const QString& table : otherTables)
        m_other.unite(ReadTable(table));
}

bool TextTables::IsForeign(const QString& text) const
{
    const QString plain = Plain(text);
    for (const char* word : kLoanWords)
        if (plain == QLatin1String(word))
            return false;
    return Comparable(plain) && m_other.contains(plain) && !m_own.contains(plain);
}

RoadReport::RoadReport(const QString& path) : m_file(path)
{
    QDir().mkpath(QFileInfo(path).path());
    m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
}

void RoadReport::Line(const QString& text)
{
    static const qint64 start = QDateTime::currentMSecsSinceEpoch();
    const QString line =
        QString("[%1] %2\n").arg((QDateTime::currentMSecsSinceEpoch() - start) / 1000.0, 7, 'f', 2).arg(text);
    m_file.write(line.toUtf8());
    m_file.flush();
}

void RoadReport::Fail(const QString& step, const QString& what)
{
    ++m_faults;
    Line("FAULT in " + step + ": " + what);
}

void RoadReport::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    Line(m_faults == 0 ? QString("road: passed") : QString("road: %1 faults").arg(m_faults));
    m_file.close();
}

} // namespace roadwalk
