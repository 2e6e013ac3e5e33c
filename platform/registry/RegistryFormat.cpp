// Text form of the registry store: one "[root\key\...]" header per key, then its values.
#include "Registry.h"
#include "RegistryFormat.h"

#include <cstdio>
#include <sstream>

namespace tvsk::registry
{

namespace
{

bool IsControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

std::string HexByte(unsigned char c)
{
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02x", c);
    return buf;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Control characters, '%' and the path separator '\\' become %hh, as the reader takes them back.
std::string EscapeKeyName(const std::string& name)
{
    std::string out;
    for (unsigned char c : name)
    {
        if (IsControl(c) || c == '%' || c == '\\')
            out += "%" + HexByte(c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::string QuoteText(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text)
    {
        switch (c)
        {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (IsControl(c))
                out += "\\x" + HexByte(c);
            else
                out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void WriteKey(std::ostringstream& out, const RegKey& key, const std::string& path)
{
    out << '[' << path << "]\n";
    for (const RegValue& v : key.Values())
    {
        out << (v.name.empty() ? std::string("@") : QuoteText(v.name)) << '=';
        if (v.type == REG_SZ)
            out << "sz:" << QuoteText(std::string(v.data.begin(), v.data.end()));
        else if (v.type == REG_DWORD)
        {
            DWORD d =
                v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<DWORD>(v.data[3]) << 24);
            char buf[16];
            std::snprintf(buf, sizeof buf, "%08x", d);
            out << "dword:" << buf;
        }
        else
        {
            out << "hex:";
            for (size_t i = 0; i < v.data.size(); ++i)
                out << (i ? "," : "") << HexByte(v.data[i]);
        }
        out << '\n';
    }
    for (const auto& [name, child] : key.ChildKeys())
        WriteKey(out, *child, path + "\\" + EscapeKeyName(name));
}

class LineParser
{
public:
    explicit LineParser(const std::string& line) : m_line(line) {}

    bool AtEnd() const { return m_pos == m_line.size(); }
    bool Take(char c)
    {
        if (m_pos < m_line.size() && m_line[m_pos] == c)
        {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool TakeWord(const std::string& word)
    {
        if (m_line.compare(m_pos, word.size(), word) != 0)
            return false;
        m_pos += word.size();
        return true;
    }

    std::optional<std::string> QuotedText()
    {
        if (!Take('"'))
            return std::nullopt;
        std::string out;
        while (m_pos < m_line.size())
        {
            char c = m_line[m_pos++];
            if (c == '"')
                return out;
            if (c != '\\')
            {
                out += c;
                continue;
            }
            if (m_pos >= m_line.size())
                return std::nullopt;
            char e = m_line[m_pos++];
            switch (e)
            {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x':
            {
                auto byte = HexPair();
                if (!byte)
                    return std::nullopt;
                out += static_cast<char>(*byte);
                break;
            }
            default:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<unsigned char> HexPair()
    {
        if (m_pos + 2 > m_line.size())
            return std::nullopt;
        int hi = HexDigit(m_line[m_pos]), lo = HexDigit(m_line[m_pos + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        m_pos += 2;
        return static_cast<unsigned char>(hi * 16 + lo);
    }

private:
    const std::string& m_line;
    size_t m_pos = 0;
};

std::optional<std::string> UnescapeKeyName(const std::string& name)
{
    std::string out;
    for (size_t i = 0; i < name.size(); ++i)
    {
        if (name[i] != '%')
        {
            out += name[i];
            continue;
        }
        if (i + 2 >= name.size())
            return std::nullopt;
        int hi = HexDigit(name[i + 1]), lo = HexDigit(name[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::optional<std::string> ReadHeader(const std::string& line, RegKey& top, RegKey*& current)
{
    if (line.size() < 2 || line.back() != ']')
        return "a key header must end with ']'";
    std::string path = line.substr(1, line.size() - 2);
    RegKey* key = &top;
    size_t start = 0;
    while (true)
    {
        size_t end = path.find('\\', start);
        std::string piece = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        auto name = UnescapeKeyName(piece);
        if (!name || name->empty())
            return "bad key name in '" + path + "'";
        key = &key->ObtainChild(*name);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    current = key;
    return std::nullopt;
}

std::optional<std::string> ReadValue(const std::string& line, RegKey& key)
{
    LineParser p(line);
    RegValue v;
    if (!p.Take('@'))
    {
        auto name = p.QuotedText();
        if (!name)
            return "a value line must start with '@' or a quoted name";
        if (name->empty())
            return "the default value is written '@'";
        v.name = *name;
    }
    if (!p.Take('='))
        return "'=' expected after the value name";
    if (p.TakeWord("sz:"))
    {
        auto text = p.QuotedText();
        if (!text)
            return "bad quoted text";
        v.type = REG_SZ;
        v.data.assign(text->begin(), text->end());
    }
    else if (p.TakeWord("dword:"))
    {
        v.type = REG_DWORD;
        v.data.resize(4);
        for (int i = 3; i >= 0; --i)
        {
            auto byte = p.HexPair();
            if (!byte)
                return "a dword needs 8 hex digits";
            v.data[static_cast<size_t>(i)] = *byte;
        }
    }
    else if (p.TakeWord("hex:"))
    {
        v.type = REG_BINARY;
        while (!p.AtEnd())
        {
            if (!v.data.empty() && !p.Take(','))
                return "bytes are separated by ','";
            auto byte = p.HexPair();
            if (!byte)
                return "a byte needs 2 hex digits";
            v.data.push_back(*byte);
        }
    }
    else
        return "the type must be sz:, dword: or hex:";
    if (!p.AtEnd())
        return "unexpected text after the value";
    if (key.FindValue(v.name))
        return "the value is given twice";
    key.SetValue(std::move(v));
    return std::nullopt;
}

} // namespace

std::string WriteStoreText(const RegKey& top)
{
    std::ostringstream out;
    out << "; Tarveskon registry store\n";
    for (const auto& [name, root] : top.ChildKeys())
        WriteKey(out, *root, EscapeKeyName(name));
    return out.str();
}

std::optional<FormatError> ReadStoreText(const std::string& text, RegKey& top)
{
    RegKey* current = nullptr;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line))
    {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        std::optional<std::string> error;
        if (line[0] == '[')
            error = ReadHeader(line, top, current);
        else if (!current)
            error = "a value before the first key header";
        else
            error = ReadValue(line, *current);
        if (error)
            return FormatError{lineNo, *error};
    }
    return std::nullopt;
}

} // namespace tvsk::registry
