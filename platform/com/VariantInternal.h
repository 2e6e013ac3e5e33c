// Helpers shared by the variant sources.
#pragma once

#include "Variant.h"

namespace tvsk::com::detail
{
// The value a reference points to, as a variant that shares (does not own) its contents.
HRESULT Dereference(const VARIANT* src, VARIANT& view);
} // namespace tvsk::com::detail
