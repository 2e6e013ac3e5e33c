// The comparison report "DiffLog.txt": the parameters and the PLC program of two sides, side 1
// the configuration as it was, side 2 the drive or another data file.
#pragma once

#include <TvskDb/TvskDbRecords.h>

#include <framework/CString.h>

#include <ctime>
#include <string>
#include <vector>

class CTvskCompareReport
{
public:
    // configPath empty: a configuration never saved; secondFile null: side 2 is the drive.
    CTvskCompareReport(const CString& configPath, const char* secondFile, bool onlyDiffs);

    // A value as the report shows it ("%.10g").
    static CString ValueText(double value);
    // Side 2's text of a parameter it does not have.
    static constexpr const char* kMissing = "#####";

    void AddPar(const char* id, const CString& side1, const CString& side2, const char* description);
    // The programs' instructions in order; side 1 or 2.
    void AddInstruction(int side, const DBPLC& instruction);

    // Creates or truncates the file; false when it cannot be written whole.
    bool Write(const char* path, const std::tm& when) const;

private:
    struct ParLine
    {
        std::string id;
        std::string side1;
        std::string side2;
        std::string description;
    };
    struct Program
    {
        std::vector<std::string> texts;
        bool ended = false;
    };

    void AppendHeader(std::string& text) const;
    void AppendParLines(std::string& text) const;
    void AppendPlcLines(std::string& text) const;

    std::string m_configPath;
    std::string m_secondFile;
    bool m_withFile;
    bool m_onlyDiffs;
    std::vector<ParLine> m_pars;
    Program m_programs[2];
};
