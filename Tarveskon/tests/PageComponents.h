// The page windows' data manager for test programs: JyHtml2 registered in the store the test uses,
// as the build registers it for the program. COM is started by the test (or its drive chain).
#pragma once

#include <com/ComRuntime.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace tvsk::testing
{

inline void PreparePageComponents()
{
    static const bool registered = []
    {
        void* module = ::dlopen(TVSK_BIN_DIR "/JyHtml2.so", RTLD_NOW | RTLD_LOCAL);
        if (!module)
            return false;
        auto registerServer = reinterpret_cast<HRESULT (*)()>(::dlsym(module, "DllRegisterServer"));
        return registerServer && SUCCEEDED(registerServer());
    }();
    ASSERT_TRUE(registered) << "JyHtml2 could not be registered";
}

} // namespace tvsk::testing
