// Typed access to the record tables of the databases' private text databases (internal).
#pragma once

#include <TvskDb/TvskDbErrString.h>
#include <TvskDb/TvskRecDef.h>

#include <limits>
#include <span>

template <class T>
long Count(CRecDef<T>& table)
{
    return static_cast<long>(table.NumRecs());
}

// Record i, null outside 0 .. count - 1.
template <class T>
T* At(CRecDef<T>& table, long i)
{
    return i >= 0 && i <= std::numeric_limits<int>::max() ? table.GetRec(static_cast<int>(i)) : nullptr;
}

template <class T>
CArray<T>& Records(CRecDef<T>& table)
{
    return table.Records();
}

// Appends a copy; the framework's memory exception passes to the caller.
template <class T>
T& Append(CRecDef<T>& table, const T& rec)
{
    CArray<T>& records = table.Records();
    return records[records.Add(rec)];
}

// Replaces the first record, or appends one to an empty table.
template <class T>
void SetSingle(CRecDef<T>& table, const T& rec)
{
    if (T* first = table.GetRec(0))
        *first = rec;
    else
        Append(table, rec);
}

// Removes every record and frees their storage.
template <class T>
void Clear(CRecDef<T>& table)
{
    table.Records().RemoveAll();
}

// The text database of a database class: the syntax all of them share and section registration.
class CTvskTextDb : public CTextDb
{
protected:
    void UseDatabaseSyntax()
    {
        SetSeparators("\t \"");
        SetComment(";");
    }

    // Registers the table as the section; required is the count of columns every row carries.
    template <class T>
    void Register(CRecDef<T>& table, std::span<const MEMODB_REC> fields, const char* keyword, const char* comment,
                  int required = -1)
    {
        table.Init(fields.data(), static_cast<int>(fields.size()));
        RegisterSection(table, keyword, comment);
        if (required >= 0) table.SetNumRqFields(required);
    }
};

// Loads a file into a fresh text database: 0 loaded (file released), 2 syntax error (error text
// set), 3 the file cannot be opened or read.
int LoadTextFile(CTextDb& db, const char* path, CTvskDbErrString& errors);
