// The component's exports: class factories and self-registration of the control and its objects.
#include "ZoGraphCtl4Window.h"

#include <com/ComModule.h>

using namespace tvsk::com;

namespace
{

const ClassRegistryEntry kControlEntries[] = {
    {"Control", nullptr, nullptr},
    {"Insertable", nullptr, nullptr},
    {"ToolboxBitmap32", nullptr, "%MODULE%, 101"},
    {"MiscStatus", nullptr, "0"},
    {"MiscStatus\\1", nullptr, "131473"},
    {"Version", nullptr, "1.0"},
};

const ComClass kClasses[] = {
    {CLSID_ZoGraphCtl4, "ZoGraphCtl4 Class", "ZoGraph4.ZoGraphCtl4.1", "ZoGraph4.ZoGraphCtl4", true,
     "Apartment", &LIBID_ZOGRAPH4Lib, true, &CreateObject<CZoGraphCtl4Window>, kControlEntries},
    {CLSID_Track4, "Track4 Class", "ZoGraph4.Track4.1", "ZoGraph4.Track4", true, "Apartment",
     &LIBID_ZOGRAPH4Lib, false, &CreateObject<CTrack4>},
    {CLSID_TrackCollection4, "TrackCollection4 Class", "ZoGraph4.TrackCollection4.1",
     "ZoGraph4.TrackCollection4", true, "Apartment", &LIBID_ZOGRAPH4Lib, false,
     &CreateObject<CTrackCollection4>},
    {CLSID_DescString4, "DescString4 Class", "ZoGraph4.DescString4.1", "ZoGraph4.DescString4", true,
     "Apartment", &LIBID_ZOGRAPH4Lib, false, &CreateObject<CDescString4>},
};
const TypeLibrary kLibrary{LIBID_ZOGRAPH4Lib, "1.0", "ZoGraph4 1.0 Type Library"};

} // namespace

TVSK_COM_MODULE_EXPORTS(kClasses, &kLibrary)
