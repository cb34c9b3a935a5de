#pragma once
// A fresh folder for the running test: ctest runs tests side by side, and
// other build folders may run the same test at the same time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#define TARVICK_GETPID _getpid
#else
#include <unistd.h>
#define TARVICK_GETPID getpid
#endif

inline std::filesystem::path MakeTestFolder(const char* pszPrefix)
{
    std::string strName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : strName)
        if (c == '/')
            c = '_';
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      (std::string(pszPrefix) + strName + "-" + std::to_string(TARVICK_GETPID()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}
