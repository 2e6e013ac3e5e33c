// Progress of a long transfer and the pace of its line.
#include "TvskTransferProgress.h"

namespace
{

// A word's request and its answer with start, header, data and checksum bytes, 11 bits each
// (start, 8 data, parity, stop), and the time a drive takes to answer.
constexpr int kExchangeBits = 14 * 11;
constexpr int kDriveAnswerMs = 20;
// A line this many times slower than its rate allows is told; exchanges before the judgement.
constexpr int kSlowFactor = 4;
constexpr int kJudgedAfter = 3;

} // namespace

CTvskTransferProgress::CTvskTransferProgress(CTvskHostUi& ui, int total, int baud, const CString& slowFormat)
    : m_ui(ui), m_total(total), m_nominalMs(NominalExchangeMs(baud)), m_slowFormat(slowFormat)
{
}

int CTvskTransferProgress::NominalExchangeMs(int baud)
{
    return baud > 0 ? (kExchangeBits * 1000 + baud - 1) / baud + kDriveAnswerMs : 0;
}

CString CTvskTransferProgress::Note() const
{
    if (m_nominalMs <= 0 || m_done < kJudgedAfter)
        return CString();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
    const long perExchange = static_cast<long>(elapsed.count() / m_done);
    if (perExchange <= static_cast<long>(kSlowFactor) * m_nominalMs)
        return CString();
    CString note;
    note.Format(m_slowFormat.GetString(), static_cast<int>(perExchange), m_nominalMs);
    return note;
}

bool CTvskTransferProgress::Show()
{
    if (!m_cancelled && m_ui.ShowTransferProgress(m_done, m_total, Note()))
        m_cancelled = true;
    return !Cancelled();
}

bool CTvskTransferProgress::Step()
{
    ++m_done;
    return Show();
}
