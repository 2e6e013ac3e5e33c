// Building blocks of the databases' own column tables (internal).
#pragma once

#include <TVTextDb/TextDb.h>

#include <cstddef>

#define TVSK_FIELD_STR(T, f) MEMODB_REC{#f, MDB_STRING, static_cast<int>(sizeof(T::f)), static_cast<int>(offsetof(T, f))}
#define TVSK_FIELD_INT(T, f) MEMODB_REC{#f, MDB_INT, 0, static_cast<int>(offsetof(T, f))}
#define TVSK_FIELD_DBL(T, f) MEMODB_REC{#f, MDB_DOUBLE, 0, static_cast<int>(offsetof(T, f))}
