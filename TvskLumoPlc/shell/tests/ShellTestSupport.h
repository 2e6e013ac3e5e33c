// What the PLC editor's dialog tests share: a box sink that records and answers, and the main
// dialog run modally with a step done inside its loop.
#pragma once

#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include <ui/MessageBox.h>
#include <ui/Resources.h>

#include <QTimer>

#include <functional>
#include <vector>

// Records every box shown while it lives and answers it with `answer`.
class RecordingBoxes : public CMessageBoxSink
{
public:
    RecordingBoxes() : m_previous(AfxSetMessageBoxSink(this)) {}
    ~RecordingBoxes() override { AfxSetMessageBoxSink(m_previous); }
    RecordingBoxes(const RecordingBoxes&) = delete;
    RecordingBoxes& operator=(const RecordingBoxes&) = delete;
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text);
        types.push_back(type);
        return answer;
    }

    std::vector<CString> texts;
    std::vector<UINT> types;
    int answer = IDOK;

private:
    CMessageBoxSink* m_previous;
};

// Opens the main PLC dialog on the host, does the step inside its modal loop and closes it.
inline void RunPlcDialog(CPluginIntf& host, const std::function<void(CDlgLumoPlc&)>& step)
{
    CResourceModuleScope resources(PlcModule());
    CDlgLumoPlc dialog;
    dialog.m_pPluginIntf = &host;
    QTimer::singleShot(0,
                       [&dialog, step]
                       {
                           step(dialog);
                           dialog.EndDialog(IDCANCEL);
                       });
    dialog.DoModal();
}
