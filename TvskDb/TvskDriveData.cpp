#include "TvskDriveData.h"

#include <cstddef>
#include <cstring>

namespace
{

constexpr int kDataNum = 20;

bool IsDataIndex(int i)
{
    return i >= 0 && i < kDataNum;
}

CString DataName(int i)
{
    return IsDataIndex(i) ? FormatString("D%d", i) : CString();
}

// The i-th of dblD0..dblD19 of a record whose dblD0 lies at firstData.
template <class Rec> double GetData(const Rec* rec, size_t firstData, int i)
{
    double v = 0.0;
    if (rec && IsDataIndex(i))
        std::memcpy(&v,
                    reinterpret_cast<const char*>(rec) + firstData + static_cast<size_t>(i) * sizeof(double),
                    sizeof v);
    return v;
}

template <class Rec> void SetData(Rec* rec, size_t firstData, int i, double v)
{
    if (rec && IsDataIndex(i))
        std::memcpy(reinterpret_cast<char*>(rec) + firstData + static_cast<size_t>(i) * sizeof(double), &v,
                    sizeof v);
}

struct TextField
{
    size_t offset;
    size_t size;
};

constexpr TextField kEncoderTexts[9] = {{offsetof(DBMOTORENC, stE0), sizeof(DBMOTORENC::stE0)},
                                        {offsetof(DBMOTORENC, stE1), sizeof(DBMOTORENC::stE1)},
                                        {offsetof(DBMOTORENC, stE2), sizeof(DBMOTORENC::stE2)},
                                        {offsetof(DBMOTORENC, stE3), sizeof(DBMOTORENC::stE3)},
                                        {offsetof(DBMOTORENC, stE4), sizeof(DBMOTORENC::stE4)},
                                        {offsetof(DBMOTORENC, stE5), sizeof(DBMOTORENC::stE5)},
                                        {offsetof(DBMOTORENC, stE6), sizeof(DBMOTORENC::stE6)},
                                        {offsetof(DBMOTORENC, stE7), sizeof(DBMOTORENC::stE7)},
                                        {offsetof(DBMOTORENC, stE8), sizeof(DBMOTORENC::stE8)}};

} // namespace

int CTvskDriveData::GetDriveDataNum() const
{
    return kDataNum;
}
CString CTvskDriveData::GetDriveRecName(int i) const
{
    return DataName(i);
}
void CTvskDriveData::SetDriveRecVal(DBDRIVEDB* rec, int i, double v) const
{
    SetData(rec, offsetof(DBDRIVEDB, dblD0), i, v);
}
double CTvskDriveData::GetDriveRecVal(const DBDRIVEDB* rec, int i) const
{
    return GetData(rec, offsetof(DBDRIVEDB, dblD0), i);
}

int CTvskMotorData::GetMotorDataNum() const
{
    return kDataNum;
}
CString CTvskMotorData::GetMotorRecName(int i) const
{
    return DataName(i);
}
void CTvskMotorData::SetMotorRecVal(DBMOTORDB* rec, int i, double v) const
{
    SetData(rec, offsetof(DBMOTORDB, dblD0), i, v);
}
double CTvskMotorData::GetMotorRecVal(const DBMOTORDB* rec, int i) const
{
    return GetData(rec, offsetof(DBMOTORDB, dblD0), i);
}

CString CTvskMotorData::GetEncoderRecVal(const DBMOTORENC* rec, int i) const
{
    if (!rec || i < 0 || i > 8)
        return CString();
    const TextField& field = kEncoderTexts[i];
    const char* text = reinterpret_cast<const char*>(rec) + field.offset;
    // A record filled by hand may lack the terminator: never read past the array.
    return CString(text, static_cast<int>(strnlen(text, field.size)));
}
