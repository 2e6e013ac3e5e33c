// The multi-line edit over the toolkit's plain text editor.
#include "MultiLineEdit.h"

#include <QPlainTextEdit>
#include <QScrollBar>

namespace
{

QString Shown(const char* text)
{
    QString shown = QString::fromUtf8(text ? text : "");
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.remove(QLatin1Char('\r'));
    return shown;
}

void ScrollToEnd(QPlainTextEdit* edit)
{
    edit->moveCursor(QTextCursor::End);
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
}

} // namespace

QWidget* CreateMultiLineEditWidget(DWORD style, QWidget* parent)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setReadOnly((style & ES_READONLY) != 0);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    return edit;
}

bool ApplyMultiLineEditStyle(QWidget* widget, DWORD style)
{
    auto* edit = qobject_cast<QPlainTextEdit*>(widget);
    if (edit)
        edit->setReadOnly((style & ES_READONLY) != 0);
    return edit != nullptr;
}

BOOL CMultiLineEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("Edit", nullptr, style | ES_MULTILINE, rect, parent, id);
}

void CMultiLineEdit::SetText(const char* text)
{
    if (auto* edit = qobject_cast<QPlainTextEdit*>(GetWidget()))
    {
        edit->setPlainText(Shown(text));
        ScrollToEnd(edit);
    }
}

CString CMultiLineEdit::GetText() const
{
    auto* edit = qobject_cast<QPlainTextEdit*>(GetWidget());
    if (!edit)
        return CString();
    QString text = edit->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return CString(text.toUtf8().constData());
}

void CMultiLineEdit::AppendText(const char* text)
{
    if (auto* edit = qobject_cast<QPlainTextEdit*>(GetWidget()))
    {
        edit->moveCursor(QTextCursor::End);
        edit->insertPlainText(Shown(text));
        ScrollToEnd(edit);
    }
}

int CMultiLineEdit::GetLineCount() const
{
    auto* edit = qobject_cast<QPlainTextEdit*>(GetWidget());
    return edit ? edit->blockCount() : 0;
}

bool CMultiLineEdit::IsEndVisible() const
{
    auto* edit = qobject_cast<QPlainTextEdit*>(GetWidget());
    return edit && edit->verticalScrollBar()->value() == edit->verticalScrollBar()->maximum();
}
