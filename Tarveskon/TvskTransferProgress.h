// How far a long transfer got and whether the line keeps its pace, shown in the window layer's
// progress window, whose Cancel is asked between two exchanges.
#pragma once

#include "TvskHostUi.h"

#include <chrono>

class CTvskTransferProgress
{
public:
    // baud 0: the line's rate is unknown and its pace is not judged. slowFormat takes the
    // milliseconds an exchange took and the milliseconds the line's rate lets one take.
    CTvskTransferProgress(CTvskHostUi& ui, int total, int baud, const CString& slowFormat);
    // Shows the count and, on a slow line, the note: before the first exchange, then after each
    // (Step). False once the user asked to cancel with exchanges left.
    bool Show();
    bool Step();
    int Done() const { return m_done; }
    int Total() const { return m_total; }
    // The user cancelled before the last exchange.
    bool Cancelled() const { return m_cancelled && m_done < m_total; }
    // A transfer whose later part is known only after its first.
    void SetTotal(int total) { m_total = total; }
    // What one exchange of a word is allowed at the line's rate, in milliseconds; 0 when unknown.
    static int NominalExchangeMs(int baud);

private:
    CString Note() const;

    CTvskHostUi& m_ui;
    int m_total;
    int m_nominalMs;
    CString m_slowFormat;
    int m_done = 0;
    bool m_cancelled = false;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
