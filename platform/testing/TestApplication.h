// The application object of a Qt test program, made by the test main once the toolkit runs.
#pragma once

namespace tvsk::test
{

// Names the program's application object (message box captions, the profile's key); declare one
// at namespace scope: `const tvsk::test::TestApplication g_app("UiTests", "MurnApps");`.
// Without one the program runs with no application object.
class TestApplication
{
public:
    explicit TestApplication(const char* appName, const char* registryKey = nullptr);
};

} // namespace tvsk::test
