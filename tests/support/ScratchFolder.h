#pragma once
// A fresh folder of the test's own under the system's temporary folder, removed after the test: Path(name) lies
// inside it, Read(path) gives a file's bytes. The folder's name holds the test suite and the process, so test
// programs that run side by side never meet.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        m_dir = std::filesystem::temp_directory_path() / ("vellora-" + suite + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string Read(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::filesystem::path m_dir;
};
