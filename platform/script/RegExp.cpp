// Regular expressions over PCRE2 (16-bit code units, as the language's strings are).
#include "RegExp.h"

#include "Convert.h"
#include "Dispatch.h"
#include "ScriptError.h"

#include <com/EnumVariant.h>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace tvsk::script
{

namespace
{
constexpr long RegExpSyntaxError = 5017;

enum : DISPID
{
    Pattern = 1,
    IgnoreCase,
    Global,
    Multiline,
    TestId,
    ExecuteId,
    ReplaceId
};
constexpr NativeObject::Member RegExpMembers[] = {
    {u"pattern", Pattern}, {u"ignorecase", IgnoreCase}, {u"global", Global},     {u"multiline", Multiline},
    {u"test", TestId},     {u"execute", ExecuteId},     {u"replace", ReplaceId},
};

enum : DISPID
{
    Item = DISPID_VALUE,
    Count = 1,
    FirstIndex = 1,
    Length = 2,
    SubMatchesId = 3
};
constexpr NativeObject::Member CollectionMembers[] = {
    {u"item", Item}, {u"count", Count}, {u"_newenum", DISPID_NEWENUM}};
constexpr NativeObject::Member MatchMembers[] = {{u"value", DISPID_VALUE},
                                                 {u"firstindex", FirstIndex},
                                                 {u"length", Length},
                                                 {u"submatches", SubMatchesId}};

bool Puts(WORD flags)
{
    return flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
}

std::u16string Text(const Value& v)
{
    return TextOf(v);
}

Value Enumerator(const std::vector<Value>& items)
{
    std::vector<VARIANT> raw(items.begin(), items.end());
    auto* e = new com::VariantEnumerator(raw);
    IUnknown* unknown = e;
    unknown->AddRef();
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UNKNOWN;
    v.punkVal = unknown;
    return Value::Adopt(v);
}

// Item(i) of a snapshot: Invalid procedure call outside it.
Value ItemOf(const std::vector<Value>& items, Value* args, size_t count)
{
    NeedArguments(count, 1);
    const LONG i = ToLong(args[0]);
    if (i < 0 || static_cast<size_t>(i) >= items.size())
        Throw(err::InvalidCall);
    return items[static_cast<size_t>(i)];
}

Value CollectionCall(const std::vector<Value>& items, DISPID id, WORD flags, Value* args, size_t count)
{
    if (Puts(flags))
        Throw(err::IllegalAssignment);
    switch (id)
    {
    case Item:
        return ItemOf(items, args, count);
    case Count:
        NeedArguments(count, 0);
        return Value::Long(static_cast<LONG>(items.size()));
    default:
        NeedArguments(count, 0);
        return Enumerator(items);
    }
}
} // namespace

class RegExp::Compiled
{
public:
    Compiled(const std::u16string& pattern, uint32_t options)
    {
        int error = 0;
        PCRE2_SIZE offset = 0;
        m_code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error,
                               &offset, nullptr);
        if (!m_code)
            Throw(RegExpSyntaxError, "Syntax error in regular expression");
        m_data = pcre2_match_data_create_from_pattern(m_code, nullptr);
        if (!m_data)
        {
            pcre2_code_free(m_code);
            Throw(err::OutOfMemory);
        }
        uint32_t groups = 0;
        pcre2_pattern_info(m_code, PCRE2_INFO_CAPTURECOUNT, &groups);
        m_groups = groups;
    }
    ~Compiled()
    {
        pcre2_match_data_free(m_data);
        pcre2_code_free(m_code);
    }
    Compiled(const Compiled&) = delete;
    Compiled& operator=(const Compiled&) = delete;

    // Bounds of the match and each group (PCRE2_UNSET where a group took no part).
    bool Match(std::u16string_view subject, size_t start, std::vector<size_t>& bounds)
    {
        const int rc = pcre2_match(m_code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                                   start, 0, m_data, nullptr);
        if (rc == PCRE2_ERROR_NOMATCH)
            return false;
        if (rc < 0)
            Throw(err::OutOfStack);
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_data);
        bounds.assign(ovector, ovector + 2 * (m_groups + 1));
        for (size_t i = static_cast<size_t>(rc) * 2; i < bounds.size(); ++i)
            bounds[i] = PCRE2_UNSET;
        return true;
    }

private:
    pcre2_code* m_code = nullptr;
    pcre2_match_data* m_data = nullptr;
    size_t m_groups = 0;
};

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

RegExp::Compiled& RegExp::Code()
{
    if (!m_code)
    {
        // As the language reads patterns: \uXXXX and \xXX escapes, $ only at the very end unless
        // Multiline.
        uint32_t options = PCRE2_ALT_BSUX | PCRE2_DOLLAR_ENDONLY;
        if (m_ignoreCase)
            options |= PCRE2_CASELESS;
        if (m_multiline)
            options |= PCRE2_MULTILINE;
        m_code = std::make_unique<Compiled>(m_pattern, options);
    }
    return *m_code;
}

bool RegExp::MatchAt(std::u16string_view subject, size_t start, std::vector<size_t>& bounds)
{
    if (start > subject.size())
        return false;
    return Code().Match(subject, start, bounds);
}

bool RegExp::Test(std::u16string_view subject)
{
    std::vector<size_t> bounds;
    return MatchAt(subject, 0, bounds);
}

std::vector<MatchData> RegExp::Execute(std::u16string_view subject)
{
    std::vector<MatchData> matches;
    std::vector<size_t> bounds;
    size_t start = 0;
    while (MatchAt(subject, start, bounds))
    {
        MatchData m;
        m.firstIndex = static_cast<LONG>(bounds[0]);
        m.value = std::u16string(subject.substr(bounds[0], bounds[1] - bounds[0]));
        for (size_t g = 1; g * 2 < bounds.size(); ++g)
            m.groups.push_back(
                bounds[2 * g] == PCRE2_UNSET
                    ? Value()
                    : Value::String(subject.substr(bounds[2 * g], bounds[2 * g + 1] - bounds[2 * g])));
        matches.push_back(std::move(m));
        if (!m_global)
            break;
        // An empty match moves on by one character.
        start = bounds[1] > bounds[0] ? bounds[1] : bounds[1] + 1;
    }
    return matches;
}

std::u16string RegExp::Replace(std::u16string_view subject, std::u16string_view replacement)
{
    std::u16string out;
    std::vector<size_t> bounds;
    size_t start = 0, copied = 0;
    while (MatchAt(subject, start, bounds))
    {
        out.append(subject.substr(copied, bounds[0] - copied));
        const size_t groups = bounds.size() / 2 - 1;
        // $& the match, $` before it, $' after it, $n and $nn a group, $$ a dollar.
        for (size_t i = 0; i < replacement.size(); ++i)
        {
            const char16_t c = replacement[i];
            if (c != '$' || i + 1 >= replacement.size())
            {
                out += c;
                continue;
            }
            const char16_t n = replacement[i + 1];
            if (n == '$')
                out += u'$', ++i;
            else if (n == '&')
                out.append(subject.substr(bounds[0], bounds[1] - bounds[0])), ++i;
            else if (n == '`')
                out.append(subject.substr(0, bounds[0])), ++i;
            else if (n == '\'')
                out.append(subject.substr(bounds[1])), ++i;
            else if (n >= '0' && n <= '9')
            {
                size_t group = n - '0';
                size_t used = 1;
                if (i + 2 < replacement.size() && replacement[i + 2] >= '0' && replacement[i + 2] <= '9' &&
                    group * 10 + (replacement[i + 2] - '0') <= groups)
                {
                    group = group * 10 + (replacement[i + 2] - '0');
                    used = 2;
                }
                if (group == 0 || group > groups)
                {
                    out += c;
                    continue;
                }
                if (bounds[2 * group] != PCRE2_UNSET)
                    out.append(subject.substr(bounds[2 * group], bounds[2 * group + 1] - bounds[2 * group]));
                i += used;
            }
            else
                out += c;
        }
        copied = bounds[1];
        if (bounds[1] == bounds[0])
        {
            // An empty match keeps the character after it and moves on.
            if (bounds[1] < subject.size())
                out += subject[bounds[1]];
            copied = bounds[1] + 1;
        }
        start = copied;
        if (!m_global)
            break;
    }
    if (copied < subject.size())
        out.append(subject.substr(copied));
    return out;
}

std::span<const NativeObject::Member> RegExp::Members() const
{
    return RegExpMembers;
}

Value RegExp::Call(DISPID id, WORD flags, Value* args, size_t count, Value* value)
{
    auto flag = [&](bool& field)
    {
        if (value)
        {
            field = ToBool(*value);
            m_code.reset();
            return Value();
        }
        NeedArguments(count, 0);
        return Value::Bool(field);
    };
    switch (id)
    {
    case Pattern:
        if (value)
        {
            m_pattern = ToText(*value);
            m_code.reset();
            return {};
        }
        NeedArguments(count, 0);
        return Value::String(m_pattern);
    case IgnoreCase:
        return flag(m_ignoreCase);
    case Global:
        return flag(m_global);
    case Multiline:
        return flag(m_multiline);
    case TestId:
        NeedArguments(count, 1);
        return Value::Bool(Test(Text(args[0])));
    case ExecuteId:
    {
        NeedArguments(count, 1);
        auto* matches = new MatchCollection(Execute(Text(args[0])));
        return Value::Object(matches);
    }
    default:
        NeedArguments(count, 2);
        if (value)
            Throw(err::IllegalAssignment);
        return Value::String(Replace(Text(args[0]), Text(args[1])));
    }
}

MatchCollection::MatchCollection(std::vector<MatchData> matches)
{
    for (MatchData& m : matches)
        m_matches.push_back(Value::Object(new Match(std::move(m))));
}

std::span<const NativeObject::Member> MatchCollection::Members() const
{
    return CollectionMembers;
}

Value MatchCollection::Call(DISPID id, WORD flags, Value* args, size_t count, Value*)
{
    return CollectionCall(m_matches, id, flags, args, count);
}

Match::Match(MatchData data) : m_data(std::move(data)) {}

std::span<const NativeObject::Member> Match::Members() const
{
    return MatchMembers;
}

Value Match::Call(DISPID id, WORD flags, Value*, size_t count, Value*)
{
    if (Puts(flags))
        Throw(err::IllegalAssignment);
    NeedArguments(count, 0);
    switch (id)
    {
    case DISPID_VALUE:
        return Value::String(m_data.value);
    case FirstIndex:
        return Value::Long(m_data.firstIndex);
    case Length:
        return Value::Long(static_cast<LONG>(m_data.value.size()));
    default:
        return Value::Object(new SubMatches(m_data.groups));
    }
}

SubMatches::SubMatches(std::vector<Value> groups) : m_groups(std::move(groups)) {}

std::span<const NativeObject::Member> SubMatches::Members() const
{
    return CollectionMembers;
}

Value SubMatches::Call(DISPID id, WORD flags, Value* args, size_t count, Value*)
{
    return CollectionCall(m_groups, id, flags, args, count);
}

} // namespace tvsk::script
