// Writes the ".slv" parameter listing: raw values by address, the PLC program and the cam points.
#pragma once

#include <TvskDb/TvskDataRecords.h>
#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskParDbRecords.h>

#include <framework/CString.h>

#include <span>

class CParListWriter
{
public:
    CParListWriter(std::span<const DBPAR> pars, std::span<const DBPLC> plc, std::span<const DBCAMMA> cams)
        : m_pars(pars), m_plc(plc), m_cams(cams)
    {
    }

    // The whole listing with CRLF line ends.
    CString Text() const;
    // Writes the listing to a new file beside path and moves it over path, so a failed write
    // leaves an existing file as it was. False when anything failed.
    bool Write(const char* path) const;

private:
    void AppendParameters(CString& out) const;
    void AppendPlc(CString& out) const;
    void AppendCams(CString& out) const;

    std::span<const DBPAR> m_pars;
    std::span<const DBPLC> m_plc;
    std::span<const DBCAMMA> m_cams;
};
