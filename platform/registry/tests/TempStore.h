// A registry store in a fresh temporary directory, named by TARVESKON_REGISTRY for the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class TempStore
{
public:
    TempStore()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("tvsk_reg_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        path = (dir / "sub" / "registry").string();
        ::setenv("TARVESKON_REGISTRY", path.c_str(), 1);
    }
    ~TempStore()
    {
        ::unsetenv("TARVESKON_REGISTRY");
        std::filesystem::remove_all(dir);
    }
    std::string Text() const
    {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::filesystem::path dir;
    std::string path;
};
