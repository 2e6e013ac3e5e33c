// Whether the layer may show modal boxes: a real display, not the offscreen or minimal platform.
#pragma once

namespace tvsk::ui
{
bool CanShowModalBoxes();
}
