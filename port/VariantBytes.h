// The bytes a VARIANT holds for the port objects: scalar sizes and the data of SAFEARRAYs.
#pragma once

#include <com/SafeArray.h>

#include <functional>

namespace lanyard
{

// 1, 2, 4 or 8 bytes for the integer and real scalars the port objects move; 0 for any other type.
ULONG ScalarSize(VARTYPE vt);

// All the bytes the array's data holds (every dimension's elements); 0 without an array.
ULONG ArrayByteCount(SAFEARRAY* array);

// Runs transfer on the array's locked data and releases it again on every path. The result is the
// failure of the access or the release, else S_OK; done tells what transfer returned.
HRESULT WithArrayData(SAFEARRAY* array, const std::function<bool(BYTE* data, ULONG bytes)>& transfer,
                      bool& done);

} // namespace lanyard
