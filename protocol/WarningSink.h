// Where the protocol object's warning boxes go. The window layer installs one that shows a real
// box (exclamation icon, OK button, no owner); tests install one that counts.
#pragma once

class CWarningSink
{
public:
    virtual ~CWarningSink() = default;
    virtual void ShowWarning(const char* text, const char* caption) = 0;
};

// Until a window layer installs its sink the warning goes to standard error.
class CStderrWarningSink : public CWarningSink
{
public:
    void ShowWarning(const char* text, const char* caption) override;
};

// The sink every protocol object of the process uses; null puts the standard error one back.
// Returns the previous sink.
CWarningSink* SetVrnSerWarningSink(CWarningSink* sink);
CWarningSink& VrnSerWarningSink();
