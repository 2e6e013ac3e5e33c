// Errors a script raises: the language's numbers and texts, thrown while running and caught by
// On Error Resume Next or at the entry the host called.
#pragma once

#include <com/Bstr.h>

#include <cstdint>
#include <string>

namespace tvsk::script
{

namespace err
{
constexpr long InvalidCall = 5;
constexpr long Overflow = 6;
constexpr long OutOfMemory = 7;
constexpr long SubscriptOutOfRange = 9;
constexpr long ArrayFixed = 10;
constexpr long DivisionByZero = 11;
constexpr long TypeMismatch = 13;
constexpr long OutOfStack = 28;
constexpr long SubNotDefined = 35;
constexpr long ObjectNotSet = 91;
constexpr long InvalidUseOfNull = 94;
constexpr long ObjectRequired = 424;
constexpr long CannotCreateObject = 429;
constexpr long NoAutomation = 430;
constexpr long NameNotFound = 432;
constexpr long NoSuchMember = 438;
constexpr long NotSupported = 445;
constexpr long NamedArguments = 446;
constexpr long ArgumentNotOptional = 449;
constexpr long WrongArguments = 450;
constexpr long NotACollection = 451;
constexpr long UnsupportedType = 458;
constexpr long VariableUndefined = 500;
constexpr long IllegalAssignment = 501;
constexpr long InvalidQualifier = 505;
constexpr long ClassNotDefined = 506;
// Compilation errors.
constexpr long SyntaxError = 1002;
constexpr long ExpectedColon = 1003;
constexpr long ExpectedLParen = 1005;
constexpr long ExpectedRParen = 1006;
constexpr long ExpectedIdentifier = 1010;
constexpr long ExpectedEquals = 1011;
constexpr long ExpectedIf = 1012;
constexpr long ExpectedTo = 1013;
constexpr long ExpectedEnd = 1014;
constexpr long ExpectedFunction = 1015;
constexpr long ExpectedSub = 1016;
constexpr long ExpectedThen = 1017;
constexpr long ExpectedWend = 1018;
constexpr long ExpectedLoop = 1019;
constexpr long ExpectedNext = 1020;
constexpr long ExpectedCase = 1021;
constexpr long ExpectedSelect = 1022;
constexpr long ExpectedExpression = 1023;
constexpr long ExpectedStatement = 1024;
constexpr long ExpectedEndOfStatement = 1025;
constexpr long ExpectedInteger = 1026;
constexpr long ExpectedWhileUntil = 1027;
constexpr long ExpectedWith = 1029;
constexpr long InvalidNumber = 1031;
constexpr long InvalidCharacter = 1032;
constexpr long UnterminatedString = 1033;
constexpr long InvalidMe = 1037;
constexpr long LoopWithoutDo = 1038;
constexpr long InvalidExit = 1039;
constexpr long InvalidForVariable = 1040;
constexpr long NameRedefined = 1041;
constexpr long MustBeFirst = 1042;
constexpr long ParenthesesOnSubCall = 1044;
constexpr long ExpectedLiteral = 1045;
constexpr long ExpectedIn = 1046;
constexpr long ExpectedClass = 1047;
constexpr long InsideClass = 1048;
constexpr long ExpectedLetSetGet = 1049;
constexpr long ExpectedProperty = 1050;
constexpr long MultipleDefaults = 1052;
constexpr long InitTermArguments = 1053;
constexpr long PropertyArguments = 1054;
constexpr long UnexpectedNext = 1055;
constexpr long DefaultOnlyGet = 1056;
constexpr long DefaultNeedsPublic = 1057;
} // namespace err

constexpr std::uint32_t ScriptErrorFacility = 0x800A0000u;

// The language's text for an error number ("" when it has none).
const char* ErrorText(long number);
// The system's text for a failure HRESULT that is no script error ("" when unknown).
const char* HResultText(std::int32_t hr);
// The error number a failed call's HRESULT stands for: a script error's own number, or the HRESULT.
long ErrorNumberOf(std::int32_t hr);
std::int32_t HResultOf(long number);

constexpr const char* RuntimeErrorSource = "VBScript runtime error";
constexpr const char* CompileErrorSource = "VBScript compilation error";

// A run-time or compilation error with where it happened (line from 0, column from 0).
struct ScriptError
{
    long number = 0;
    std::string description;
    std::string source;
    int line = -1;
    int column = 0;
    bool compile = false;
    // A stopped script: On Error Resume Next does not catch it.
    bool stops = false;
    std::string helpFile;
    long helpContext = 0;
};

// Thrown while parsing and running; caught by On Error Resume Next or the entry point.
struct ScriptException
{
    ScriptError error;
};

[[noreturn]] void Throw(long number);
[[noreturn]] void Throw(long number, std::string description, std::string source = {});
[[noreturn]] void ThrowCompile(long number, int line, int column);

} // namespace tvsk::script
