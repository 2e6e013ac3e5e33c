// Typed access to the record tables of the databases' private text databases (internal).
#pragma once

#include <TvskDb/TvskDbErrString.h>
#include <TvskDb/TvskRecDef.h>

#include <new>
#include <span>
#include <utility>

template <class T> long Count(CRecDef<T>& table)
{
    return static_cast<long>(table.NumRecs());
}

// Record i, null outside 0 .. count - 1.
template <class T> T* At(CArray<T>& records, long i)
{
    return i >= 0 && i < records.GetSize() ? &records[i] : nullptr;
}

template <class T> T* At(CRecDef<T>& table, long i)
{
    return At(table.Records(), i);
}

template <class T> CArray<T>& Records(CRecDef<T>& table)
{
    return table.Records();
}

// The first record that satisfies the predicate, null when none.
template <class T, class Predicate> T* FirstWhere(CArray<T>& records, Predicate predicate)
{
    for (T& record : records)
        if (predicate(record))
            return &record;
    return nullptr;
}

template <class T, class Predicate> T* FirstWhere(CRecDef<T>& table, Predicate predicate)
{
    return FirstWhere(table.Records(), predicate);
}

// Appends a copy; the framework's memory exception passes to the caller.
template <class T> T& Append(CRecDef<T>& table, const T& rec)
{
    CArray<T>& records = table.Records();
    return records[records.Add(rec)];
}

// Replaces the first record, or appends one to an empty table.
template <class T> void SetSingle(CRecDef<T>& table, const T& rec)
{
    if (T* first = table.GetRec(0))
        *first = rec;
    else
        Append(table, rec);
}

// Removes every record and frees their storage.
template <class T> void Clear(CRecDef<T>& table)
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
    void Register(CRecDef<T>& table, std::span<const MEMODB_REC> fields, const char* keyword,
                  const char* comment, int required = -1)
    {
        table.Init(fields.data(), static_cast<int>(fields.size()));
        RegisterSection(table, keyword, comment);
        if (required >= 0)
            table.SetNumRqFields(required);
    }
};

// Loads a file into a fresh text database: 0 loaded (file released), 1 out of memory, 2 syntax
// error (error text set, naming reportedName when given), 3 the file cannot be opened or read.
int LoadTextFile(CTextDb& db, const char* path, CTvskDbErrString& errors, const char* reportedName = nullptr);
// The file opens and holds no byte.
bool IsEmptyFile(const char* path);
// A file without the rows its kind requires is damaged: sets the error text and answers 2.
int RefuseMissingRows(CTvskDbErrString& errors, const char* path, const char* info);

// Loads the file into a new text database of class Db and hands it to owner only when it loaded;
// owner keeps what it held otherwise. Answers as LoadTextFile, 1 also when Db cannot be made.
template <class Db, class Owner>
int LoadNewTextDb(Owner& owner, const char* path, CTvskDbErrString& errors,
                  const char* reportedName = nullptr)
{
    Owner fresh(new (std::nothrow) Db);
    if (!fresh)
        return 1;
    const int result = LoadTextFile(*fresh, path, errors, reportedName);
    if (result == 0)
        owner = std::move(fresh);
    return result;
}

// Makes an empty text database of class Db unless one is open: 0, or -1 when one is open or
// memory runs out.
template <class Db, class Owner> int CreateTextDb(Owner& owner, int& open)
{
    if (open)
        return -1;
    owner.reset(new (std::nothrow) Db);
    if (!owner)
        return -1;
    open = 1;
    return 0;
}
