// The manager's script events fired through the automation object's event interface.
#pragma once

#include "TvskIntf.h"
#include "TvskScriptEvents.h"

class CTvskIntfEvents : public CTvskScriptEvents
{
public:
    explicit CTvskIntfEvents(CTvskIntf& intf) : m_intf(intf) {}

    // The script manager switches firing on while a script runs.
    void SetRunning(bool running) { m_bRunning = running; }

    bool MayFire() const override { return m_bRunning; }
    bool ChangeValue(const char* name, double value) override { return Fire(7, name, value); }
    bool BeforeWritePar(const char* name, double raw) override { return Fire(5, name, raw); }
    bool AfterWritePar(const char* name, double raw) override { return Fire(6, name, raw); }
    bool BeforeReadPar(const char* name, double value) override { return Fire(3, name, value); }
    bool AfterReadPar(const char* name, double value) override { return Fire(4, name, value); }
    bool LoadDefault(int kind) override;
    bool ConnectionTimeout() override { return Fire(22); }
    bool BeforeWritePLC() override { return Fire(12); }
    bool AfterWritePLC() override { return Fire(13); }
    bool BeforeReadAll() override { return Fire(8); }
    bool AfterReadAll() override { return Fire(9); }
    bool BeforeWriteAll() override { return Fire(10); }
    bool AfterWriteAll() override { return Fire(11); }
    bool BeforeWriteCams() override { return Fire(16); }
    bool AfterWriteCams() override { return Fire(17); }

private:
    bool Fire(DISPID number);
    bool Fire(DISPID number, const char* name, double value);

    CTvskIntf& m_intf;
    bool m_bRunning = false;
};
