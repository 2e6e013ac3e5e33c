// Writes the registered record tables as the text of a database file.
#pragma once

#include "RecDefIntf.h"

#include <string>
#include <vector>

class CTextDbWriter
{
public:
    // The whole file: the version line (when version is 0 or more), then each section's comment
    // block and rows in registration order. Strings are always quoted.
    static std::string Write(const std::vector<CRecDefIntf*>& tables, int version);

private:
    static void WriteRow(CRecDefIntf& table, std::string& out);
    static void WriteQuoted(const CString& text, std::string& out);
};
