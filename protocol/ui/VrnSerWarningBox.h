// The protocol component's warning boxes shown by the window layer.
#pragma once

#include <protocol/WarningSink.h>

class CSharedLibrary;

// A warning box with an exclamation icon, an OK button and no owner.
class CVrnSerWarningBox : public CWarningSink
{
public:
    void ShowWarning(const char* text, const char* caption) override;
};

// Hands this library's warning box to the protocol component loaded as module; false when the
// module has no such hook.
bool InstallVrnSerWarningSink(const CSharedLibrary& module);
