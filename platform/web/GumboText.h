// Inner HTML and inner text of a parsed node (private to this layer).
#pragma once

#include <gumbo.h>

#include <string>

namespace tvsk::web::detail
{

// Upper-case tag name of an element node, also for tags the parser does not know.
std::string TagNameOf(const GumboNode* element);
std::string InnerHtmlOf(const GumboNode* element);
std::string InnerTextOf(const GumboNode* element);

} // namespace tvsk::web::detail
