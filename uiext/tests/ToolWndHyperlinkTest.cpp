// Tool window's visible flag and the hyperlink's caption area.
#include "UiExtTestSupport.h"

#include <uiext/HyperlinkStatic.h>
#include <uiext/ToolWnd.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

namespace
{

TEST(ToolWndTest, StaysMarkedVisibleAfterItIsHiddenOrDeactivated)
{
    CToolWnd tool;
    EXPECT_FALSE(tool.IsVisible());
    ASSERT_TRUE(tool.Create("Tools", CRect(10, 10, 210, 110), nullptr, 7));
    EXPECT_TRUE(tool.IsVisible());
    EXPECT_NE(tool.GetExStyle() & WS_EX_TOOLWINDOW, 0u);
    EXPECT_EQ(tool.GetParent(), nullptr);
    tool.ShowWindow(SW_HIDE);
    tool.SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(tool.IsVisible());
    EXPECT_FALSE(tool.IsWindowVisible());
    tool.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(tool.IsWindowVisible());
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(HyperlinkTest, OnlyAClickOnTheCentredCaptionOpensTheAddress)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 60), nullptr, 0));
    CStatic text;
    ASSERT_TRUE(text.Create("Home", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(0, 0, 300, 20), &parent, 9));
    CHyperlinkStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(9, &parent));
    EXPECT_NE(link.GetStyle() & SS_NOTIFY, 0u);
    EXPECT_EQ(link.GetCaption(), CString("Home"));
    link.SetHyperlink("https://example.invalid/home");
    // The underlined font, and so the caption's size, exist from the first paint on.
    ASSERT_TRUE(PumpUntil([&]() { return link.GetCaptionRect().Width() > 0; }));
    const CRect caption = link.GetCaptionRect();
    ASSERT_GT(caption.Width(), 0);
    EXPECT_NEAR(caption.left + caption.Width() / 2.0, 150, 1);

    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 5));
    EXPECT_TRUE(catcher.opened.isEmpty());
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl("https://example.invalid/home"));
    QDesktopServices::unsetUrlHandler("https");
}

TEST(HyperlinkTest, HoverFollowsThePointerOverTheCaption)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 60), nullptr, 0));
    CStatic text;
    ASSERT_TRUE(text.Create("Home", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(0, 0, 300, 20), &parent, 9));
    CHyperlinkStatic link;
    ASSERT_TRUE(link.SubclassDlgItem(9, &parent));
    // The underlined font, and so the caption's size, exist from the first paint on.
    ASSERT_TRUE(PumpUntil([&]() { return link.GetCaptionRect().Width() > 0; }));
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 5)); // starts leave tracking only
    EXPECT_FALSE(link.IsHovering());
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 5));
    EXPECT_TRUE(link.IsHovering());
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 5));
    EXPECT_FALSE(link.IsHovering());
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 5));
    link.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(link.IsHovering());
}

} // namespace

#include "ToolWndHyperlinkTest.moc"
