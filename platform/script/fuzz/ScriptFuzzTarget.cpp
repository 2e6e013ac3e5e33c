// Fuzz target: any bytes as a script text, parsed and run with bounded statements; nothing may crash.
#include <script/Interpreter.h>
#include <script/Operators.h>

#include <cstddef>
#include <cstdint>
#include <new>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tvsk::script;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Limits() = {1u << 16, 1u << 12};
    auto interp = Interpreter::Create();
    interp->LimitStatements(20000);
    try
    {
        interp->Run(interp->Compile(tvsk::com::Utf16FromUtf8(bytes)));
    }
    catch (const ScriptException&)
    {
    }
    catch (const std::bad_alloc&)
    {
    }
    return 0;
}
