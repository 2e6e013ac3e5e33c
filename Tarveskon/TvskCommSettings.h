// Reading the drive settings string: "VrnSer:0,200#COM:1,9600,E,8,1" is protocol, address and
// time-out, then the port part.
#pragma once

#include <framework/CString.h>

namespace tvsk::comm
{

// "%s  ADDR:%s": the port text (the port part without ':' cut before its second ',', then every
// ',' a ':'; "COM1:9600") and the address between the first ':' and the next ','.
CString Description(const CString& settings);
CString Address(const CString& settings);
// 0 with the rate of a "COM:" or "MODEM:" port; 9 (rate 0) when there is none or it is not a
// multiple of 9600.
int BaudRate(const CString& settings, int* baud);

} // namespace tvsk::comm
