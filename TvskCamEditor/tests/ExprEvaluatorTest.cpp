#include <TvskCamEditor/model/ExprEvaluator.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>

namespace
{
class CVariables : public CExprEvalIntf
{
public:
    bool GetVariable(const char* name, double* value) override
    {
        asked.push_back(name);
        auto it = values.find(name);
        if (it == values.end())
            return false;
        *value = it->second;
        return true;
    }
    bool GetFuncArgs(const char* name, int* count) override
    {
        if (std::strcmp(name, "sub") != 0)
            return false;
        *count = 2;
        return true;
    }
    bool CallFunc(const char*, const double* args, int count, double* result) override
    {
        if (count != 2)
            return false;
        *result = args[0] - args[1];
        return true;
    }

    std::map<std::string, double> values{{"x", 3.0}};
    std::vector<std::string> asked;
};

struct Row
{
    const char* text;
    bool ok;
    double value;
};

const Row kRows[] = {
    {"2^3^2", true, 64.0}, // left-associative power
    {"1 < 2 AND 3 > 2", true, 1.0},
    {"5 MOD 3", true, 2.0},
    {"0x10", true, 16.0},
    {"0xff + 1", true, 256.0},
    {"1e", false, 0.0},
    {"1e5", true, 100000.0},
    {"12.5", true, 12.5},
    {"0x", false, 0.0},
    {"0x1g", false, 0.0},
    {"1 + 2 * 3", true, 7.0},
    {"(1 + 2) * 3", true, 9.0},
    {"10 - 4 - 3", true, 3.0}, // left to right
    {"8 / 4 / 2", true, 1.0},
    {"2 * 3 ^ 2", true, 18.0},
    {"1 = 1 OR 0", true, 1.0},
    {"1 XOR 1", true, 0.0},
    {"1 <> 2", true, 1.0},
    {"2 <= 2", true, 1.0},
    {"3 >= 4", true, 0.0},
    {"1 + 2 < 4", true, 1.0}, // comparison below addition
    {"x * 2", true, 6.0},
    {"X * 2", false, 0.0}, // variables are the interface's business
    {"y", false, 0.0},
    {"sin(0)", true, 0.0},
    {"exp(0) + log(1)", true, 1.0},
    {"log10(1000)", true, 3.0},
    {"sin(1,2)", false, 0.0},   // two values left
    {"sub(10, 4)", true, -6.0}, // the first popped value (4) is the first argument
    {"nofunc(1)", false, 0.0},
    {"sin(x - 3)", true, 0.0},
    {"-x", true, -3.0},
    {"2 * -x", true, -6.0},
    {"-2^2", true, -4.0},
    {"", false, 0.0},
    {"1 +", false, 0.0},
    {"(1", false, 0.0},
    {"1 2", false, 0.0},
    // decimal texts are read whole and only as decimal
    {"0X10", false, 0.0},
    {"0x1p3", false, 0.0},
    {"1.5e2", true, 150.0},
    {".5", false, 0.0}, // not a digit: asked as a variable
    {"1e999", false, 0.0},
    {"0xFFFFFFFFFFFFFFFF", true, 18446744073709551615.0},
    {"0x10000000000000000", false, 0.0},
    // precedence from lowest: OR, XOR, AND, comparison, additive, multiplicative, "^"
    {"1 OR 1 XOR 1", true, 1.0},  // OR (1 XOR 1) = 1 OR 0
    {"0 XOR 1 AND 0", true, 0.0}, // 0 XOR (1 AND 0)
    {"1 < 2 = 1", true, 1.0},     // (1 < 2) = 1, left to right
    {"3 > 2 > 1", true, 0.0},     // (3 > 2) > 1
    {"7 MOD 4 * 2", true, 6.0},   // (7 MOD 4) * 2
    {"2 * 7 MOD 4", true, 2.0},   // (2 * 7) MOD 4
    {"-7 MOD 4", true, -3.0},     // the floating remainder keeps the sign of the left
    {"7.5 MOD 2", true, 1.5},
    {"2 ^ 0.5 ^ 2", true, 2.0}, // (2 ^ 0.5) ^ 2
    {"2 AND 0.5", true, 1.0},   // any value other than 0 is true
    {"sin(cos(0) - 1)", true, 0.0},
    {"sub(sub(5, 1), 2)", true, 6.0}, // 2 - (1 - 5)
    {"sin()", false, 0.0},            // nothing to pop
    {"sin(1) 2", false, 0.0},
    {"1 + + 2", false, 0.0},
    {"()", false, 0.0},
    {"1,2", false, 0.0},
    // no value to go on with: refused, never a silent infinity or NaN
    {"1 / 0", false, 0.0},
    {"0 / 0", false, 0.0},
    {"1 MOD 0", false, 0.0},
    {"log(0)", false, 0.0},
    {"log(0 - 1)", false, 0.0},
    {"log10(0 - 5)", false, 0.0},
    {"asin(2)", false, 0.0},
    {"acos(0 - 2)", false, 0.0},
    {"(0 - 8) ^ 0.5", false, 0.0},
    {"exp(1000)", false, 0.0},
    {"10 ^ 400", false, 0.0},
    {"1e300 * 1e300", false, 0.0},
    {"atan(1 / 0)", false, 0.0},
    {"0 ^ 0", true, 1.0},
    {"(0 - 8) ^ 2", true, 64.0},
};
} // namespace

TEST(ExprEvaluatorTest, EvaluatesTheTable)
{
    for (const Row& row : kRows)
    {
        CVariables vars;
        CExprEvaluator evaluator(&vars);
        double result = -1.0;
        EXPECT_EQ(evaluator.Evaluate(row.text, result), row.ok) << row.text;
        if (row.ok)
        {
            EXPECT_NEAR(result, row.value, 1e-9) << row.text;
        }
    }
}

TEST(ExprEvaluatorTest, ArcTangentIsTheTwoArgumentFormAgainstOne)
{
    CExprEvaluator evaluator;
    double result = 0.0;
    ASSERT_TRUE(evaluator.Evaluate("atan(1)", result));
    EXPECT_DOUBLE_EQ(result, std::atan2(1.0, 1.0));
}

TEST(ExprEvaluatorTest, AFunctionNameWithoutParenthesisIsAskedAsAVariable)
{
    CVariables vars;
    vars.values["sin"] = 2.0;
    CExprEvaluator evaluator(&vars);
    double result = 0.0;
    ASSERT_TRUE(evaluator.Evaluate("sin + 1", result));
    EXPECT_EQ(result, 3.0);
    EXPECT_EQ(vars.asked, std::vector<std::string>{"sin"});
}

TEST(ExprEvaluatorTest, VariablesWithoutAValueAreRefused)
{
    CVariables vars;
    vars.values["x"] = std::nan("");
    CExprEvaluator evaluator(&vars);
    double result = 0.0;
    EXPECT_FALSE(evaluator.Evaluate("x * 0", result));
    CExprEvaluator withoutInterface;
    EXPECT_FALSE(withoutInterface.Evaluate("x", result));
    EXPECT_FALSE(withoutInterface.Evaluate("sub(1, 2)", result));
}

TEST(ExprEvaluatorTest, NoTextReusesTheLastParse)
{
    CVariables vars;
    CExprEvaluator evaluator(&vars);
    double result = 0.0;
    ASSERT_TRUE(evaluator.Evaluate("x + 1", result));
    vars.values["x"] = 10.0;
    ASSERT_TRUE(evaluator.Evaluate(nullptr, result));
    EXPECT_EQ(result, 11.0);
}

TEST(ExprEvaluatorTest, DeepNestingIsRefusedNotOverflowed)
{
    CVariables vars;
    CExprEvaluator evaluator(&vars);
    double result = 0.0;
    ASSERT_TRUE(evaluator.Evaluate((std::string(40, '(') + "2" + std::string(40, ')')).c_str(), result));
    EXPECT_EQ(result, 2.0);
    EXPECT_FALSE(evaluator.Evaluate((std::string(4000, '(') + "2" + std::string(4000, ')')).c_str(), result));
    EXPECT_FALSE(evaluator.Evaluate((std::string(4000, '-') + "2").c_str(), result));
    // A typing slip inside nested brackets that the grammar would retry exponentially.
    EXPECT_FALSE(evaluator.Evaluate(
        "[\xe9------(((-(-(\x9f((((-(-(-(\x9f((((-(-(\x9f(((-(-expTerm(-(-((((((((-(-((((((((-"
        "((\x9f(((-(-expTerm(-(-((((((((-(-((((((((-((",
        result));
}
