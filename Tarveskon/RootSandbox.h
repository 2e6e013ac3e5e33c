// Started as root, the page engine refuses to run inside its sandbox: the program turns the
// sandbox off itself, before the toolkit starts, and says so.
#pragma once

namespace tvsk::app
{

constexpr const char* kSandboxOffForRoot = "Tarveskon runs as root: the page engine's sandbox is turned off";

// As root, unless the sandbox is off already (QTWEBENGINE_DISABLE_SANDBOX set, or --no-sandbox in
// QTWEBENGINE_CHROMIUM_FLAGS): sets QTWEBENGINE_DISABLE_SANDBOX and prints the line above on the
// error stream. True when it did.
bool TurnSandboxOffForRoot();

} // namespace tvsk::app
