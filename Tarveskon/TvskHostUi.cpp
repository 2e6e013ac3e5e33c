// The host of a manager without windows.
#include "TvskHostUi.h"

#include <ui/UiDefs.h>

#include <array>

int CTvskHeadlessUi::MessageBox(CWnd*, const CString&, UINT type)
{
    using Buttons = std::array<int, 3>;
    static constexpr std::array<Buttons, 6> kButtons = {{
        {IDOK, IDOK, IDOK},
        {IDOK, IDCANCEL, IDCANCEL},
        {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO, IDNO},
        {IDRETRY, IDCANCEL, IDCANCEL},
    }};
    const UINT kind = type & MB_TYPEMASK;
    if (kind >= kButtons.size())
        return IDOK;
    const int index = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
    return kButtons[kind][static_cast<size_t>(index)];
}
