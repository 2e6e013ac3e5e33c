// Whether the page engine starts.
#include "EngineCheck.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <memory>

namespace tvsk::web
{

bool PageEngineStarts()
{
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    if (!profile)
        return false;
    const auto page = std::make_unique<QWebEnginePage>(profile);
    return page->profile() == profile;
}

} // namespace tvsk::web
