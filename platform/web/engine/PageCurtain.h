// A page its window fills from the program (texts in the user's language, values) shows only once
// filled: its first paint is already in the program's language.
#pragma once

class QWebEnginePage;

namespace tvsk::web
{

// Every document the page loads from now on is laid out and runs, but paints nothing until
// ShowFilledPage, or until kLongestHoldMs have passed should its window never get that far.
void HoldPagesUntilFilled(QWebEnginePage& page);
// The current document paints; what its window put in before this call shows in the first paint.
void ShowFilledPage(QWebEnginePage& page);

constexpr int kLongestHoldMs = 10000;

} // namespace tvsk::web
