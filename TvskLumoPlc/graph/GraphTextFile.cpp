#include "GraphTextFile.h"

#include "GraphManager.h"

#include <ZoSupport/ZoSupport.h>

#include <framework/File.h>

bool WriteGraphTextFile(const CGraphManager* manager, const char* path)
{
    if (!manager)
    {
        ProgramError("LDDoc", __LINE__, "no graph manager");
        return false;
    }
    CString text;
    if (!manager->GetText(text))
        return false;
    text.Replace("\n", "\r\n");

    return CFile::SaveWhole(path, std::string_view(text.GetString(), static_cast<size_t>(text.GetLength())));
}
