// The entry of this protocol in the list of installed protocols under
// HKEY_LOCAL_MACHINE "Software\MurnApps\Tetherdesk1".
#pragma once

#include <com/ComBase.h>

// Writes "ProtDesc9", "ProtName9" and "ProtIntf9"; E_FAIL when the key or a value cannot be written.
HRESULT RegisterProtocolEntry();
// Deletes the three values when the key exists; a missing key is no failure.
void UnregisterProtocolEntry();
