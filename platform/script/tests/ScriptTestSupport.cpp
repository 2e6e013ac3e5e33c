#include "ScriptTestSupport.h"

namespace tvsk::script::testing
{

std::u16string U(const std::string& utf8)
{
    return com::Utf16FromUtf8(utf8);
}

std::string Describe(Interpreter& interp, const std::string& expression)
{
    Frame f{interp};
    Value v = interp.Evaluate(U(expression), f);
    interp.Execute(u"Dim result__", nullptr);
    *interp.FindGlobal(u"result__") = v;
    const std::string type = com::Utf8FromUtf16(interp.Evaluate(u"TypeName(result__)", f).Text());
    if (v.IsArray() || v.IsObject() || v.IsNull())
        return type + ":";
    return type + ":" + com::Utf8FromUtf16(interp.Evaluate(u"CStr(result__)", f).Text());
}

std::string Outcome(const std::string& script)
{
    auto interp = Interpreter::Create();
    try
    {
        Unit& unit = interp->Compile(U(script));
        interp->Run(unit);
        return Describe(*interp, "result");
    }
    catch (const ScriptException& e)
    {
        if (e.error.compile)
            return "syntax " + std::to_string(e.error.number) + " line " + std::to_string(e.error.line);
        return "error " + std::to_string(e.error.number);
    }
}

} // namespace tvsk::script::testing
