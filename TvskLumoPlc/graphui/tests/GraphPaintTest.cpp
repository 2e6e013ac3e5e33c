// Painted diagrams on off-screen images: colours by state, junction sizes, pins, grid, bitmaps.
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>
#include <TvskLumoPlc/graphui/FontTextMetrics.h>
#include <TvskLumoPlc/graphui/GraphBitmap.h>
#include <TvskLumoPlc/graphui/GraphPainter.h>

#include <QImage>

namespace
{
class PaintTest : public GraphFixture
{
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        surface.CreateBitmap(400, 200);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&surface);
        dc.FillSolidRect(0, 0, 400, 200, RGB(255, 255, 255));
    }

    COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
    int Count(COLORREF colour, const CRect& area)
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour;
        return count;
    }

    CBitmap surface;
    CDC dc;
};
} // namespace

TEST_F(PaintTest, AContactsBackgroundShowsItsStrongestState)
{
    auto* contact = Create<CGraphLadderElem>(models.Contact("1", "1.0", 2, 4));
    CGraphPainter painter(&dc, manager, nullptr);
    const CPoint inside = contact->GetBodyRectInNetwork().CenterPoint() + CSize(-4, -5);
    auto painted = [&]
    {
        painter.Draw(contact);
        return At(inside.x, inside.y);
    };
    manager.SetColor(BkgndGrid, RGB(250, 250, 240));
    EXPECT_EQ(painted(), RGB(250, 250, 240));
    contact->Select(true);
    EXPECT_EQ(painted(), manager.GetColor(SelectionColor));
    contact->SetActive(true);
    EXPECT_EQ(painted(), manager.GetColor(ActiveColor));
    contact->SetError(true);
    EXPECT_EQ(painted(), manager.GetColor(ErrorColor));
    contact->SetValue(true, 1);
    EXPECT_EQ(painted(), manager.GetColor(TriggerColor));
}

TEST_F(PaintTest, AJunctionIsBiggerWhenSelected)
{
    auto* cross = new CCrossConnection;
    manager.AddCross(network, cross, true);
    cross->MoveTo(10, 5);
    cross->Validate();
    manager.SetColor(ErrorColor, RGB(10, 20, 30));
    CGraphPainter painter(&dc, manager, nullptr);
    painter.Draw(cross);
    const CRect around(100, 40, 140, 80);
    const int small = Count(RGB(10, 20, 30), around);
    EXPECT_GT(small, 0);
    EXPECT_EQ(At(120 + 12 / 6 + 1, 60), RGB(255, 255, 255));

    dc.FillSolidRect(0, 0, 400, 200, RGB(255, 255, 255));
    cross->Select(true);
    painter.Draw(cross);
    const int big = Count(RGB(10, 20, 30), around);
    EXPECT_GT(big, small * 2);
    EXPECT_NE(At(120 + 12 / 3 - 1, 60), RGB(255, 255, 255));
    EXPECT_EQ(At(120 + 12 / 3 + 2, 60), RGB(255, 255, 255));
}

TEST_F(PaintTest, AWireOnTwoPinsOfOneElementIsDrawnInTheErrorColour)
{
    auto* contact = Create<CGraphLadderElem>(models.Contact("1", "1.0", 2, 4));
    auto* wire = new CConnection;
    manager.AddWire(network, wire, true);
    ASSERT_TRUE(wire->Connect(contact->GetPin(1), contact->GetPin(0), true));
    manager.SetColor(ErrorColor, RGB(200, 0, 10));
    CGraphPainter painter(&dc, manager, nullptr);
    painter.Draw(wire);
    EXPECT_EQ(At(30, 48), RGB(200, 0, 10));
}

TEST_F(PaintTest, ASelectedWireInErrorIsDottedInTheSelectedConnectionColour)
{
    auto* contact = Create<CGraphLadderElem>(models.Contact("1", "1.0", 2, 4));
    auto* wire = new CConnection;
    manager.AddWire(network, wire, true);
    ASSERT_TRUE(wire->Connect(contact->GetPin(1), contact->GetPin(0), true));
    ASSERT_TRUE(wire->IsError());
    manager.SetColor(SelConnectColor, RGB(0, 10, 220));
    wire->Select(true);
    CGraphPainter painter(&dc, manager, nullptr);
    painter.Draw(wire);
    // The row of the wire from the input pin to the output pin: dots with gaps between them.
    const CRect row(25, 48, 47, 49);
    const int dots = Count(RGB(0, 10, 220), row);
    EXPECT_GE(dots, 4);
    EXPECT_GE(Count(RGB(255, 255, 255), row), 4);
    EXPECT_EQ(dots + Count(RGB(255, 255, 255), row), row.Width());
    // Validated again while selected, it stays so.
    wire->Validate();
    EXPECT_EQ(wire->GetDrawColor(), RGB(0, 10, 220));
    EXPECT_TRUE(wire->IsDotted());
    // Deselected, it is an error again.
    wire->Select(false);
    EXPECT_EQ(wire->GetDrawColor(), manager.GetColor(ErrorColor));
    EXPECT_FALSE(wire->IsDotted());
}

TEST_F(PaintTest, AJunctionOrPinWithoutOwnerIsReportedAndNotDrawn)
{
    CCrossConnection cross;
    cross.MoveTo(10, 5);
    CGraphPin pin(nullptr, "IN", CGraphPin::SIDE_INPUT, false);
    pin.SetPinPosition(10, 5);
    CGraphPainter painter(&dc, manager, nullptr);
    testing::internal::CaptureStderr();
    painter.Draw(&cross);
    painter.Draw(&pin);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("ProgramError: CrossConnection("), std::string::npos) << errors;
    EXPECT_NE(errors.find("ProgramError: GraphPin("), std::string::npos) << errors;
    EXPECT_EQ(Count(RGB(255, 255, 255), CRect(0, 0, 400, 200)), 400 * 200);
}

TEST_F(PaintTest, AVariablesArrowHasARaisedEdgeInTheButtonColours)
{
    CGraphBlock* variable = Create(models.Variable("5", "speed", 12, 6, true));
    ASSERT_NE(variable, nullptr);
    manager.SetColor(ObjColor, RGB(200, 180, 160));
    manager.SetColor(BkgndGrid, RGB(240, 240, 250));
    CGraphPainter painter(&dc, manager, nullptr);
    painter.Draw(variable);
    const CRect box = variable->GetBodyRectInNetwork();
    const int x = box.left + box.Width() / 3;
    EXPECT_EQ(At(x, box.top), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(box.left, box.CenterPoint().y), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(x, box.bottom), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(box.left + 3, box.top + 3), RGB(200, 180, 160)) << "filled inside";
}

TEST_F(PaintTest, ANegatedPinIsASmallCircle)
{
    CPlcLDContact* model = models.Contact("1", "a", 10, 10);
    model->m_InPin.m_bNegated = true;
    auto* contact = Create<CGraphLadderElem>(model);
    CGraphPainter painter(&dc, manager, nullptr);
    painter.DrawPin(contact->GetPin(0));
    painter.DrawPin(contact->GetPin(1));
    // The plain output pin is a line on its row; the negated input an ellipse above and below it.
    EXPECT_EQ(At(12 * 12 - 4, 120), RGB(0, 0, 0));
    EXPECT_EQ(At(123, 120), RGB(255, 255, 255));
    EXPECT_GT(Count(RGB(0, 0, 0), CRect(120, 116, 127, 119)), 0);
    EXPECT_GT(Count(RGB(0, 0, 0), CRect(120, 121, 127, 125)), 0);
}

TEST_F(PaintTest, TheGridPatternHasADotAtEachCellCorner)
{
    manager.SetColor(GridColor, RGB(1, 2, 3));
    manager.SetColor(BkgndGrid, RGB(250, 250, 250));
    CGraphBitmap pattern;
    ASSERT_TRUE(BuildGridBrush(manager, pattern));
    EXPECT_EQ(pattern.GetSize(), CSize(24, 24));
    const QImage& image = pattern.GetBitmap().GetImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(12, 0), QPoint(12, 12), QPoint(0, 12)})
        EXPECT_EQ(image.pixel(corner) & 0xFFFFFF, qRgb(1, 2, 3) & 0xFFFFFF)
            << corner.x() << "," << corner.y();
    EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, qRgb(250, 250, 250) & 0xFFFFFF);
}

TEST_F(PaintTest, ATransparentBitmapLeavesItsBackgroundOut)
{
    CGraphBitmap picture;
    ASSERT_TRUE(DrawOperatorPicture(8, 24, picture));
    dc.FillSolidRect(0, 0, 400, 200, RGB(0, 0, 255));
    ASSERT_TRUE(picture.DrawTransparent(&dc, 10, 10, RGB(255, 255, 255)));
    EXPECT_EQ(At(11, 11), RGB(0, 0, 255));
    EXPECT_GT(Count(RGB(0, 0, 0), CRect(10, 10, 34, 34)), 5);
    EXPECT_EQ(Count(RGB(255, 255, 255), CRect(10, 10, 34, 34)), 0);
    EXPECT_FALSE(DrawOperatorPicture(-1, 24, picture));
}

TEST_F(PaintTest, EveryImportedElementHasABodyPicture)
{
    CModelFactory more;
    Create(models.Block<CPlcFBDFunction>("3", "ADD", 10, 5, {"EN", "0", "1"}, {"ENO", "2"}));
    Create(models.Block<CPlcFBDOperator>("4", "ADD", 20, 5, {"0", "1"}, {"2"}));
    Create(models.Variable("5", "x", 5, 8, true));
    Create(models.Constant("6", "12", 5, 9));
    manager.CreateComment(network, 1, 1, "note");
    CFontTextMetrics fonts;
    manager.SetTextMetrics(std::make_unique<CFontTextMetrics>());
    for (CGraphBlock* element : *manager.GetElements(network))
    {
        element->Rebuild();
        CGraphBitmap body;
        EXPECT_TRUE(CGraphPainter::PaintBody(element, manager, &fonts, body)) << element->GetName();
        EXPECT_EQ(body.GetSize(), element->GetWindowRect().Size());
    }
}

// The constant being edited is drawn over the elements listed after it.
TEST_F(PaintTest, TheConstantBeingEditedIsDrawnLast)
{
    auto* constant = Create<CGraphConst>(models.Constant("1", "1234567890", 12, 4));
    auto* contact = Create<CGraphLadderElem>(models.Contact("2", "1.0", 8, 4));
    ASSERT_TRUE(constant && contact);
    manager.SetColor(BkgndGrid, RGB(250, 250, 240));
    contact->SetActive(true); // the contact's body in the active colour
    CRect overlap;
    ASSERT_TRUE(overlap.IntersectRect(constant->GetBodyRectInNetwork(), contact->GetBodyRectInNetwork()));
    CGraphPainter painter(&dc, manager, nullptr);
    auto paintedAt = [&](const CPoint& point)
    {
        dc.FillSolidRect(0, 0, 400, 200, RGB(255, 255, 255));
        painter.DrawNetwork(network);
        return At(point.x, point.y);
    };
    // A point of the overlap the contact paints in its active colour.
    CPoint point(-1, -1);
    paintedAt(overlap.TopLeft());
    for (int y = overlap.top; y < overlap.bottom && point.x < 0; ++y)
        for (int x = overlap.left; x < overlap.right && point.x < 0; ++x)
            if (At(x, y) == manager.GetColor(ActiveColor))
                point = CPoint(x, y);
    ASSERT_GE(point.x, 0);
    constant->BeginEdit();
    EXPECT_NE(paintedAt(point), manager.GetColor(ActiveColor));
    constant->CancelEdit();
    EXPECT_EQ(paintedAt(point), manager.GetColor(ActiveColor));
}

// A vertical input pin reaches down from its point, a vertical output pin up, and their hit strips
// follow.
TEST_F(PaintTest, AVerticalPinIsDrawnAndHitAlongItsColumn)
{
    auto* contact = Create<CGraphLadderElem>(models.Contact("1", "1.0", 4, 6));
    CGraphPin* in = contact->GetPin(0);
    CGraphPin* out = contact->GetPin(1);
    in->SetOrientation(2);
    out->SetOrientation(2);
    EXPECT_FALSE(in->IsHorizontal());
    const int sx = manager.GetStepX();
    const int sy = manager.GetStepY();
    CGraphPainter painter(&dc, manager, nullptr);
    painter.DrawPin(in);
    painter.DrawPin(out);
    const CPoint a(in->GetPosition().x * sx, in->GetPosition().y * sy);
    const CPoint b(out->GetPosition().x * sx, out->GetPosition().y * sy);
    EXPECT_EQ(At(a.x, a.y + sy / 4), RGB(0, 0, 0)) << "below the input";
    EXPECT_EQ(At(a.x + sx / 4, a.y), RGB(255, 255, 255)) << "nothing to its right";
    EXPECT_EQ(At(b.x, b.y - 2 - sy / 4), RGB(0, 0, 0)) << "above the output";
    EXPECT_TRUE(in->GetHitRect().PtInRect(CPoint(a.x, a.y + sy / 2)));
    EXPECT_FALSE(in->GetHitRect().PtInRect(CPoint(a.x + sx / 2, a.y)));
    in->SetOrientation(1);
    EXPECT_TRUE(in->GetHitRect().PtInRect(CPoint(a.x + sx / 2, a.y)));
}
