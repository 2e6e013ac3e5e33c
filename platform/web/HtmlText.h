// Conversions between HTML fragments and the text a page shows.
#pragma once

#include <string>
#include <string_view>

namespace tvsk::web
{

// The text an HTML fragment shows: tags dropped, entities decoded, line breaks for <br>.
std::string TextOfHtml(std::string_view html);
// An HTML fragment that shows the text as given: markup characters escaped, line breaks as <br>.
std::string HtmlOfText(std::string_view text);

} // namespace tvsk::web
