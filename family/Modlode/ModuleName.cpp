#include "ModuleName.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tvsk::modlode
{

namespace
{

bool EndsWithDll(std::string_view name)
{
    constexpr std::string_view dll = ".dll";
    if (name.size() <= dll.size())
        return false;
    const std::string_view end = name.substr(name.size() - dll.size());
    return std::equal(end.begin(), end.end(), dll.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

bool IsPlainName(std::string_view name)
{
    if (name.find("..") != std::string_view::npos)
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](char c) {
                            return c == '/' || c == '\\' || c == ':' ||
                                   std::iscntrl(static_cast<unsigned char>(c));
                        });
}

} // namespace

std::string ModulePath(const std::string& folder, const char* moduleName)
{
    if (!moduleName || folder.empty())
        return {};
    const std::string_view name(moduleName);
    if (!EndsWithDll(name) || !IsPlainName(name))
        return {};
    std::string path = folder;
    if (path.back() != '/')
        path += '/';
    path += name.substr(0, name.size() - 4);
    path += ".so";
    return path;
}

} // namespace tvsk::modlode
