#include "platform/TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
class TempFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = TempFolder();
        m_dir = std::filesystem::temp_directory_path() / ("vellora-temp-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        SetTempFolder(m_dir.string());
    }
    void TearDown() override
    {
        SetTempFolder(m_previous);
        std::filesystem::remove_all(m_dir);
    }
    void Touch(const std::string& path) { std::ofstream(path) << "x"; }

    std::string m_previous;
    std::filesystem::path m_dir;
};
}

TEST_F(TempFilesTest, CounterStartsAtZeroAndSkipsTakenNames)
{
    const std::string folder = TempFolder();
    EXPECT_EQ(folder.back(), '/');
    const std::string first = UniqueTempFileName("evpl.evp");
    EXPECT_EQ(first, folder + "evpl0.evp");
    EXPECT_TRUE(FileExists(first)); // the name is taken at once
    EXPECT_EQ(UniqueTempFileName("evpl.evp"), folder + "evpl1.evp");
    std::filesystem::remove(first);
    EXPECT_EQ(UniqueTempFileName("evpl.evp"), folder + "evpl0.evp");
    EXPECT_EQ(UniqueTempFileName("noext"), folder + "noext0");
    EXPECT_EQ(UniqueTempFileName("a.b.ttf"), folder + "a.b0.ttf");
}

TEST_F(TempFilesTest, StoredNamesNeverLeaveTheTemporaryFolder)
{
    const std::string folder = TempFolder();
    for (const char* hostile : {"../x.ttf", "/etc/passwd.ttf", "..\\..\\x.ttf", "sub/dir/x.ttf"}) {
        const std::string name = UniqueTempFileName(hostile);
        EXPECT_EQ(name.rfind(folder, 0), 0u) << hostile;
        EXPECT_EQ(name.find("..", folder.size()), std::string::npos) << hostile;
        EXPECT_EQ(name.find('/', folder.size()), std::string::npos) << hostile;
    }
    EXPECT_EQ(UniqueTempFileName(".."), folder + "ev0.tmp");
    EXPECT_EQ(UniqueTempFileName(""), folder + "ev1.tmp");
}
