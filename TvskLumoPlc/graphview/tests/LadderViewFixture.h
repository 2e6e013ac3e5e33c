// A ladder view over a ladder document in an offscreen window, and programs generated the way the
// editor generates them.
#pragma once

#include "LadderTestSupport.h"

#include <TvskLumoPlc/graphview/LDView.h>

#include <testing/WaitUntil.h>
#include <ui/Ui.h>

#include <ZoLumoPlcObj/LDLogicDoc.h>

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A window that records the private messages it gets.
class RecordingParent : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> messages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER)
            messages.emplace_back(message, wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class LadderViewFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_gen.SetPluginIntf(&m_ilHost);
        ASSERT_TRUE(
            m_host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 820, 620), nullptr, 0));
        m_doc = new CLDDoc;
        m_doc->m_bAutoDelete = FALSE;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CLDView);
        context.m_pCurrentDoc = m_doc;
        m_view = static_cast<CLDView*>(AfxCreateView(&context, &m_host, CRect(0, 0, 800, 600), 1));
        ASSERT_NE(m_view, nullptr);
        m_host.ShowWindow(SW_SHOW);
    }

    void TearDown() override
    {
        if (m_view)
            m_view->DestroyWindow();
        m_host.DestroyWindow();
        delete m_doc;
    }

    // The generated code of an instruction-list program.
    std::unique_ptr<CPlcFBDCode> GenerateIL(const char* text)
    {
        CLDLogicDoc logic;
        EXPECT_TRUE(m_gen.LoadILSource(text, &logic)) << m_gen.m_nErrCode;
        return std::unique_ptr<CPlcFBDCode>(logic.GenerateLDCode());
    }

    // The drive type's stored program.
    std::unique_ptr<CPlcFBDCode> GenerateStored(const char* parFile)
    {
        CLadderTestHost host;
        EXPECT_TRUE(host.ReadParFile(parFile));
        CLumoPlcCodeGen gen;
        gen.SetPluginIntf(&host);
        CLDLogicDoc logic;
        EXPECT_TRUE(gen.GenerateLogicDoc(&logic));
        return std::unique_ptr<CPlcFBDCode>(logic.GenerateLDCode());
    }

    void Show(std::unique_ptr<CPlcFBDCode> code)
    {
        ASSERT_NE(code, nullptr);
        m_doc->ShowCode(std::move(code));
    }

    CLDManager& Manager() { return *m_doc->GetLDManager(); }
    CNetworkWnd* Network(int i) { return m_view->NetworkAt(i); }

    // The first element of the type whose text is given, in any network.
    CGraphBlock* Element(int type, const char* text)
    {
        for (int i = 0; i < Manager().GetNetworkCount(); ++i)
            for (CGraphBlock* element : *Manager().GetElements(Network(i)))
                if (element->GetType() == type && element->GetName() == text)
                    return element;
        return nullptr;
    }

    QImage Render() { return m_view->GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    RecordingParent m_host;
    CLDDoc* m_doc = nullptr;
    CLDView* m_view = nullptr;
    CLadderTestHost m_ilHost;
    CLumoPlcCodeGen m_gen;
};
