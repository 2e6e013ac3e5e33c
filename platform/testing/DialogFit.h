// What a dialog shows whole: texts its controls cut and controls that meet on screen though their
// template keeps them apart, at the desktop font sizes users have.
#pragma once

#include <ui/Dialog.h>

#include <QFont>

#include <string>
#include <vector>

namespace tvsk::testing
{

// The desktop's sans serif font at the given size becomes the application's for the scope.
class ScopedDesktopFont
{
public:
    explicit ScopedDesktopFont(int points);
    ~ScopedDesktopFont();
    ScopedDesktopFont(const ScopedDesktopFont&) = delete;
    ScopedDesktopFont& operator=(const ScopedDesktopFont&) = delete;

private:
    QFont m_previous;
};

// The font sizes of the usual desktops.
inline constexpr int kDesktopFontPoints[] = {9, 11};

// Every static, button, check box, radio and group caption of the window whose text is wider than
// its control's room (or, for a wrapping static, needs more lines than the control holds), one line
// each: "'text' needs N px, has M".
std::vector<std::string> CutTexts(const CWnd& window);
// Pairs of template controls apart in the template that meet on screen.
std::vector<std::string> NewOverlaps(const CWnd& dialog, const DialogTemplate& dialogTemplate);
// Both of the above.
std::vector<std::string> FitProblems(const CWnd& dialog, const DialogTemplate& dialogTemplate);
// The template made into a plain dialog as it stands, in the current application font (a
// component's place stays an empty static), and checked as above.
std::vector<std::string> TemplateFitProblems(const DialogTemplate& dialogTemplate);

} // namespace tvsk::testing
