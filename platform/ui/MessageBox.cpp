// The desktop message box and the sink switch.
#include "MessageBox.h"
#include "Desktop.h"

#include "App.h"
#include "Wnd.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <cstdio>

namespace
{

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & MB_ICONMASK)
    {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSpec
{
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

size_t DefaultIndex(UINT type, size_t count)
{
    const size_t index =
        (type & MB_DEFMASK) == MB_DEFBUTTON3 ? 2 : ((type & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : 0);
    return index < count ? index : 0;
}

class DesktopMessageBoxSink : public CMessageBoxSink
{
public:
    int Show(CWnd* owner, const CString& text, const CString& caption, UINT type) override
    {
        // Without a display a box would block for good: the text goes to the error stream and
        // the default button answers.
        if (!tvsk::ui::CanShowModalBoxes())
        {
            std::fprintf(stderr, "%s: %s\n", caption.GetString(), text.GetString());
            return DefaultMessageBoxAnswer(type);
        }
        QWidget* parent =
            owner && owner->GetWidget() ? owner->GetWidget()->window() : QApplication::activeWindow();
        QMessageBox box(IconOf(type), QString::fromUtf8(caption.GetString()),
                        QString::fromUtf8(text.GetString()), QMessageBox::NoButton, parent);
        const std::vector<ButtonSpec> buttons = ButtonsOf(type);
        for (const ButtonSpec& choice : buttons)
            box.addButton(choice.button);
        box.setDefaultButton(buttons[DefaultIndex(type, buttons.size())].button);
        const int pressed = box.exec();
        for (const ButtonSpec& choice : buttons)
            if (choice.button == pressed)
                return choice.answer;
        // Closed by the frame: the platform answers Cancel where there is one, else the default.
        for (const ButtonSpec& choice : buttons)
            if (choice.answer == IDCANCEL)
                return IDCANCEL;
        return DefaultMessageBoxAnswer(type);
    }
};

DesktopMessageBoxSink g_desktopSink;
CMessageBoxSink* g_sink = &g_desktopSink;

} // namespace

CMessageBoxSink* AfxSetMessageBoxSink(CMessageBoxSink* sink)
{
    CMessageBoxSink* previous = g_sink;
    g_sink = sink ? sink : &g_desktopSink;
    return previous == &g_desktopSink ? nullptr : previous;
}

CMessageBoxSink* AfxGetMessageBoxSink()
{
    return g_sink;
}

int DefaultMessageBoxAnswer(UINT type)
{
    const std::vector<ButtonSpec> buttons = ButtonsOf(type);
    return buttons[DefaultIndex(type, buttons.size())].answer;
}

int AfxShowMessageBox(CWnd* owner, const char* text, const char* caption, UINT type)
{
    CString title = caption ? CString(caption) : CString();
    if (!caption)
    {
        if (CWinApp* app = AfxGetApp())
            title = app->m_pszAppName;
    }
    return g_sink->Show(owner, CString(text), title, type);
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    CWinApp* app = AfxGetApp();
    CWnd* owner = CWnd::GetFocus();
    if (!owner && app)
        owner = app->m_pMainWnd;
    return AfxShowMessageBox(owner ? owner->GetTopLevelParent() : nullptr, text, nullptr, type);
}

int MessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    return AfxShowMessageBox(owner, text, caption, type);
}
