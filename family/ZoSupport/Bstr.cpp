#include "Bstr.h"

CBstr::CBstr(const char* text) : m_bstr(tvsk::com::BstrFromUtf8(text ? text : "")) {}

CBstr::CBstr(const CString& text) : CBstr(text.GetString()) {}

CBstr::~CBstr()
{
    SysFreeString(m_bstr);
}
