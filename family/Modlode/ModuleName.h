// Which file a module name from a page or host stands for.
#pragma once

#include <string>

namespace tvsk::modlode
{

// The path of module "X.dll" as "X.so" in folder; empty when the name is not a plain file name
// ending in ".dll" (any case): no folder part, no "..", no control characters.
std::string ModulePath(const std::string& folder, const char* moduleName);

} // namespace tvsk::modlode
