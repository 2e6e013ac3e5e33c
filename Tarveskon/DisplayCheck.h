// Whether the windowing platform the toolkit will pick can reach a display, told before the
// toolkit starts (it aborts when it cannot connect).
#pragma once

namespace tvsk::app
{

// The one line that says the program needs a display.
constexpr const char* kNeedsDisplay = "Tarveskon needs a display: start it on a desktop, or set "
                                      "QT_QPA_PLATFORM=offscreen or vnc for headless use";

// False when the platform named by "-platform" on the command line, else QT_QPA_PLATFORM, else
// the toolkit's default, is one that draws on a display server (xcb, wayland) whose address
// (DISPLAY, WAYLAND_DISPLAY) is not set.
bool DisplayReachable(int argc, char** argv);

// Until the program's own start runs: a fatal toolkit message (a display that does not answer)
// prints the line above and ends the process with 1, so no crash report is written.
void ExitOnFatalToolkitStart();
// The toolkit has started: its messages take their usual course again.
void ToolkitStarted();

} // namespace tvsk::app
