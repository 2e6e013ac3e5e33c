// The scope's modeless parameter window: eight named parameters read or written one request at a time.
#pragma once

#include <ui/Dialog.h>

#include <array>

class CPluginIntf;

// One pending request, carried out by the scope between its frame reads.
struct OSC_PAR_REQUEST
{
    enum Kind
    {
        NONE,
        READ,
        WRITE
    };
    Kind kind = NONE;
    int row = -1;
    CString name;
    double value = 0.0;
    bool done = false;
    bool ok = false;
};

class CDlgOscParameters : public CDialog
{
public:
    static constexpr int kRows = 8;

    explicit CDlgOscParameters(CPluginIntf* host);

    // The request waiting to be carried out, or null.
    OSC_PAR_REQUEST* Pending();
    // The scope's answer; shown at the next tick.
    void Finish(bool ok, double value);
    void Queue(OSC_PAR_REQUEST::Kind kind, int row);
    const OSC_PAR_REQUEST& Request() const noexcept { return m_Request; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

private:
    CPluginIntf* m_pHost; // not owned
    OSC_PAR_REQUEST m_Request;
};
