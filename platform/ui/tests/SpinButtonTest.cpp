#include <ui/Dialog.h>
#include <ui/SpinButtonCtrl.h>

#include <gtest/gtest.h>

namespace
{
// A parent that records the up-down notifications and refuses them when told.
class CSpinParent : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
        {
            const auto* notify = reinterpret_cast<const NMUPDOWN*>(lParam);
            if (notify->hdr.code == UDN_DELTAPOS)
            {
                deltas.push_back(notify->iDelta);
                return refuse ? 1 : 0;
            }
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<int> deltas;
    bool refuse = false;
};
} // namespace

TEST(SpinButtonTest, ArrowsTellTheParentWhichMayKeepThePosition)
{
    CSpinParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 16, 24), &parent, 77));
    spin.SetRange32(0, 3);
    spin.Step(1);
    spin.Step(1);
    EXPECT_EQ(spin.GetPos32(), 2);
    parent.refuse = true;
    spin.Step(-1);
    EXPECT_EQ(spin.GetPos32(), 2);
    parent.refuse = false;
    for (int i = 0; i < 5; ++i)
        spin.Step(1);
    EXPECT_EQ(spin.GetPos32(), 3);
    EXPECT_EQ(parent.deltas.size(), 8u);
    EXPECT_EQ(parent.deltas[2], -1);
}
