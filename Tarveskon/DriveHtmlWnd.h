// The drive selection page: three cascaded selects (type, rated current, voltage) filled from the
// drives database, twenty data fields, the picture and the display string.
#pragma once

#include "SelectPage.h"
#include "TvskHtmlEvent.h"

class CDriveHtmlWnd : public CSelectHtmlWnd
{
public:
    void UpdateSelectCtrl();
    void UpdateDriveValue();
    // The value fields into the current drive record; a field that is no number keeps its datum
    // and shows it again.
    void GetDriveValue();
    const CString& LastChangeName() const { return m_strLastName; }
    const CString& LastChangeValue() const { return m_strLastValue; }

protected:
    CHtmlEventSink& Sink() override { return m_sink; }
    bool ReportsCreationFailure() const override { return true; }
    void OnDocumentComplete(CString url) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnHtmlSelChange(const char* name, const char* value);

    CString m_strLastName;
    CString m_strLastValue;
    CDriveHtmlEvent m_sink;
};
