// The main dialog on a copy of the sample data, shown offscreen in the real page engine, with
// message boxes and file boxes answered by sinks.
#pragma once

#include "ManagerTestSupport.h"
#include "PageComponents.h"

#include <Tarveskon/TarveskonDlg.h>
#include <Tarveskon/TvskMessages.h>
#include <Tarveskon/TvskStrings.h>

#include <testing/WaitUntil.h>
#include <ui/App.h>
#include <ui/FileDialog.h>
#include <ui/MessageBox.h>

#include <web/engine/WebBrowser.h>

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tvsk::testing
{

class AnsweredBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text.str());
        types.push_back(type);
        if (answers.empty())
            return DefaultMessageBoxAnswer(type);
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> texts;
    std::vector<UINT> types;
    std::deque<int> answers;
};

class AnsweredFiles : public CFileDialogSink
{
public:
    INT_PTR Show(CFileDialog& dialog) override
    {
        if (paths.empty())
            return IDCANCEL;
        dialog.SetResult(paths.front().c_str(), 1);
        paths.pop_front();
        return IDOK;
    }
    std::deque<std::string> paths;
};

class DialogFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetProfile();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); // S_FALSE when a drive chain started it
        PreparePageComponents();
        RegisterTvskStrings();
        AfxGetApp()->LoadStdProfileSettings(8);
        AfxSetMessageBoxSink(&boxes);
        AfxSetFileDialogSink(&files);
        BeforeDialog();
        dialog = std::make_unique<CTarveskonDlg>(folder.Dir().c_str());
        AfxGetApp()->m_pMainWnd = dialog.get();
        ASSERT_TRUE(dialog->Create(IDD_TARVESKON_DIALOG));
        dialog->ShowWindow(SW_SHOW);
        ASSERT_TRUE(Shows(dialog->MainPageWnd(), "Common/MainPage.htm"));
        ASSERT_TRUE(Shows(dialog->StatusPageWnd(), "Common/Status.htm"));
    }
    void TearDown() override
    {
        if (dialog && dialog->GetSafeHwnd())
            dialog->DestroyWindow();
        AfxGetApp()->m_pMainWnd = nullptr;
        dialog.reset();
        AfxSetMessageBoxSink(nullptr);
        AfxSetFileDialogSink(nullptr);
        CoUninitialize();
    }
    virtual void BeforeDialog() {}

    bool Shows(CHtmlWnd& wnd, const std::string& page)
    {
        const std::string expected = folder.Dir() + "/" + page;
        return WaitUntil(
            [&]
            {
                const std::string url = wnd.GetLocationURL().str();
                return url.size() >= expected.size() &&
                       url.compare(url.size() - expected.size(), expected.size(), expected) == 0 &&
                       !wnd.GetBusy() && wnd.GetReadyState() == 4;
            });
    }
    void OpenSample(const char* session)
    {
        files.paths.push_back(folder.Path(session));
        dialog->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    }
    // The script's result in the window's page, as text.
    static QString Script(CHtmlWnd& wnd, const QString& script)
    {
        auto result = std::make_shared<std::optional<QString>>();
        wnd.Browser()->View()->page()->runJavaScript(script,
                                                     [result](const QVariant& v) { *result = v.toString(); });
        WaitUntil([&] { return result->has_value(); });
        return result->value_or(QString());
    }
    // A text field's whole text, else the control's value as text.
    std::string Value(CHtmlDataManager& html, const char* name)
    {
        CString text;
        if (html.ControlType(name) != HTMLCTRL_TEXT || !html.GetRawText(name, text))
            html.GetText(name, text);
        return text.str();
    }
    // The picture an image element shows.
    static std::string Picture(CHtmlWnd& wnd, const char* name)
    {
        const QString src = Script(wnd, QString("document.getElementsByName('%1')[1].src").arg(name));
        return src.section('/', -1).toStdString();
    }

    ProgramFolder folder;
    AnsweredBoxes boxes;
    AnsweredFiles files;
    std::unique_ptr<CTarveskonDlg> dialog;
};

} // namespace tvsk::testing
