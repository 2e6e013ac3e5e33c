// Starting the kernel tests' helper program.
#pragma once

#include "KernelTestSupport.h"

namespace kerneltest
{

// Starts the helper program with the given arguments; the handle is closed by the caller.
inline PROCESS_INFORMATION StartHelper(const std::string& arguments)
{
    PROCESS_INFORMATION info;
    const std::string commandLine = "kernel_test_helper " + arguments;
    EXPECT_TRUE(CreateProcess(KERNEL_TEST_HELPER, commandLine.c_str(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, nullptr, &info));
    return info;
}

} // namespace kerneltest
