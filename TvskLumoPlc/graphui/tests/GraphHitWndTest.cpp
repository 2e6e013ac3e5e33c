// The hit window over an element: clicks on it reach the target, clicks beside it the network
// window; the constant's editor applies, refuses and cancels.
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/GraphSmallElements.h>
#include <TvskLumoPlc/graphui/GraphHitWnd.h>

#include <testing/WaitUntil.h>

#include <QTest>
#include <QWidget>

namespace
{
class RecordingTarget : public CGraphHitTarget
{
public:
    void OnElementButtonDown(CGraphBlock* element, int x, int y) override
    {
        downOn = element;
        down = CPoint(x, y);
    }
    void OnElementButtonUp(CPoint) override { ++ups; }
    void OnElementDblClk(CGraphBlock*, CPoint) override { ++doubles; }
    void OnElementContextMenu(CGraphBlock*, CPoint) override { ++menus; }
    bool OnElementSetCursor(CGraphBlock*, CGraphPin*) override { return false; }

    CGraphBlock* downOn = nullptr;
    CPoint down;
    int ups = 0;
    int doubles = 0;
    int menus = 0;
};

class NetworkWnd : public CWnd
{
public:
    void OnLButtonDown(UINT, CPoint point) override
    {
        ++clicks;
        last = point;
    }
    int clicks = 0;
    CPoint last;
};

class HitWndTest : public GraphFixture
{
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        ASSERT_TRUE(
            parent.CreateEx(0, nullptr, "network", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
    }

    NetworkWnd parent;
    RecordingTarget target;
};
} // namespace

TEST_F(HitWndTest, ClicksOnTheElementReachTheTargetAndBesideItTheNetwork)
{
    CGraphBlock* contact = Create(models.Contact("1", "a", 10, 5));
    CGraphHitWnd hit;
    ASSERT_TRUE(hit.Create(&target, contact, &parent));
    EXPECT_EQ(hit.GetDlgCtrlID(), 100);
    EXPECT_TRUE(hit.GetExStyle() & WS_EX_TRANSPARENT);
    CRect window;
    hit.GetWindowRect(&window);
    parent.ScreenToClient(&window);
    EXPECT_EQ(window, contact->GetWindowRect());

    const CRect body = contact->GetBodyRect();
    QTest::mouseClick(hit.GetWidget(), Qt::LeftButton, {},
                      QPoint(body.CenterPoint().x, body.CenterPoint().y));
    EXPECT_EQ(target.downOn, contact);
    EXPECT_EQ(target.down, body.CenterPoint());
    EXPECT_EQ(target.ups, 1);

    // Just right of the body, and off the output pin's row.
    const QPoint beside(body.right + 1, 1);
    QTest::mousePress(hit.GetWidget(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(parent.clicks, 1);
    EXPECT_EQ(parent.last,
              CPoint(contact->GetWindowRect().left + beside.x(), contact->GetWindowRect().top + beside.y()));
    QTest::mouseRelease(hit.GetWidget(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(target.ups, 1);
}

TEST_F(HitWndTest, TheConstantsEditorAppliesRefusesAndCancels)
{
    CPlcFBDConst* model = models.Constant("0", "5", 10, 5);
    auto* constant = Create<CGraphConst>(model);
    CGraphHitWnd hit;
    ASSERT_TRUE(hit.Create(&target, constant, &parent));
    ASSERT_TRUE(hit.OpenEditor(nullptr));
    ASSERT_NE(hit.GetEditor(), nullptr);
    EXPECT_EQ(hit.GetEditor()->GetWindowText(), "5");

    hit.GetEditor()->SetWindowText("bad");
    QTest::keyClick(hit.GetEditor()->GetWidget(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([&] { return constant->IsEditing(); }));
    QCoreApplication::processEvents();
    ASSERT_NE(hit.GetEditor(), nullptr);
    EXPECT_EQ(hit.GetEditor()->GetWindowText(), "bad");
    EXPECT_EQ(constant->GetValue(), "5");

    hit.GetEditor()->SetWindowText("7");
    QTest::keyClick(hit.GetEditor()->GetWidget(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([&] { return hit.GetEditor() == nullptr; }));
    EXPECT_EQ(constant->GetValue(), "7");
    EXPECT_EQ(model->m_strValue, "7");

    ASSERT_TRUE(hit.OpenEditor(nullptr));
    hit.GetEditor()->SetWindowText("9");
    QTest::keyClick(hit.GetEditor()->GetWidget(), Qt::Key_Escape);
    ASSERT_TRUE(WaitUntil([&] { return hit.GetEditor() == nullptr; }));
    EXPECT_EQ(constant->GetValue(), "7");
}
