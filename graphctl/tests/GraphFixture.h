// A graph control with its window in a top-level window, drawn offscreen.
#pragma once

#include "EventRecorder.h"

#include <graphctl/ZoGraphCtl4Window.h>

#include <testing/WaitUntil.h>

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

class GraphFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        ASSERT_TRUE(m_frame.CreateEx(0, "", "graph", WS_OVERLAPPED, CRect(0, 0, 400, 300), nullptr, 0));
        m_frame.ShowWindow(SW_SHOW);
        m_control = ComPtr<CZoGraphCtl4Window>(new CZoGraphCtl4Window);
        CWnd* window = nullptr;
        ASSERT_EQ(m_control->CreateWindowIn(&m_frame, CRect(0, 0, 400, 300), &window), S_OK);
        ComPtr<IConnectionPoint> point;
        m_control->FindConnectionPoint(DIID__IZoGraphCtl4Events, point.Receive());
        m_events = ComPtr<EventRecorder>(new EventRecorder);
        point->Advise(static_cast<IDispatch*>(m_events.Get()), &m_cookie);
    }
    void TearDown() override
    {
        m_control.Reset();
        m_frame.DestroyWindow();
        CoUninitialize();
    }

    CZoGraphCtl4Window& Control() { return *m_control.Get(); }
    GraphWnd& Wnd() { return *m_control->Window(); }
    QWidget* Widget() { return Wnd().GetWidget(); }
    const CRect& Graph() { return Control().Geometry().graph; }

    // A trace of the values, sample period 1, shown with the given range.
    CTrack4* AddTrace(const char* name, const std::vector<double>& values, double min, double max)
    {
        CTrack4* track = Control().NewTrack(name);
        track->SetDim(static_cast<long>(std::max<size_t>(values.size(), 1)));
        std::vector<double> copy = values;
        track->AddSamples(static_cast<LONG>(copy.size()), copy.data(), nullptr);
        track->SetDisplayRange(min, max);
        return track;
    }

    static int CountColour(const QImage& image, const CRect& area, COLORREF colour)
    {
        const QRgb wanted = ToQColor(colour).rgb();
        int count = 0;
        for (int y = std::max(0, static_cast<int>(area.top));
             y < std::min(image.height(), static_cast<int>(area.bottom)); ++y)
            for (int x = std::max(0, static_cast<int>(area.left));
                 x < std::min(image.width(), static_cast<int>(area.right)); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF))
                    ++count;
        return count;
    }

    void Drag(QWidget* widget, QPoint from, QPoint to)
    {
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, (from + to) / 2);
        QTest::mouseMove(widget, to);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
    }

    CWnd m_frame;
    ComPtr<CZoGraphCtl4Window> m_control;
    ComPtr<EventRecorder> m_events;
    DWORD m_cookie = 0;
};
