// RegExp: the language's regular expressions (Pattern, IgnoreCase, Global, Multiline, Test,
// Execute, Replace) and the matches Execute returns, over PCRE2's 16-bit library.
#pragma once

#include "NativeObject.h"

#include <memory>
#include <string>
#include <vector>

namespace tvsk::script
{

// One match: its text, where it starts (from 0), and its groups (Empty where a group took no part).
struct MatchData
{
    std::u16string value;
    LONG firstIndex = 0;
    std::vector<Value> groups;
};

class RegExp final : public NativeObject
{
public:
    RegExp();
    std::u16string_view TypeName() const override { return u"IRegExp2"; }

    bool Test(std::u16string_view subject);
    std::vector<MatchData> Execute(std::u16string_view subject);
    std::u16string Replace(std::u16string_view subject, std::u16string_view replacement);

protected:
    std::span<const Member> Members() const override;
    Value Call(DISPID id, WORD flags, Value* args, size_t count, Value* value) override;

private:
    ~RegExp() override;
    class Compiled;
    // The pattern compiled with the current flags; Syntax error in regular expression when it is none.
    Compiled& Code();
    // Matches from start on: the match's bounds and its groups' bounds, or false.
    bool MatchAt(std::u16string_view subject, size_t start, std::vector<size_t>& bounds);

    std::u16string m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    bool m_multiline = false;
    std::unique_ptr<Compiled> m_code;
};

class MatchCollection final : public NativeObject
{
public:
    explicit MatchCollection(std::vector<MatchData> matches);
    std::u16string_view TypeName() const override { return u"IMatchCollection2"; }

protected:
    std::span<const Member> Members() const override;
    Value Call(DISPID id, WORD flags, Value* args, size_t count, Value* value) override;

private:
    std::vector<Value> m_matches;
};

class Match final : public NativeObject
{
public:
    explicit Match(MatchData data);
    std::u16string_view TypeName() const override { return u"IMatch2"; }

protected:
    std::span<const Member> Members() const override;
    Value Call(DISPID id, WORD flags, Value* args, size_t count, Value* value) override;

private:
    MatchData m_data;
};

class SubMatches final : public NativeObject
{
public:
    explicit SubMatches(std::vector<Value> groups);
    std::u16string_view TypeName() const override { return u"ISubMatches"; }

protected:
    std::span<const Member> Members() const override;
    Value Call(DISPID id, WORD flags, Value* args, size_t count, Value* value) override;

private:
    std::vector<Value> m_groups;
};

} // namespace tvsk::script
