// The page viewer's plug-in object: stores what the host hands it and runs the viewer dialog.
#pragma once

#include <Modlode/PluginImpl.h>
#include <framework/CString.h>

class CCmdTarget;
class CPluginIntf;
class CWnd;

class CPagerPlugin : public CPluginImpl
{
public:
    const char* GetClassName() override { return "TvskPagerClass"; }
    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override;

private:
    void Run();

    CString m_pagePath;
    CPluginIntf* m_pHost = nullptr;
    CCmdTarget* m_pAutomation = nullptr;
    CWnd* m_pParent = nullptr;
};
