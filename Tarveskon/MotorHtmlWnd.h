// The motor selection page: five cascaded selects (type, size, speed, torque, voltage) and the
// encoder select filled from the motors database, twenty motor data ("idD6" a radio group), five
// encoder fields, the picture and the display string.
#pragma once

#include "SelectPage.h"
#include "TvskHtmlEvent.h"

class CMotorHtmlWnd : public CSelectHtmlWnd
{
public:
    void UpdateSelectCtrl();
    void UpdateMotorValue();
    void UpdateEncoderValue();
    // The value fields, "idD6" first, into the current motor record; a field that is no number
    // keeps its datum and shows it again.
    void GetMotorValue();

protected:
    CHtmlEventSink& Sink() override { return m_sink; }
    bool ReportsCreationFailure() const override { return false; }
    void OnDocumentComplete(CString url) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnHtmlSelChange(const char* name, const char* value);
    void OnHtmlRadioChange(const char* name, const char* value);
    void OnUpdateValues();
    void ReadMotorDatum(int i);

    CMotorHtmlEvent m_sink;
};
