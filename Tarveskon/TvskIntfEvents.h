// The manager's script events fired through the automation object's event interface.
#pragma once

#include "TvskIntf.h"
#include "TvskScriptEvents.h"

#include <functional>

class CTvskIntfEvents : public CTvskScriptEvents
{
public:
    explicit CTvskIntfEvents(CTvskIntf& intf) : m_intf(intf) {}

    // Events fire while this answers true: while the script manager runs a script.
    void SetRunning(std::function<bool()> running) { m_running = std::move(running); }

    bool MayFire() const override { return m_running && m_running(); }
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
    bool LoadFile(const char* path) override { return Fire(1, path); }
    bool UnloadFile(const char* path) override { return Fire(2, path); }
    bool OnTimer() override { return Fire(14); }
    bool BeforeSaveParams() override { return Fire(18); }
    bool BeforeSavePlc() override { return Fire(19); }
    bool AfterSaveParams() override { return Fire(20); }
    bool AfterSavePlc() override { return Fire(21); }

private:
    bool Fire(DISPID number);
    bool Fire(DISPID number, const char* text);
    bool Fire(DISPID number, const char* name, double value);

    CTvskIntf& m_intf;
    std::function<bool()> m_running;
};
