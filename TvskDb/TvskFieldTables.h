// Building blocks of the databases' column tables (internal).
#pragma once

#include <TVTextDb/TextDb.h>

#include <cstddef>

// A column of the given file name on member f of record T; a string column's capacity is the member's.
#define TVSK_FIELD_AS(name, type, T, f)                                                                      \
    MEMODB_REC                                                                                               \
    {                                                                                                        \
        name, type, (type) == MDB_STRING ? static_cast<int>(sizeof(T::f)) : 0,                               \
            static_cast<int>(offsetof(T, f))                                                                 \
    }

// A column named after its member.
#define TVSK_FIELD_STR(T, f) TVSK_FIELD_AS(#f, MDB_STRING, T, f)
#define TVSK_FIELD_INT(T, f) TVSK_FIELD_AS(#f, MDB_INT, T, f)
#define TVSK_FIELD_DBL(T, f) TVSK_FIELD_AS(#f, MDB_DOUBLE, T, f)
