#include "TvskDbRecords.h"

#include "TvskFieldTables.h"

#include <cstddef>

namespace
{

constexpr const char* kDataNames[20] = {"dblD0",  "dblD1",  "dblD2",  "dblD3",  "dblD4",  "dblD5",  "dblD6",
                                        "dblD7",  "dblD8",  "dblD9",  "dblD10", "dblD11", "dblD12", "dblD13",
                                        "dblD14", "dblD15", "dblD16", "dblD17", "dblD18", "dblD19"};

// Index access to dblD0..dblD19 relies on the twenty doubles lying side by side.
static_assert(offsetof(DBDRIVEDB, dblD19) - offsetof(DBDRIVEDB, dblD0) == 19 * sizeof(double));
static_assert(offsetof(DBMOTORDB, dblD19) - offsetof(DBMOTORDB, dblD0) == 19 * sizeof(double));

// The leading columns followed by the twenty data columns that start at firstData.
template <size_t Lead>
constexpr std::array<MEMODB_REC, Lead + 20> WithData(const std::array<MEMODB_REC, Lead>& lead,
                                                     size_t firstData)
{
    std::array<MEMODB_REC, Lead + 20> rows{};
    for (size_t i = 0; i < Lead; ++i)
        rows[i] = lead[i];
    for (size_t i = 0; i < 20; ++i)
        rows[Lead + i] = {kDataNames[i], MDB_DOUBLE, 0, static_cast<int>(firstData + i * sizeof(double))};
    return rows;
}

} // namespace

const std::array<MEMODB_REC, 21> g_DriveDbFieldsD =
    WithData<1>({TVSK_FIELD_STR(DBDRIVEDB, szDriveDef)}, offsetof(DBDRIVEDB, dblD0));

const std::array<MEMODB_REC, 23> g_DriveDbFieldsD1 =
    WithData<3>({TVSK_FIELD_STR(DBDRIVEDB, szDriveDef), TVSK_FIELD_STR(DBDRIVEDB, szImgPath),
                 TVSK_FIELD_STR(DBDRIVEDB, szDriveWithMotor)},
                offsetof(DBDRIVEDB, dblD0));

const std::array<MEMODB_REC, 21> g_MotorDbFields =
    WithData<1>({TVSK_FIELD_STR(DBMOTORDB, szMotorDef)}, offsetof(DBMOTORDB, dblD0));

const std::array<MEMODB_REC, 10> g_MotorEncFields = {
    TVSK_FIELD_STR(DBMOTORENC, szCodVrn), TVSK_FIELD_STR(DBMOTORENC, stE0), TVSK_FIELD_STR(DBMOTORENC, stE1),
    TVSK_FIELD_STR(DBMOTORENC, stE2),     TVSK_FIELD_STR(DBMOTORENC, stE3), TVSK_FIELD_STR(DBMOTORENC, stE4),
    TVSK_FIELD_STR(DBMOTORENC, stE5),     TVSK_FIELD_STR(DBMOTORENC, stE6), TVSK_FIELD_STR(DBMOTORENC, stE7),
    TVSK_FIELD_STR(DBMOTORENC, stE8)};

const std::array<MEMODB_REC, 4> g_PlcFields = {TVSK_FIELD_STR(DBPLC, szIstr),
                                               TVSK_FIELD_AS("iOperands[ 0 ]", MDB_INT, DBPLC, iOperands[0]),
                                               TVSK_FIELD_AS("iOperands[ 1 ]", MDB_INT, DBPLC, iOperands[1]),
                                               TVSK_FIELD_AS("iOperands[ 2 ]", MDB_INT, DBPLC, iOperands[2])};

const std::array<MEMODB_REC, 2> g_SessVarFields = {TVSK_FIELD_STR(DBSESSVAR, szVarName),
                                                   TVSK_FIELD_STR(DBSESSVAR, szValue)};
