// CBstr: a BSTR copy of a text, owned and freed by the holder, for component calls.
#pragma once

#include <com/Bstr.h>
#include <framework/CString.h>

class CBstr
{
public:
    explicit CBstr(const char* text);
    explicit CBstr(const CString& text);
    ~CBstr();
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;

    // The string stays owned by this object.
    operator BSTR() const noexcept { return m_bstr; }
    BSTR Get() const noexcept { return m_bstr; }

private:
    BSTR m_bstr;
};
