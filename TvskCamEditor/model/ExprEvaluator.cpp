// Postfix evaluation of cam formulas.
#include <TvskCamEditor/model/ExprEvaluator.h>

#include <ZoSupport/ProgramError.h>

#include <charconv>
#include <cctype>
#include <cmath>
#include <cstring>

namespace
{
struct BuiltIn
{
    const char* name;
    double (*fn)(double);
};

double ArcTangent(double v)
{
    return std::atan2(v, 1.0);
}
double NaturalLog(double v)
{
    return std::log(v);
}

const BuiltIn kBuiltIns[] = {
    {"sin", [](double v) { return std::sin(v); }},
    {"cos", [](double v) { return std::cos(v); }},
    {"tan", [](double v) { return std::tan(v); }},
    {"asin", [](double v) { return std::asin(v); }},
    {"acos", [](double v) { return std::acos(v); }},
    {"atan", ArcTangent},
    {"log", NaturalLog},
    {"log10", [](double v) { return std::log10(v); }},
    {"exp", [](double v) { return std::exp(v); }},
};

bool ReadHex(const char* digits, double& value)
{
    if (!std::isxdigit(static_cast<unsigned char>(*digits)))
        return false;
    unsigned long long v = 0;
    for (const char* p = digits; *p; ++p)
    {
        if (!std::isxdigit(static_cast<unsigned char>(*p)))
            return false;
        if (v > (~0ULL >> 4))
            return false;
        const int d = std::isdigit(static_cast<unsigned char>(*p)) ? *p - '0' : std::tolower(*p) - 'a' + 10;
        v = v * 16 + static_cast<unsigned>(d);
    }
    value = static_cast<double>(v);
    return true;
}

// Independent of the process locale, no hexadecimal forms, and a number too large for a double is refused.
bool ReadDecimal(const char* text, double& value)
{
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value, std::chars_format::general);
    return error == std::errc() && stop == end && std::isfinite(value);
}

bool Truth(double v)
{
    return v != 0.0;
}
} // namespace

bool CExprEvaluator::Parse(const char* text)
{
    m_pParser = std::make_unique<CExprParser>();
    m_bParsed = m_pParser->Parse(text);
    return m_bParsed;
}

bool CExprEvaluator::Evaluate(const char* text, double& result)
{
    if (text && !Parse(text))
        return false;
    if (!m_pParser)
    {
        ProgramError("ExprEvaluator", __LINE__, nullptr);
        return false;
    }
    return m_bParsed && Run(result);
}

bool CExprEvaluator::Run(double& result)
{
    std::vector<double> stack;
    for (const EXPR_ELEM& elem : m_pParser->GetElements())
    {
        bool ok = false;
        switch (elem.nKind)
        {
        case EXPR_VALUE:
            ok = PushValue(elem.strText, stack);
            break;
        case EXPR_OPERATOR:
            ok = ApplyOperator(elem.nOper, stack);
            break;
        case EXPR_FUNCTION:
            ok = CallFunction(elem, stack);
            break;
        default:
            ProgramError("ExprEvaluator", __LINE__, nullptr);
            break;
        }
        // A division by zero, a logarithm of a negative or an overflow has no value to go on with.
        if (!ok || (!stack.empty() && !std::isfinite(stack.back())))
            return false;
    }
    if (stack.size() != 1)
        return false;
    result = stack.back();
    return true;
}

bool CExprEvaluator::PushValue(const CString& text, std::vector<double>& stack)
{
    double value = 0.0;
    const char* s = text;
    if (std::strncmp(s, "0x", 2) == 0)
    {
        if (!ReadHex(s + 2, value))
            return false;
    }
    else if (std::isdigit(static_cast<unsigned char>(*s)))
    {
        if (!ReadDecimal(s, value))
            return false;
    }
    else if (!m_pIntf || !m_pIntf->GetVariable(s, &value))
        return false;
    stack.push_back(value);
    return true;
}

bool CExprEvaluator::ApplyOperator(int oper, std::vector<double>& stack)
{
    if (oper == EXPR_NEGATE || oper == EXPR_NOT)
    {
        if (stack.empty())
            return false;
        double& v = stack.back();
        v = oper == EXPR_NEGATE ? -v : (Truth(v) ? 0.0 : 1.0);
        return true;
    }
    if (stack.size() < 2)
        return false;
    const double right = stack.back();
    stack.pop_back();
    const double left = stack.back();
    double r = 0.0;
    switch (oper)
    {
    case EXPR_OR:
        r = Truth(left) || Truth(right);
        break;
    case EXPR_XOR:
        r = Truth(left) != Truth(right);
        break;
    case EXPR_AND:
        r = Truth(left) && Truth(right);
        break;
    case EXPR_LESS:
        r = left < right;
        break;
    case EXPR_GREATER:
        r = left > right;
        break;
    case EXPR_LESS_EQUAL:
        r = left <= right;
        break;
    case EXPR_GREATER_EQUAL:
        r = left >= right;
        break;
    case EXPR_EQUAL:
        r = left == right;
        break;
    case EXPR_NOT_EQUAL:
        r = left != right;
        break;
    case EXPR_ADD:
        r = left + right;
        break;
    case EXPR_SUB:
        r = left - right;
        break;
    case EXPR_MUL:
        r = left * right;
        break;
    case EXPR_DIV:
        r = left / right;
        break;
    case EXPR_MOD:
        r = std::fmod(left, right);
        break;
    case EXPR_POW:
        r = std::pow(left, right);
        break;
    default:
        ProgramError("ExprEvaluator", __LINE__, nullptr);
        return false;
    }
    stack.back() = r;
    return true;
}

bool CExprEvaluator::CallFunction(const EXPR_ELEM& elem, std::vector<double>& stack)
{
    for (const BuiltIn& builtIn : kBuiltIns)
    {
        if (std::strcmp(builtIn.name, elem.strText) != 0)
            continue;
        if (stack.empty())
            return false;
        stack.back() = builtIn.fn(stack.back());
        return true;
    }
    int count = 0;
    if (!m_pIntf || !m_pIntf->GetFuncArgs(elem.strText, &count) || count < 0 ||
        static_cast<size_t>(count) > stack.size())
        return false;
    std::vector<double> args(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        args[static_cast<size_t>(i)] = stack.back();
        stack.pop_back();
    }
    double result = 0.0;
    if (!m_pIntf->CallFunc(elem.strText, args.data(), count, &result))
        return false;
    stack.push_back(result);
    return true;
}
