// Figures of the script engine: simple operations per second and events per second.
#include "../tests/Probe.h"

#include <script/Interpreter.h>
#include <script/ScriptEngine.h>

#include <benchmark/benchmark.h>

using namespace tvsk::script;

namespace
{

void RunScript(benchmark::State& state, const char16_t* text)
{
    for (auto _ : state)
    {
        auto interp = Interpreter::Create();
        interp->Run(interp->Compile(text));
        benchmark::DoNotOptimize(interp->FindGlobal(u"n"));
    }
}

// 1,000,000 iterations of n = n + i (the loop's own compare and step included).
void AdditionLoop(benchmark::State& state)
{
    RunScript(state, u"For i = 1 To 1000000\n n = n + i\nNext");
}
BENCHMARK(AdditionLoop)->Unit(benchmark::kMillisecond);

// 1,000,000 iterations of s = "k" & i.
void ConcatenationLoop(benchmark::State& state)
{
    RunScript(state, u"For i = 1 To 1000000\n s = \"k\" & i\nNext");
}
BENCHMARK(ConcatenationLoop)->Unit(benchmark::kMillisecond);

// 100,000 appends s = s & "k" & i: each costs what it appends (amortised), not the whole string.
void AppendLoop(benchmark::State& state)
{
    RunScript(state, u"s = \"\"\nFor i = 1 To 100000\n s = s & \"k\" & i\nNext\nn = Len(s)");
}
BENCHMARK(AppendLoop)->Unit(benchmark::kMillisecond);

// Recursive Fibonacci of 25 (242,785 calls).
void Fibonacci(benchmark::State& state)
{
    RunScript(state,
              u"Function Fib(k)\n If k < 2 Then\n  Fib = k\n Else\n  Fib = Fib(k - 1) + Fib(k - 2)\n End If\n"
              u"End Function\nn = Fib(25)");
}
BENCHMARK(Fibonacci)->Unit(benchmark::kMillisecond);

// An array of 1,000,000 filled, then summed.
void ArrayFillAndSum(benchmark::State& state)
{
    RunScript(state, u"Dim a(999999)\nFor i = 0 To 999999\n a(i) = i\nNext\nn = 0\nFor i = 0 To 999999\n n = "
                     u"n + a(i)\nNext");
}
BENCHMARK(ArrayFillAndSum)->Unit(benchmark::kMillisecond);

// 500,000 property Lets and Gets on an object of a class.
void PropertyLetGet(benchmark::State& state)
{
    RunScript(state, u"Class C\n Private m\n Public Property Let V(x)\n  m = x\n End Property\n"
                     u" Public Property Get V\n  V = m\n End Property\nEnd Class\n"
                     u"Set o = New C\nn = 0\nFor i = 1 To 500000\n o.V = i\n n = n + o.V\nNext");
}
BENCHMARK(PropertyLetGet)->Unit(benchmark::kMillisecond);

// 200,000 turns of Mid, InStr and Replace on a short text.
void StringFunctions(benchmark::State& state)
{
    RunScript(state, u"t = \"the quick brown fox jumps over the lazy dog\"\nn = 0\nFor i = 1 To 200000\n"
                     u" n = n + InStr(t, Mid(t, 17, 3)) + Len(Replace(t, \"o\", \"0\"))\nNext");
}
BENCHMARK(StringFunctions)->Unit(benchmark::kMillisecond);

// A minimal site: the probe is the only item.
class Site final : public tvsk::com::ComObject<IActiveScriptSite>
{
public:
    explicit Site(testing::Probe* probe) : m_probe(probe) {}
    HRESULT GetLCID(LCID*) override { return E_NOTIMPL; }
    HRESULT GetItemInfo(LPCOLESTR, DWORD mask, IUnknown** item, ITypeInfo** info) override
    {
        if (mask & SCRIPTINFO_IUNKNOWN)
        {
            *item = static_cast<IUnknown*>(static_cast<testing::IProbe*>(m_probe));
            (*item)->AddRef();
        }
        if (mask & SCRIPTINFO_ITYPEINFO)
            m_probe->GetClassInfo(info);
        return S_OK;
    }
    HRESULT GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT OnScriptError(IActiveScriptError*) override { return S_OK; }
    HRESULT OnEnterScript() override { return S_OK; }
    HRESULT OnLeaveScript() override { return S_OK; }

private:
    testing::Probe* m_probe;
};

// 100,000 events into a one-line Sub, through the connection point and the engine's sink.
void Events(benchmark::State& state)
{
    auto* probe = new testing::Probe;
    probe->AddRef();
    auto* site = new Site(probe);
    site->AddRef();
    IActiveScript* engine = nullptr;
    tvsk::com::CreateObject<ScriptEngine>(IActiveScript::Iid, reinterpret_cast<void**>(&engine));
    IActiveScriptParse* parse = nullptr;
    engine->QueryInterface(IActiveScriptParse::Iid, reinterpret_cast<void**>(&parse));
    engine->SetScriptSite(site);
    parse->InitNew();
    engine->AddNamedItem(u"Probe", SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE);
    parse->ParseScriptText(u"Sub Probe_Ping(v)\n n = n + v\nEnd Sub", nullptr, nullptr, nullptr, 0, 0, 0,
                           nullptr, nullptr);
    engine->SetScriptState(SCRIPTSTATE_CONNECTED);
    for (auto _ : state)
        for (int i = 0; i < 100000; ++i)
            probe->Fire(testing::DISPID_Ping, {tvsk::com::MakeVariantI4(i)});
    state.SetItemsProcessed(state.iterations() * 100000);
    engine->Close();
    parse->Release();
    engine->Release();
    site->Release();
    probe->Release();
}
BENCHMARK(Events)->Unit(benchmark::kMillisecond);

} // namespace
