// The mouse wheel and context-menu requests reach the window as messages.
#include <ui/Ui.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace
{

class InputWnd : public CWnd
{
public:
    std::vector<int> wheelDeltas;
    std::vector<CPoint> menuPoints;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEWHEEL)
        {
            wheelDeltas.push_back(GET_WHEEL_DELTA_WPARAM(wParam));
            return 1;
        }
        if (message == WM_CONTEXTMENU)
        {
            menuPoints.emplace_back(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(WheelAndContextMenuTest, WheelCarriesItsDelta)
{
    InputWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    for (const int delta : {-WHEEL_DELTA, 2 * WHEEL_DELTA})
    {
        QWheelEvent wheel(QPointF(5, 5), QPointF(15, 15), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(wnd.GetWidget(), &wheel);
    }
    EXPECT_EQ(wnd.wheelDeltas, (std::vector<int>{-WHEEL_DELTA, 2 * WHEEL_DELTA}));
}

TEST(WheelAndContextMenuTest, ContextMenuCarriesTheScreenPoint)
{
    InputWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, QPoint(3, 4), QPoint(33, 44));
    QApplication::sendEvent(wnd.GetWidget(), &mouse);
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(wnd.GetWidget(), &keyboard);
    ASSERT_EQ(wnd.menuPoints.size(), 2u);
    EXPECT_EQ(wnd.menuPoints[0], CPoint(33, 44));
    EXPECT_EQ(wnd.menuPoints[1], CPoint(-1, -1));
}
