#include "PluginImpl.h"

CPluginImpl::~CPluginImpl() = default;

const char* CPluginImpl::GetClassName()
{
    return "";
}

int CPluginImpl::SendCommand(unsigned, intptr_t, intptr_t)
{
    return 0;
}
