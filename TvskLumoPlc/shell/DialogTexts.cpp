#include "DialogTexts.h"

#include <ui/Wnd.h>

void ReplaceDialogTexts(CWnd& dialog, const CString& caption, const CString& okText,
                        const CString& cancelText)
{
    if (!caption.IsEmpty())
        dialog.SetWindowText(caption);
    if (!okText.IsEmpty())
        dialog.SetDlgItemText(IDOK, okText);
    if (!cancelText.IsEmpty())
        dialog.SetDlgItemText(IDCANCEL, cancelText);
}
