// The language's error numbers and texts.
#include "ScriptError.h"

namespace tvsk::script
{

const char* ErrorText(long number)
{
    switch (number)
    {
    case 5:
        return "Invalid procedure call or argument";
    case 6:
        return "Overflow";
    case 7:
        return "Out of memory";
    case 9:
        return "Subscript out of range";
    case 10:
        return "This array is fixed or temporarily locked";
    case 11:
        return "Division by zero";
    case 13:
        return "Type mismatch";
    case 14:
        return "Out of string space";
    case 17:
        return "Can't perform requested operation";
    case 28:
        return "Out of stack space";
    case 35:
        return "Sub or Function not defined";
    case 48:
        return "Error in loading DLL";
    case 51:
        return "Internal error";
    case 52:
        return "Bad file name or number";
    case 53:
        return "File not found";
    case 54:
        return "Bad file mode";
    case 55:
        return "File already open";
    case 57:
        return "Device I/O error";
    case 58:
        return "File already exists";
    case 61:
        return "Disk full";
    case 62:
        return "Input past end of file";
    case 67:
        return "Too many files";
    case 68:
        return "Device unavailable";
    case 70:
        return "Permission denied";
    case 71:
        return "Disk not ready";
    case 74:
        return "Can't rename with different drive";
    case 75:
        return "Path/File access error";
    case 76:
        return "Path not found";
    case 91:
        return "Object variable not set";
    case 92:
        return "For loop not initialized";
    case 94:
        return "Invalid use of Null";
    case 322:
        return "Can't create necessary temporary file";
    case 424:
        return "Object required";
    case 429:
        return "ActiveX component can't create object";
    case 430:
        return "Class doesn't support Automation";
    case 432:
        return "File name or class name not found during Automation operation";
    case 438:
        return "Object doesn't support this property or method";
    case 440:
        return "Automation error";
    case 445:
        return "Object doesn't support this action";
    case 446:
        return "Object doesn't support named arguments";
    case 447:
        return "Object doesn't support current locale setting";
    case 448:
        return "Named argument not found";
    case 449:
        return "Argument not optional";
    case 450:
        return "Wrong number of arguments or invalid property assignment";
    case 451:
        return "Object not a collection";
    case 453:
        return "Specified DLL function not found";
    case 455:
        return "Code resource lock error";
    case 457:
        return "This key is already associated with an element of this collection";
    case 458:
        return "Variable uses an Automation type not supported in VBScript";
    case 462:
        return "The remote server machine does not exist or is unavailable";
    case 481:
        return "Invalid picture";
    case 500:
        return "Variable is undefined";
    case 501:
        return "Illegal assignment";
    case 502:
        return "Object not safe for scripting";
    case 503:
        return "Object not safe for initializing";
    case 504:
        return "Object not safe for creating";
    case 505:
        return "Invalid or unqualified reference";
    case 506:
        return "Class not defined";
    case 507:
        return "An exception occurred";
    case 1001:
        return "Out of memory";
    case 1002:
        return "Syntax error";
    case 1003:
        return "Expected ':'";
    case 1005:
        return "Expected '('";
    case 1006:
        return "Expected ')'";
    case 1007:
        return "Expected ']'";
    case 1010:
        return "Expected identifier";
    case 1011:
        return "Expected '='";
    case 1012:
        return "Expected 'If'";
    case 1013:
        return "Expected 'To'";
    case 1014:
        return "Expected 'End'";
    case 1015:
        return "Expected 'Function'";
    case 1016:
        return "Expected 'Sub'";
    case 1017:
        return "Expected 'Then'";
    case 1018:
        return "Expected 'Wend'";
    case 1019:
        return "Expected 'Loop'";
    case 1020:
        return "Expected 'Next'";
    case 1021:
        return "Expected 'Case'";
    case 1022:
        return "Expected 'Select'";
    case 1023:
        return "Expected expression";
    case 1024:
        return "Expected statement";
    case 1025:
        return "Expected end of statement";
    case 1026:
        return "Expected integer constant";
    case 1027:
        return "Expected 'While' or 'Until'";
    case 1028:
        return "Expected 'While', 'Until' or end of statement";
    case 1029:
        return "Expected 'With'";
    case 1030:
        return "Identifier too long";
    case 1031:
        return "Invalid number";
    case 1032:
        return "Invalid character";
    case 1033:
        return "Unterminated string constant";
    case 1034:
        return "Unterminated comment";
    case 1037:
        return "Invalid use of 'Me' keyword";
    case 1038:
        return "'loop' without 'do'";
    case 1039:
        return "Invalid 'exit' statement";
    case 1040:
        return "Invalid 'for' loop control variable";
    case 1041:
        return "Name redefined";
    case 1042:
        return "Must be first statement on the line";
    case 1044:
        return "Cannot use parentheses when calling a Sub";
    case 1045:
        return "Expected literal constant";
    case 1046:
        return "Expected 'In'";
    case 1047:
        return "Expected 'Class'";
    case 1048:
        return "Must be defined inside a Class";
    case 1049:
        return "Expected Let or Set or Get in property declaration";
    case 1050:
        return "Expected 'Property'";
    case 1051:
        return "Number of arguments must be consistent across properties specification";
    case 1052:
        return "Cannot have multiple default property/method in a Class";
    case 1053:
        return "Class initialize or terminate do not have arguments";
    case 1054:
        return "Property set or let must have at least one argument";
    case 1055:
        return "Unexpected 'Next'";
    case 1056:
        return "'Default' can be specified only on 'Property Get'";
    case 1057:
        return "'Default' specification must also specify 'Public'";
    case 5017:
        return "Syntax error in regular expression";
    case 1058:
        return "'Default' specification can only be on Property Get";
    default:
        return "";
    }
}

const char* HResultText(std::int32_t hr)
{
    switch (static_cast<std::uint32_t>(hr))
    {
    case 0x80004001u:
        return "Not implemented";
    case 0x80004002u:
        return "No such interface supported";
    case 0x80004003u:
        return "Invalid pointer";
    case 0x80004004u:
        return "Operation aborted";
    case 0x80004005u:
        return "Unspecified error";
    case 0x8000FFFFu:
        return "Catastrophic failure";
    case 0x80070005u:
        return "Access is denied.";
    case 0x8007000Eu:
        return "Not enough storage is available to complete this operation.";
    case 0x80070057u:
        return "The parameter is incorrect.";
    default:
        return "";
    }
}

long ErrorNumberOf(std::int32_t hr)
{
    const auto code = static_cast<std::uint32_t>(hr);
    // The facility's code 0 is no error number: the failure stays the HRESULT.
    if ((code & 0xFFFF0000u) == ScriptErrorFacility && (code & 0xFFFFu))
        return static_cast<long>(code & 0xFFFFu);
    return hr;
}

std::int32_t HResultOf(long number)
{
    if (number > 0 && number <= 0xFFFF)
        return static_cast<std::int32_t>(ScriptErrorFacility | static_cast<std::uint32_t>(number));
    return static_cast<std::int32_t>(number);
}

void Throw(long number)
{
    throw ScriptException{{number, ErrorText(number), RuntimeErrorSource}};
}

void Throw(long number, std::string description, std::string source)
{
    throw ScriptException{
        {number, std::move(description), source.empty() ? RuntimeErrorSource : std::move(source)}};
}

void ThrowCompile(long number, int line, int column)
{
    throw ScriptException{{number, ErrorText(number), CompileErrorSource, line, column, true}};
}

} // namespace tvsk::script
