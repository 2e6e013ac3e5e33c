#include "RecDefIntf.h"

void* CRecDefIntf::RecPtr(int)
{
    return nullptr;
}
void CRecDefIntf::SetField(int, const char*) {}
void CRecDefIntf::StoreRec(int) {}
int CRecDefIntf::SetRec(int)
{
    return 0;
}
MemoDbType CRecDefIntf::FieldType(int) const
{
    return MDB_NONE;
}
CString CRecDefIntf::GetField(int) const
{
    return CString();
}
unsigned long CRecDefIntf::NumRecs() const
{
    return 0;
}
void CRecDefIntf::AddRec() {}
void CRecDefIntf::Clean() {}
const char* CRecDefIntf::FieldName(unsigned short) const
{
    return nullptr;
}
