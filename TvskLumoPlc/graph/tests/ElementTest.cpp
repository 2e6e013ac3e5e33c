// Elements built from generated objects: names, pins, layout on the fixed face, kinds, inputs,
// editing, and edited texts reaching the generated objects.
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/GraphExeBlock.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>

using ElementTest = GraphFixture;

TEST_F(ElementTest, ContactsAndCoilsTakeTheirModel)
{
    auto* contact = Create<CGraphContact>(models.Contact("4", "1.2", 3, 5));
    ASSERT_NE(contact, nullptr);
    EXPECT_EQ(contact->GetName(), "1.2");
    EXPECT_EQ(contact->GetNumber(), 4);
    EXPECT_EQ(contact->GetPin(0)->GetPosition(), CPoint(3, 5));
    EXPECT_EQ(contact->GetPin(1)->GetPosition(), CPoint(5, 5));
    EXPECT_EQ(contact->GetPin(0)->GetSide(), CGraphPin::SIDE_INPUT);
    Network().SetNumber(3);
    EXPECT_EQ(contact->GetKey(), "3$CN:4");
    EXPECT_EQ(contact->GetWindowRect(), CRect(36, 54, 60, 66));
    EXPECT_EQ(Network().m_nPlaced, 1);

    CPlcLDCoil* model = models.Coil("7", "", 9, 0);
    model->m_InPin.m_bNegated = true;
    model->m_nKind = CPlcLDCoil::KIND_SET;
    auto* coil = Create<CGraphCoil>(model);
    ASSERT_NE(coil, nullptr);
    EXPECT_EQ(coil->GetName(), "?");
    EXPECT_TRUE(coil->GetPin(0)->IsNegated());
    EXPECT_STREQ(coil->GetKindLetter(), "S");
    EXPECT_EQ(coil->GetKey(), "3$CL:7");
    EXPECT_EQ(coil->GetOverflow(), CSize(0, 1));
    EXPECT_EQ(coil->GetReferencePoint(), CPoint(8, 0));

    // A model of another type is refused.
    CGraphContact wrong;
    wrong.SetOwner(&manager);
    EXPECT_FALSE(wrong.Init(network, model));
}

TEST_F(ElementTest, KindsWrapAndMovesToTheSamePlaceChangeNothing)
{
    auto* contact = Create<CGraphLadderElem>(models.Contact("1", "a", 2, 2));
    auto* coil = Create<CGraphLadderElem>(models.Coil("2", "b", 6, 2));
    for (int k : {1, 2, 3, 0})
        EXPECT_EQ(contact->NextKind(), k);
    for (int k : {1, 2, 3, 4, 5, 0})
        EXPECT_EQ(coil->NextKind(), k);

    const size_t invalidated = Network().m_Invalid.size();
    EXPECT_FALSE(contact->MoveTo(2, 2));
    EXPECT_EQ(Network().m_Invalid.size(), invalidated);
    EXPECT_TRUE(contact->MoveTo(4, 3));
    EXPECT_EQ(contact->GetPin(1)->GetPosition(), CPoint(6, 3));
}

TEST_F(ElementTest, TheContactBackgroundFollowsItsStateInOrder)
{
    auto* contact = Create<CGraphLadderElem>(models.Contact("1", "a", 2, 2));
    EXPECT_EQ(contact->GetBackgroundColor(), manager.GetColor(BkgndGrid));
    contact->Select(true);
    EXPECT_EQ(contact->GetBackgroundColor(), manager.GetColor(SelectionColor));
    contact->SetActive(true);
    EXPECT_EQ(contact->GetBackgroundColor(), manager.GetColor(ActiveColor));
    contact->SetError(true);
    EXPECT_EQ(contact->GetBackgroundColor(), manager.GetColor(ErrorColor));
    contact->SetValue(true, 5);
    EXPECT_EQ(contact->GetBackgroundColor(), manager.GetColor(TriggerColor));
    EXPECT_EQ(contact->GetSymbolColor(), manager.GetColor(ErrorColor));
}

TEST_F(ElementTest, RenumberingSkipsFunctionBlocks)
{
    CGraphBlock* block =
        Create(models.Block<CPlcFBDFunctionBlock>("TON_1", "TON", 5, 5, {"IN", "PT"}, {"Q"}));
    CGraphBlock* variable = Create(models.Variable("9", "x", 2, 5, true));
    CGraphBlock* constant = Create(models.Constant("8", "5", 2, 6));
    ASSERT_TRUE(block && variable && constant);
    manager.GetElements(network)->Renumber();
    EXPECT_EQ(variable->GetNumber(), 0);
    EXPECT_EQ(constant->GetNumber(), 1);
    EXPECT_EQ(block->GetKey(), "1$FB:TON_1");
}

TEST_F(ElementTest, BlocksShowOrHideEnAndEno)
{
    auto* with = Create<CGraphExeBlock>(
        models.Block<CPlcFBDFunctionBlock>("T1", "TON", 10, 4, {"EN", "IN", "PT"}, {"ENO", "Q", "ET"}));
    ASSERT_NE(with, nullptr);
    EXPECT_TRUE(with->HasEnEno());
    EXPECT_EQ(with->GetPinCount(), 4);
    EXPECT_EQ(with->GetEN()->GetPosition(), CPoint(10, 3));
    EXPECT_EQ(with->GetENO()->GetPosition(), CPoint(10 + with->GetWidth(), 3));
    EXPECT_EQ(with->PinByName("IN")->GetPosition(), CPoint(10, 4));
    EXPECT_EQ(with->PinByName("EN"), with->GetEN());
    EXPECT_EQ(with->GetTopLeftPosition(), CPoint(10, 3));
    EXPECT_EQ(with->GetQualifiedPinText(with->PinByName("Q")), "T1.Q");

    auto* without =
        Create<CGraphExeBlock>(models.Block<CPlcFBDFunction>("3", "MAX", 4, 4, {"0", "1"}, {"2"}));
    ASSERT_NE(without, nullptr);
    EXPECT_FALSE(without->HasEnEno());
    ASSERT_NE(without->GetEN(), nullptr);
    EXPECT_EQ(without->PinByName("EN"), nullptr);
    EXPECT_EQ(without->GetEN()->GetKey(), "F:3.EN");
    EXPECT_EQ(without->PinByName("1")->GetKey(), "F:3.1");
}

TEST_F(ElementTest, FunctionsTakeInputsUpToThirtyTwoPins)
{
    std::vector<const char*> inputs;
    static const char* names[] = {"0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",
                                  "10", "11", "12", "13", "14", "15", "16", "17", "18", "19",
                                  "20", "21", "22", "23", "24", "25", "26", "27", "28", "29"};
    inputs.assign(std::begin(names), std::end(names));
    auto* max = Create<CGraphExeBlock>(models.Block<CPlcFBDFunction>("1", "MAX", 4, 4, inputs, {"Q"}));
    ASSERT_EQ(max->GetPinCount(), 31);
    EXPECT_TRUE(max->AddInputs(3));
    EXPECT_EQ(max->GetPinCount(), 32);
    EXPECT_NE(max->PinByName("#I30"), nullptr);
    EXPECT_FALSE(max->AddInputs(1));

    auto* min = Create<CGraphExeBlock>(models.Block<CPlcFBDFunction>("2", "MIN", 4, 40, {"0", "1"}, {"Q"}));
    EXPECT_TRUE(min->AddInputs(2));
    EXPECT_NE(min->PinByName("#I2"), nullptr);
    EXPECT_NE(min->PinByName("#I3"), nullptr);
    EXPECT_FALSE(min->PinByName("#I3")->IsNameShown());
    EXPECT_EQ(min->PinByName("#I3")->GetPosition(), CPoint(4, 43));

    auto* lower = Create<CGraphExeBlock>(models.Block<CPlcFBDFunction>("3", "max", 4, 60, {"0", "1"}, {"Q"}));
    EXPECT_FALSE(lower->HasVariableInputs());
    EXPECT_FALSE(lower->AddInputs(1));
}

TEST_F(ElementTest, RemovingAnInputKeepsTheMinimumAndWiredInputs)
{
    auto* mux =
        Create<CGraphExeBlock>(models.Block<CPlcFBDFunction>("1", "MUX", 4, 4, {"K", "0", "1"}, {"Q"}));
    EXPECT_EQ(mux->GetMinInputs(), 3);
    EXPECT_FALSE(mux->RemoveInput());
    EXPECT_TRUE(mux->AddInputs(1));
    EXPECT_NE(mux->PinByName("I2"), nullptr);
    EXPECT_TRUE(mux->PinByName("I2")->IsNameShown());

    auto* wire = new CConnection;
    manager.AddWire(network, wire, true);
    CGraphBlock* source = Create(models.Variable("5", "x", 1, 7, true));
    ASSERT_TRUE(wire->Connect(source->GetPin(0), mux->PinByName("I2"), true));
    EXPECT_FALSE(mux->RemoveInput());
    EXPECT_NE(mux->PinByName("I2"), nullptr);
    ASSERT_TRUE(manager.RemoveWire(network, wire));
    EXPECT_TRUE(mux->RemoveInput());
    EXPECT_EQ(mux->PinByName("I2"), nullptr);
}

TEST_F(ElementTest, OperatorsAreKnownWithoutCase)
{
    bool variable = true;
    EXPECT_EQ(CGraphOpr::OperatorCode("move", &variable), 0);
    EXPECT_FALSE(variable);
    EXPECT_EQ(CGraphOpr::OperatorCode("lt", &variable), 17);
    EXPECT_TRUE(variable);
    EXPECT_EQ(CGraphOpr::OperatorCode("NOT"), -1);

    auto* add = Create<CGraphOpr>(models.Block<CPlcFBDOperator>("6", "add", 4, 4, {"0", "1"}, {"2"}));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->GetOperatorCode(), 8);
    EXPECT_TRUE(add->AddInputs(2));
    EXPECT_NE(add->PinByName("3"), nullptr);
    EXPECT_NE(add->PinByName("4"), nullptr);
    EXPECT_EQ(add->GetInputCount(), 4);
    EXPECT_EQ(add->GetOutputCount(), 1);
}

TEST_F(ElementTest, AConstantHasAnOutputPinAndABoxOfAtLeastFiftyPixels)
{
    auto* constant = Create<CGraphConst>(models.Constant("2", "5", 10, 3));
    ASSERT_NE(constant, nullptr);
    EXPECT_EQ(constant->GetWindowRect().Width(), 60);
    EXPECT_EQ(constant->GetWindowRect().right, 120);
    ASSERT_NE(constant->GetPin(0), nullptr);
    EXPECT_EQ(constant->GetPin(0)->GetPosition(), CPoint(10, 3));
    EXPECT_EQ(constant->GetPin(0)->GetSide(), CGraphPin::SIDE_OUTPUT);
    EXPECT_EQ(constant->GetPin(0)->GetKey(), "K:2");
    EXPECT_TRUE(constant->MoveTo(12, 3));
    EXPECT_EQ(constant->GetPin(0)->GetPosition(), CPoint(12, 3));
}

TEST_F(ElementTest, EditingAConstantKeepsTheLastAcceptedValue)
{
    CPlcFBDConst* model = models.Constant("0", "5", 10, 3);
    auto* constant = Create<CGraphConst>(model);
    constant->BeginEdit();
    EXPECT_FALSE(constant->ApplyEdit("bad"));
    EXPECT_TRUE(constant->IsEditing());
    EXPECT_EQ(constant->GetEditText(), "bad");
    EXPECT_EQ(constant->GetValue(), "5");
    EXPECT_EQ(model->m_strValue, "5");

    EXPECT_TRUE(constant->ApplyEdit("12"));
    EXPECT_FALSE(constant->IsEditing());
    EXPECT_EQ(constant->GetValue(), "12");
    EXPECT_EQ(model->m_strValue, "12");
    EXPECT_TRUE(constant->ApplyEdit(""));
    EXPECT_EQ(constant->GetValue(), "0");

    constant->BeginEdit();
    constant->SetText("99");
    constant->CancelEdit();
    EXPECT_EQ(constant->GetValue(), "0");
    EXPECT_EQ(model->m_strValue, "0");
}

TEST_F(ElementTest, CommentsAreOneCleanLineOfAtMostAHundredCharacters)
{
    auto* model = models.Make<CPlcFBDComment>("1", 2, 1);
    model->m_strComment = CString('x', 150);
    auto* comment = Create<CGraphComment>(model);
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->GetText().GetLength(), 100);
    comment->SetText("say \"hi\"\r\nthen\ngo\r");
    EXPECT_EQ(comment->GetText(), "say hi then go ");
    EXPECT_EQ(comment->GetLines().GetSize(), 1);
    EXPECT_EQ(model->m_strComment, "say hi then go ");
    EXPECT_EQ(comment->GetKey(), "");
}

TEST_F(ElementTest, EditedTextsReachTheGeneratedObjects)
{
    auto* blockModel = models.Block<CPlcFBDFunctionBlock>("T1", "TON", 10, 4, {"IN"}, {"Q"});
    auto* block = Create(blockModel);
    block->SetText("T2");
    EXPECT_EQ(blockModel->m_strID, "T2");
    EXPECT_EQ(block->GetKey(), "1$FB:T2");

    CPlcLDContact* contactModel = models.Contact("1", "1.0", 2, 2);
    auto* contact = Create<CGraphLadderElem>(contactModel);
    contact->SetText("1.7");
    EXPECT_EQ(contactModel->m_strVarName, "1.7");
    contact->NextKind();
    EXPECT_EQ(contactModel->m_nKind, 1);

    CPlcFBDVariable* variableModel = models.Variable("3", "a", 5, 5, true);
    auto* variable = Create(variableModel);
    variable->SetText("b");
    EXPECT_EQ(variableModel->m_strVarName, "b");

    auto* finModel = models.Block<CPlcFBDFunction>("4", "FIN P40.3", 8, 8, {"EN"}, {"ENO"});
    auto* fin = Create(finModel);
    fin->SetText("NFIN P150.1");
    EXPECT_EQ(fin->GetName(), "NFIN P150.1");
    EXPECT_EQ(finModel->m_strBlockName, "NFIN P150.1");
    EXPECT_EQ(finModel->m_strID, "4") << "the identifier stays";
}

TEST_F(ElementTest, AVariableTurnsItsPinWithItsDirection)
{
    auto* variable = Create<CGraphVar>(models.Variable("3", "abc", 5, 5, true));
    ASSERT_NE(variable, nullptr);
    EXPECT_TRUE(variable->IsRead());
    EXPECT_EQ(variable->GetPin(0)->GetSide(), CGraphPin::SIDE_OUTPUT);
    EXPECT_EQ(variable->GetWindowRect().right, 60);
    EXPECT_EQ(variable->GetPin(0)->GetKey(), "V:3");
    variable->SetRead(false);
    variable->Rebuild();
    EXPECT_EQ(variable->GetPin(0)->GetSide(), CGraphPin::SIDE_INPUT);
    EXPECT_EQ(variable->GetWindowRect().left, 60);
}

TEST_F(ElementTest, PowerRailsStandOnTheirSide)
{
    auto* left = models.Make<CPlcLDPowerRail>("20", 1, 4);
    left->m_nSide = CPlcLDPowerRail::SIDE_LEFT;
    auto* pin = new CPlcFBDPin(CPlcFBDPin::DIR_OUT);
    pin->m_strID = "0";
    pin->m_nY = 4;
    left->m_Pins.AddTail(pin);
    auto* rail = Create<CGraphPwrRail>(left);
    ASSERT_NE(rail, nullptr);
    EXPECT_FALSE(rail->IsRight());
    EXPECT_EQ(rail->GetPin(0)->GetPosition(), CPoint(1, 4));
    EXPECT_EQ(rail->GetPin(0)->GetSide(), CGraphPin::SIDE_OUTPUT);
    EXPECT_EQ(rail->GetHeightPixels(), 12 * 12);
    EXPECT_EQ(rail->GetRows(), 12);
    EXPECT_EQ(rail->GetPin(0)->GetKey(), "PR:20.0");
    EXPECT_FALSE(rail->MoveTo(5, 0));
}

TEST_F(ElementTest, HidingEnAndEnoDetachesTheirWires)
{
    auto* block = Create<CGraphExeBlock>(
        models.Block<CPlcFBDFunction>("2", "ADD", 10, 4, {"EN", "0", "1"}, {"ENO", "2"}));
    CGraphBlock* source = Create(models.Variable("5", "x", 3, 3, true));
    auto* wire = new CConnection;
    manager.AddWire(network, wire, true);
    ASSERT_TRUE(wire->Connect(source->GetPin(0), block->GetEN(), true));
    EXPECT_TRUE(block->IsAnyPinConnected());
    block->ShowEnEno(false);
    EXPECT_FALSE(block->HasEnEno());
    EXPECT_EQ(wire->GetEnd().object, nullptr);
    EXPECT_EQ(block->GetEN()->GetConnection(), nullptr);
    EXPECT_EQ(block->PinByName("EN"), nullptr);
    EXPECT_EQ(block->GetTopLeftPosition(), CPoint(10, 4));
}

TEST_F(ElementTest, HiddenEnAndEnoTakePartInNoLookup)
{
    auto* add = Create<CGraphExeBlock>(models.Block<CPlcFBDOperator>("6", "ADD", 10, 4, {"0", "1"}, {"2"}));
    ASSERT_NE(add, nullptr);
    ASSERT_FALSE(add->HasEnEno());
    const CPoint en = add->GetEN()->GetPosition();
    const CPoint eno = add->GetENO()->GetPosition();
    EXPECT_EQ(add->PinAt(en.x, en.y), nullptr);
    EXPECT_EQ(add->PinAt(eno.x, eno.y), nullptr);
    EXPECT_EQ(add->PinAtPixel(add->GetEN()->GetHitRect().CenterPoint()), nullptr);
    EXPECT_EQ(add->FirstPin(CGraphPin::SIDE_INPUT, false), add->PinByName("0"));
    EXPECT_EQ(add->FirstPin(CGraphPin::SIDE_OUTPUT, false), add->PinByName("2"));
    EXPECT_EQ(add->AllPins().size(), 3u);
    // The hidden pins still move with the element.
    ASSERT_TRUE(add->MoveTo(12, 6));
    EXPECT_EQ(add->GetEN()->GetPosition(), en + CSize(2, 2));
    EXPECT_EQ(add->GetENO()->GetPosition(), eno + CSize(2, 2));
    // Shown, they count.
    add->ShowEnEno(true);
    EXPECT_EQ(add->PinAt(add->GetEN()->GetPosition().x, add->GetEN()->GetPosition().y), add->GetEN());
    EXPECT_EQ(add->FirstPin(CGraphPin::SIDE_INPUT, false), add->GetEN());
    EXPECT_EQ(add->AllPins().size(), 5u);
}

TEST_F(ElementTest, DeletingAnOperatorWithoutEnEnoJoinsItsFirstInputAndOutputWires)
{
    auto* contact = Create<CGraphLadderElem>(models.Contact("1", "1.0", 2, 4));
    auto* add = Create<CGraphExeBlock>(models.Block<CPlcFBDOperator>("6", "ADD", 10, 4, {"0", "1"}, {"2"}));
    ASSERT_TRUE(contact && add);
    const int outX = add->PinByName("2")->GetPosition().x;
    auto* coil = Create<CGraphLadderElem>(models.Coil("2", "2.0", outX + 4, 4));
    ASSERT_NE(coil, nullptr);
    auto wire = [&](CGraphPin* from, CGraphPin* to)
    {
        auto* made = new CConnection;
        EXPECT_TRUE(manager.AddWire(network, made, true));
        EXPECT_TRUE(made->Connect(from, to, true));
        return made;
    };
    CConnection* into = wire(contact->GetPin(1), add->PinByName("0"));
    wire(add->PinByName("2"), coil->GetPin(0));

    manager.ToggleSelection(add, false);
    manager.DeleteSelection();
    EXPECT_EQ(manager.GetElements(network)->GetSize(), 2);
    ASSERT_EQ(manager.GetWires(network)->GetSize(), 1);
    EXPECT_EQ(manager.GetWires(network)->GetAt(0), into);
    EXPECT_EQ(into->GetStart().object, contact->GetPin(1));
    EXPECT_EQ(into->GetEnd().object, coil->GetPin(0));
    EXPECT_EQ(coil->GetPin(0)->GetConnection(), into);
    EXPECT_TRUE(into->IsValid());
}
