#include "RequestJournal.h"

CRequestJournal::~CRequestJournal()
{
    if (m_file)
        std::fclose(m_file);
}

bool CRequestJournal::Open(const std::string& path, std::string& error)
{
    m_file = std::fopen(path.c_str(), "w");
    if (!m_file)
        error = "cannot write the journal " + path;
    return m_file != nullptr;
}

void CRequestJournal::Record(const ServedRequest& request)
{
    if (!m_file)
        return;
    std::fprintf(m_file, "%s\n", Line(request).c_str());
    std::fflush(m_file);
}

std::string CRequestJournal::Line(const ServedRequest& request)
{
    std::string address =
        request.memory ? "M" + std::to_string(request.address) : std::to_string(request.address);
    if (request.bit >= 0)
        address += "." + std::to_string(request.bit);
    return std::string(request.write ? "write " : "read ") + address + " " + std::to_string(request.bits) +
           " " + std::to_string(request.value);
}
