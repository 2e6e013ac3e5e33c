#include "TvskDbRecords.h"

#include <cstddef>

namespace {

constexpr const char* kDataNames[20] = {"dblD0",  "dblD1",  "dblD2",  "dblD3",  "dblD4",  "dblD5",  "dblD6",
                                        "dblD7",  "dblD8",  "dblD9",  "dblD10", "dblD11", "dblD12", "dblD13",
                                        "dblD14", "dblD15", "dblD16", "dblD17", "dblD18", "dblD19"};

// Index access to dblD0..dblD19 relies on the twenty doubles lying side by side.
static_assert(offsetof(DBDRIVEDB, dblD19) - offsetof(DBDRIVEDB, dblD0) == 19 * sizeof(double));
static_assert(offsetof(DBMOTORDB, dblD19) - offsetof(DBMOTORDB, dblD0) == 19 * sizeof(double));

// The leading columns followed by the twenty data columns that start at firstData.
template <size_t Lead>
constexpr std::array<MEMODB_REC, Lead + 20> WithData(const std::array<MEMODB_REC, Lead>& lead, size_t firstData)
{
    std::array<MEMODB_REC, Lead + 20> rows{};
    for (size_t i = 0; i < Lead; ++i) rows[i] = lead[i];
    for (size_t i = 0; i < 20; ++i)
        rows[Lead + i] = {kDataNames[i], MDB_DOUBLE, 0, static_cast<int>(firstData + i * sizeof(double))};
    return rows;
}

constexpr MEMODB_REC IntField(const char* name, size_t offset) { return {name, MDB_INT, 0, static_cast<int>(offset)}; }

} // namespace

// The column is named after the member, its capacity is the member's.
#define TVSK_STRING_FIELD(rec, member)                                                                                 \
    MEMODB_REC { #member, MDB_STRING, static_cast<int>(sizeof(rec::member)), static_cast<int>(offsetof(rec, member)) }

const std::array<MEMODB_REC, 21> g_DriveDbFieldsD =
    WithData<1>({TVSK_STRING_FIELD(DBDRIVEDB, szDriveDef)}, offsetof(DBDRIVEDB, dblD0));

const std::array<MEMODB_REC, 23> g_DriveDbFieldsD1 =
    WithData<3>({TVSK_STRING_FIELD(DBDRIVEDB, szDriveDef), TVSK_STRING_FIELD(DBDRIVEDB, szImgPath),
                 TVSK_STRING_FIELD(DBDRIVEDB, szDriveWithMotor)},
                offsetof(DBDRIVEDB, dblD0));

const std::array<MEMODB_REC, 21> g_MotorDbFields =
    WithData<1>({TVSK_STRING_FIELD(DBMOTORDB, szMotorDef)}, offsetof(DBMOTORDB, dblD0));

const std::array<MEMODB_REC, 10> g_MotorEncFields = {
    TVSK_STRING_FIELD(DBMOTORENC, szCodVrn), TVSK_STRING_FIELD(DBMOTORENC, stE0), TVSK_STRING_FIELD(DBMOTORENC, stE1),
    TVSK_STRING_FIELD(DBMOTORENC, stE2),     TVSK_STRING_FIELD(DBMOTORENC, stE3), TVSK_STRING_FIELD(DBMOTORENC, stE4),
    TVSK_STRING_FIELD(DBMOTORENC, stE5),     TVSK_STRING_FIELD(DBMOTORENC, stE6), TVSK_STRING_FIELD(DBMOTORENC, stE7),
    TVSK_STRING_FIELD(DBMOTORENC, stE8)};

const std::array<MEMODB_REC, 4> g_PlcFields = {
    TVSK_STRING_FIELD(DBPLC, szIstr), IntField("iOperands[ 0 ]", offsetof(DBPLC, iOperands)),
    IntField("iOperands[ 1 ]", offsetof(DBPLC, iOperands) + sizeof(int)),
    IntField("iOperands[ 2 ]", offsetof(DBPLC, iOperands) + 2 * sizeof(int))};

const std::array<MEMODB_REC, 2> g_SessVarFields = {TVSK_STRING_FIELD(DBSESSVAR, szVarName),
                                                   TVSK_STRING_FIELD(DBSESSVAR, szValue)};
