// A text view of some kind in an offscreen window, with its buffer, the instruction-list colouring
// and a message-box sink that records.
#pragma once

#include <TvskLumoPlc/textview/CrystalTextView.h>

#include <testing/TestApplication.h>
#include <ui/Ui.h>

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

class RecordingBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        texts.push_back(text);
        return IDOK;
    }
    std::vector<CString> texts;
};

template <class View> class TextViewFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousSink = AfxSetMessageBoxSink(&m_boxes);
        ASSERT_TRUE(
            m_host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 420, 320), nullptr, 0));
        ASSERT_TRUE(m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_host, 1,
                                  nullptr));
        LOGFONT font;
        CopyTextCut(font.lfFaceName, "Courier");
        font.lfHeight = -13;
        m_view.SetFont(font);
        m_view.SetSyntaxParser(&m_parser);
        m_host.ShowWindow(SW_SHOW);
    }

    void TearDown() override
    {
        m_view.DestroyWindow();
        m_host.DestroyWindow();
        AfxSetMessageBoxSink(m_previousSink);
    }

    void Load(std::string_view text, int style)
    {
        m_buffer.LoadString(text, style);
        m_view.AttachToBuffer(&m_buffer);
    }

    std::pair<CPoint, CPoint> Selection() const
    {
        CPoint start;
        CPoint end;
        m_view.GetSelection(start, end);
        return {start, end};
    }

    QImage Render() { return m_view.GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Whether some pixel in the rectangle is near the colour (text is smoothed at its edges).
    static bool HasPixel(const QImage& image, const CRect& rect, const QColor& colour)
    {
        for (int y = std::max<int>(0, rect.top); y < std::min<int>(image.height(), rect.bottom); ++y)
            for (int x = std::max<int>(0, rect.left); x < std::min<int>(image.width(), rect.right); ++x)
            {
                const QColor pixel = image.pixelColor(x, y);
                if (std::abs(pixel.red() - colour.red()) < 40 &&
                    std::abs(pixel.green() - colour.green()) < 40 &&
                    std::abs(pixel.blue() - colour.blue()) < 40)
                    return true;
            }
        return false;
    }

    RecordingBoxes m_boxes;
    CMessageBoxSink* m_previousSink = nullptr;
    CWnd m_host;
    View m_view;
    CCrystalTextBuffer m_buffer;
    CIlSyntaxParser m_parser;
};
