// The desktop input prompt and the sink switch.
#include "InputBox.h"
#include "Desktop.h"

#include "Wnd.h"

#include <QApplication>
#include <QInputDialog>

namespace
{

class DesktopInputBoxSink : public CInputBoxSink
{
public:
    bool Prompt(CWnd* owner, const CString& prompt, const CString& caption, CString& text) override
    {
        if (!tvsk::ui::CanShowModalBoxes())
            return false;
        QWidget* parent =
            owner && owner->GetWidget() ? owner->GetWidget()->window() : QApplication::activeWindow();
        bool ok = false;
        const QString answer = QInputDialog::getText(parent, QString::fromUtf8(caption.GetString()),
                                                     QString::fromUtf8(prompt.GetString()), QLineEdit::Normal,
                                                     QString::fromUtf8(text.GetString()), &ok);
        if (ok)
            text = answer.toUtf8().constData();
        return ok;
    }
};

DesktopInputBoxSink g_desktop;
CInputBoxSink* g_sink = &g_desktop;

} // namespace

CInputBoxSink* AfxSetInputBoxSink(CInputBoxSink* sink)
{
    CInputBoxSink* previous = g_sink;
    g_sink = sink ? sink : &g_desktop;
    return previous;
}

bool AfxInputBox(CWnd* owner, const char* prompt, const char* caption, CString& text)
{
    return g_sink->Prompt(owner, prompt ? prompt : "", caption ? caption : "", text);
}
