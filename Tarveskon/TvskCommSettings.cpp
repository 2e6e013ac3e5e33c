// Reading the drive settings string.
#include "TvskCommSettings.h"

#include <cstdlib>

namespace tvsk::comm
{

CString Address(const CString& settings)
{
    const int colon = settings.Find(':');
    if (colon < 0)
        return CString();
    const int comma = settings.Find(',', colon + 1);
    return comma < 0 ? settings.Mid(colon + 1) : settings.Mid(colon + 1, comma - colon - 1);
}

CString Description(const CString& settings)
{
    const int hash = settings.Find('#');
    CString port = hash < 0 ? settings : settings.Mid(hash + 1);
    port.Replace(":", "");
    const int first = port.Find(',');
    const int second = first < 0 ? -1 : port.Find(',', first + 1);
    port = second < 0 ? CString() : port.Left(second);
    port.Replace(',', ':');
    return FormatString("%s  ADDR:%s", port.GetString(), Address(settings).GetString());
}

int BaudRate(const CString& settings, int* baud)
{
    int start = settings.Find("COM:");
    int prefix = 4;
    if (start < 0)
    {
        start = settings.Find("MODEM:");
        prefix = 6;
    }
    if (baud)
        *baud = 0;
    if (start < 0)
        return 9;
    const int first = settings.Find(',', start + prefix);
    if (first < 0)
        return 9;
    const int second = settings.Find(',', first + 1);
    const CString rate = second < 0 ? settings.Mid(first + 1) : settings.Mid(first + 1, second - first - 1);
    const int value = std::atoi(rate);
    if (value <= 0 || value % 9600 != 0)
        return 9;
    if (baud)
        *baud = value;
    return 0;
}

} // namespace tvsk::comm
