// The script events the manager announces its operations with. Until a script runs nothing may
// fire; a handler vetoes an operation by setting the manager's CanRW false.
#pragma once

class CTvskScriptEvents
{
public:
    virtual ~CTvskScriptEvents() = default;
    // Whether scripts receive events at all.
    virtual bool MayFire() const { return false; }
    // Each answers whether a handler received the event.
    virtual bool ChangeValue(const char* /*name*/, double /*value*/) { return false; }
    virtual bool BeforeWritePar(const char* /*name*/, double /*raw*/) { return false; }
    virtual bool AfterWritePar(const char* /*name*/, double /*raw*/) { return false; }
    virtual bool BeforeReadPar(const char* /*name*/, double /*value*/) { return false; }
    virtual bool AfterReadPar(const char* /*name*/, double /*value*/) { return false; }
    virtual bool LoadDefault(int /*kind*/) { return false; }
    virtual bool ConnectionTimeout() { return false; }
    // The bulk transfers, each announced before and after.
    virtual bool BeforeWritePLC() { return false; }
    virtual bool AfterWritePLC() { return false; }
    virtual bool BeforeReadAll() { return false; }
    virtual bool AfterReadAll() { return false; }
    virtual bool BeforeWriteAll() { return false; }
    virtual bool AfterWriteAll() { return false; }
    virtual bool BeforeWriteCams() { return false; }
    virtual bool AfterWriteCams() { return false; }
    // The configuration's file, the drive's permanent memory and the main window's clock.
    virtual bool LoadFile(const char* /*path*/) { return false; }
    virtual bool UnloadFile(const char* /*path*/) { return false; }
    virtual bool BeforeSaveParams() { return false; }
    virtual bool AfterSaveParams() { return false; }
    virtual bool BeforeSavePlc() { return false; }
    virtual bool AfterSavePlc() { return false; }
    virtual bool OnTimer() { return false; }
};
