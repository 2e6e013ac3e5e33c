// Default values of a parameter file (".par"): the PAR and PARW rows' identifier, default,
// width, scale and offset, as raw drive values.
#pragma once

#include "SimulatedDrive.h"

#include <string>
#include <vector>

struct ParDefault
{
    int address;
    int subAddress; // the bit of a 1-bit parameter
    int bitWidth;   // 1, up to 16, or 32
    DWORD raw;      // default times scale plus offset, rounded
};

// The rows of the file's PAR and PARW sections; false when the file cannot be read.
bool ReadParDefaults(const char* path, std::vector<ParDefault>& defaults, std::string& error);
void ApplyParDefaults(const std::vector<ParDefault>& defaults, CSimulatedDrive& drive);
// Cut a text-database line into its fields: tab, blank and double quote separate, quotes hold
// anything ("" inside is one quote), ";" outside quotes ends the row.
std::vector<std::string> ParFields(const std::string& line);
