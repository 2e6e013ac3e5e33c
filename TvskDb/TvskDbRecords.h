// Records that more than one database holds, with the column tables of their sections.
#pragma once

#include <TVTextDb/TextDb.h>

#include <array>

struct DBDRIVEDB
{
    char szDriveDef[61]; // type^current^voltage
    char szImgPath[261];
    char szDriveWithMotor[17]; // "1": the drive comes with its motor
    double dblD0, dblD1, dblD2, dblD3, dblD4, dblD5, dblD6, dblD7, dblD8, dblD9;
    double dblD10, dblD11, dblD12, dblD13, dblD14, dblD15, dblD16, dblD17, dblD18, dblD19;
};

struct DBMOTORDB
{
    char szMotorDef[61]; // type^size^speed^torque^voltage
    // The five parts of szMotorDef, filled by the motors database; in no file.
    char szType[13];
    char szSize[13];
    char szSpeed[13];
    char szTorque[13];
    char szVoltage[13];
    double dblD0, dblD1, dblD2, dblD3, dblD4, dblD5, dblD6, dblD7, dblD8, dblD9;
    double dblD10, dblD11, dblD12, dblD13, dblD14, dblD15, dblD16, dblD17, dblD18, dblD19;
};

struct DBMOTORENC
{
    char szCodVrn[61]; // encoder code
    char stE0[17];
    char stE1[4];
    char stE2[4];
    char stE3[17];
    char stE4[61];
    char stE5[17];
    char stE6[17];
    char stE7[17];
    char stE8[17];
};

struct DBPLC
{
    char szIstr[101]; // mnemonic, or "COMM:" and a comment
    int iOperands[3]; // -1: absent
};

struct DBSESSVAR
{
    char szVarName[81];
    char szValue[81];
    int bFromFile; // not a column: 1 for variables read from a file or appended by the session data
};

// Drives database D and session data DRIVE: szDriveDef, dblD0..dblD19.
extern const std::array<MEMODB_REC, 21> g_DriveDbFieldsD;
// Drives database D1: all 23 fields.
extern const std::array<MEMODB_REC, 23> g_DriveDbFieldsD1;
// Motors database M and session data MOTID: szMotorDef, dblD0..dblD19.
extern const std::array<MEMODB_REC, 21> g_MotorDbFields;
// Motors database E and session data ENCID: all ten fields.
extern const std::array<MEMODB_REC, 10> g_MotorEncFields;
// PLC of the session data and parameter databases.
extern const std::array<MEMODB_REC, 4> g_PlcFields;
// SVAR of the session data and parameter databases: szVarName, szValue.
extern const std::array<MEMODB_REC, 2> g_SessVarFields;
