// A line per request the drives served: "read|write ADDRESS BITS VALUE", ADDRESS a parameter
// word ("42"), a bit ("42.11") or a memory byte ("M16384"), VALUE unsigned.
#pragma once

#include "DriveLine.h"

#include <cstdio>
#include <string>

class CRequestJournal
{
public:
    CRequestJournal() = default;
    ~CRequestJournal();
    CRequestJournal(const CRequestJournal&) = delete;
    CRequestJournal& operator=(const CRequestJournal&) = delete;

    // Starts the file afresh.
    bool Open(const std::string& path, std::string& error);
    // Written at once, so a test reads it while the drive runs.
    void Record(const ServedRequest& request);

    static std::string Line(const ServedRequest& request);

private:
    std::FILE* m_file = nullptr;
};
