// The script manager client over ZoScripter, created by its ProgID from the tests' own registry.
#include <ZoSrcpMng/ScriptManager.h>

#include <ui/MessageBox.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace tvsk::com;

namespace
{

struct IScripted : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("5E2A7C10-9B4D-4F61-8A37-2C1D0E6F7A81");

protected:
    ~IScripted() = default;
};
constexpr IID DIID_ScriptedEvents = MakeGuid("5E2A7C11-9B4D-4F61-8A37-2C1D0E6F7A81");

// The scripter: fires Changed(value).
class Scripted : public DispatchObject<Scripted, IScripted, IConnectionPointContainer, IProvideClassInfo2>
{
public:
    static const DispatchTable<Scripted>& Dispatch()
    {
        static const DispatchTable<Scripted> table(InterfaceDescription(IScripted::Iid, "IScripted"));
        return table;
    }
    static const ClassDescription& Class()
    {
        static const InterfaceDescription events = []
        {
            InterfaceDescription d(DIID_ScriptedEvents, "_ScriptedEvents");
            d.Add({1, "Changed", MemberKind::Method, {VT_I4}});
            return d;
        }();
        static const ClassDescription cls{MakeGuid("5E2A7C12-9B4D-4F61-8A37-2C1D0E6F7A81"), "Scripted",
                                          &Dispatch().Description(), &events};
        return cls;
    }
    HRESULT EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        return FindConnectionPointIn({&m_events}, iid, point);
    }
    HRESULT GetClassInfo(ITypeInfo** info) override
    {
        *info = NewClassTypeInfo(Class());
        return S_OK;
    }
    HRESULT GetGUID(DWORD, GUID* guid) override
    {
        *guid = DIID_ScriptedEvents;
        return S_OK;
    }
    void Changed(LONG value)
    {
        VARIANT arg = MakeVariantI4(value);
        m_events.Fire(1, {&arg, 1});
    }

private:
    ConnectionPoint m_events{*this, DIID_ScriptedEvents};
};

class Errors : public CScriptManagerEvIntf
{
public:
    void OnScriptError(CString text) override { texts.push_back(text.GetString()); }
    std::vector<std::string> texts;
};

class SilentBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        texts.push_back(text.GetString());
        return IDOK;
    }
    std::vector<std::string> texts;
};

class ScriptManagerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + TVSK_ENGINE_MODULE).c_str()), 0);
        ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + TVSK_SCRIPTER_MODULE).c_str()), 0);
    }
    void SetUp() override
    {
        CoInitialize(nullptr);
        previous = AfxSetMessageBoxSink(&boxes);
        scripted = new Scripted;
        scripted->AddRef();
        ASSERT_EQ(manager.Init(&errors), S_OK);
        ASSERT_EQ(manager.AddScripter("Tvsk", scripted), S_OK);
    }
    void TearDown() override
    {
        manager.Stop();
        scripted->Release();
        AfxSetMessageBoxSink(previous);
        CoUninitialize();
    }

    SilentBoxes boxes;
    CMessageBoxSink* previous = nullptr;
    Errors errors;
    Scripted* scripted = nullptr;
    CScriptManager manager;
};

TEST_F(ScriptManagerTest, RunsUntilStoppedAndTheScriptHandlesTheScriptersEvents)
{
    EXPECT_FALSE(manager.IsRunning());
    ASSERT_TRUE(manager.Run("Sub Tvsk_Changed(v)\n If v = 0 Then Err.Raise 6\nEnd Sub\n"));
    EXPECT_TRUE(manager.IsRunning());
    scripted->Changed(1);
    EXPECT_TRUE(errors.texts.empty());
    scripted->Changed(0);
    ASSERT_EQ(errors.texts.size(), 1u);
    EXPECT_EQ(errors.texts[0].find("VBScript runtime error\nOverflow\nLine 2, character "), 0u)
        << errors.texts[0];
    EXPECT_NE(errors.texts[0].find(":\n If v = 0 Then Err.Raise 6"), std::string::npos) << errors.texts[0];
    manager.Stop();
    EXPECT_FALSE(manager.IsRunning());
}

TEST_F(ScriptManagerTest, ACompilationErrorIsOneTextWithLineAndCharacterFromOne)
{
    EXPECT_FALSE(manager.Run("a = 1\nx = \n"));
    EXPECT_FALSE(manager.IsRunning());
    EXPECT_EQ(errors.texts,
              std::vector<std::string>{
                  "VBScript compilation error\nExpected expression\nLine 2, character 5:\nx = "});
}

TEST(ScriptManagerWithoutInit, RefusesEveryCall)
{
    CScriptManager manager;
    EXPECT_EQ(manager.AddScripter("Tvsk", nullptr), E_UNEXPECTED);
    EXPECT_FALSE(manager.Run("x = 1"));
    EXPECT_FALSE(manager.IsRunning());
}

} // namespace
