// The component's exports: its class factory and self-registration.
#include "JyHtml2Mng.h"

#include <com/ComModule.h>

using namespace tvsk::com;

namespace
{

const ClassRegistryEntry kControlEntries[] = {
    {"Control", nullptr, nullptr}, {"ToolboxBitmap32", nullptr, "%MODULE%, 101"},
    {"MiscStatus", nullptr, "0"},  {"MiscStatus\\1", nullptr, "132497"},
    {"Version", nullptr, "1.0"},
};

const ComClass kClasses[] = {{CLSID_JyHtml2Mng, "JyHtml2Mng Class", "JyHtml2.JyHtml2Mng.1",
                              "JyHtml2.JyHtml2Mng", true, "Apartment", &LIBID_JYHTML2Lib, true,
                              &CreateObject<CJyHtml2Mng>, kControlEntries}};
const TypeLibrary kLibrary{LIBID_JYHTML2Lib, "1.0", "JyHtml2 1.0 Type Library"};

} // namespace

TVSK_COM_MODULE_EXPORTS(kClasses, &kLibrary)
