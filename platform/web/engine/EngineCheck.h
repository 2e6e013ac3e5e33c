// Whether the page engine starts in this process.
#pragma once

namespace tvsk::web
{

// Makes a page of the default profile and drops it again; false when the engine cannot give one.
bool PageEngineStarts();

} // namespace tvsk::web
