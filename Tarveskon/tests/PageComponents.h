// The page windows' data manager for test programs: JyHtml2 registered in the store the test uses,
// as the build registers it for the program. COM is started by the test (or its drive chain).
#pragma once

#include <com/ComRuntime.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace tvsk::testing
{

// Registers into the current store each time: tests may change stores between cases.
inline void PreparePageComponents()
{
    static void* const module = ::dlopen(TVSK_BIN_DIR "/JyHtml2.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    const auto registerServer = reinterpret_cast<HRESULT (*)()>(::dlsym(module, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK) << "JyHtml2 could not be registered";
}

} // namespace tvsk::testing
