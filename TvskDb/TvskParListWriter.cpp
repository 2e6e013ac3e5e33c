#include "TvskParListWriter.h"

#include <TvskDb/TvskConvert.h>
#include "TvskTempFile.h"

#include <framework/Truncate.h>

#include <cstring>

namespace
{

void AppendValueLine(CString& out, const char* prefix, const char* address, int value)
{
    out.AppendFormat(value >= 0 ? "%s  %s :  %d\n" : "%s  %s : %d\n", prefix, address, value);
}

} // namespace

CString CParListWriter::Text() const
{
    CString out;
    AppendParameters(out);
    AppendPlc(out);
    AppendCams(out);
    out.Replace("\n", "\r\n");
    return out;
}

void CParListWriter::AppendParameters(CString& out) const
{
    out += "'PARAMETERS' LIST :\n\n";
    for (const DBPAR& par : m_pars)
    {
        if (par.bTmp)
            continue;
        const size_t idLength = strnlen(par.szID, sizeof par.szID);
        const CString prefix(par.szID, static_cast<int>(idLength < 2 ? idLength : 2));
        const CString rest(idLength > 2 ? CString(par.szID + 2, static_cast<int>(idLength - 2)) : CString());
        const int colon = rest.Find(':');
        if (colon >= 0)
        {
            // 32 bits over two words written "high:low": low word first.
            const CString high = rest.Left(colon);
            const CString low = rest.Mid(colon + 1).SpanExcluding(":");
            const DWORD value = TruncateToDWord(par.dblDefVal);
            AppendValueLine(out, prefix, low, static_cast<int>(value & 0xFFFFu));
            AppendValueLine(out, prefix, high, static_cast<int>(value >> 16));
        }
        else if (par.nBitDim != 1)
        {
            const double raw =
                static_cast<double>(par.nScale) * par.dblDefVal + static_cast<double>(par.nOffs);
            AppendValueLine(out, prefix, rest, TvskDoubleToInt(raw));
        }
    }
}

void CParListWriter::AppendPlc(CString& out) const
{
    out += "\n'LUMO-PLC PROGRAMM :\n\n";
    for (const DBPLC& row : m_plc)
    {
        CString line(row.szIstr, static_cast<int>(strnlen(row.szIstr, sizeof row.szIstr)));
        line.MakeLower();
        if (line != "end")
        {
            const int* op = row.iOperands;
            line += ' ';
            if (op[0] != -1)
                line.AppendFormat("%d", op[0]);
            if (op[1] != -1)
            {
                line.AppendFormat(".%d", op[1]);
                if (op[2] != -1)
                {
                    line.AppendFormat(".%d", op[2]);
                    line.Replace('.', ',');
                }
            }
        }
        out += line;
        out += '\n';
    }
}

void CParListWriter::AppendCams(CString& out) const
{
    bool first = true;
    int previousCam = 0;
    for (const DBCAMMA& point : m_cams)
    {
        CString camNo;
        camNo.Format("%d", point.nCamNo);
        if (first || point.nCamNo != previousCam)
        {
            if (point.nCamNo == 0)
                out += "\n'CAM TABLE PTS :\n\n";
            else
                out += "\n'CAM TABLE" + camNo + " PTS :\n\n";
        }
        first = false;
        previousCam = point.nCamNo;
        CString index;
        index.Format("%d", point.nIdx);
        AppendValueLine(out, point.nCamNo == 0 ? CString("Pt") : "Pt" + camNo, index,
                        TvskDoubleToInt(point.dblVal));
    }
}

bool CParListWriter::Write(const char* path) const
{
    if (!path || !*path)
        return false;
    const CString text = Text();
    CTvskTempFile file;
    return file.CreateFor(path) && file.Write(text) && file.Close() && file.RenameTo(path);
}
