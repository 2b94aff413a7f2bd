#include "platform/UserSettings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

class UserSettingsTest : public ::testing::Test {
protected:
    std::string Write(const std::string& text)
    {
        std::ofstream(m_path, std::ios::binary) << text;
        return m_path;
    }

    QTemporaryDir m_dir;
    std::string m_path = m_dir.path().toStdString() + "/settings.txt";
};

TEST_F(UserSettingsTest, ReadsItsOwnLinesAndSkipsDamagedOnes)
{
    const struct {
        const char* what;
        std::string file;
        std::string folder; // the value read for "folder.pictures"
    } cases[] = {
        {"plain", "folder.pictures=/home/anna/Photos\n", "/home/anna/Photos"},
        {"Windows line ends", "folder.pictures=/home/anna/Photos\r\n", "/home/anna/Photos"},
        {"no line end, a blank name and stray lines before", "=x\njust text\nfolder pictures=/no\nfolder.pictures=/a=b",
         "/a=b"},
        {"a later line wins", "folder.pictures=/one\nfolder.pictures=/two\n", "/two"},
        {"a value too long", "folder.pictures=/" + std::string(UserSettings::kMaxValueBytes, 'x') + "\n", ""},
        {"a NUL in the value", std::string("folder.pictures=/a\0b\n", 21), ""},
        {"a file too large", "folder.pictures=/x\n" + std::string(UserSettings::kMaxFileBytes, '#'), ""},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        Write(c.file);
        EXPECT_EQ(UserSettings(m_path).Get("folder.pictures"), c.folder) << c.what;
    }
    EXPECT_EQ(UserSettings(m_path + ".missing").Get("folder.pictures"), "");
}

TEST_F(UserSettingsTest, AChangeIsKeptForTheNextRunAndBadOnesAreRefused)
{
    {
        UserSettings settings(m_path);
        settings.Set("folder.disc", "/media/disc");
        settings.Set("folder.music", "/home/anna/Müsik");
        settings.Set("bad name", "x");
        settings.Set("folder.other", "two\nlines");
    }
    UserSettings again(m_path);
    EXPECT_EQ(again.Get("folder.disc"), "/media/disc");
    EXPECT_EQ(again.Get("folder.music"), "/home/anna/Müsik");
    EXPECT_EQ(again.Get("bad name"), "");
    EXPECT_EQ(again.Get("folder.other"), "");
    // The file is written whole, so nothing of ours is left beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path().toStdString()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
    // A place that cannot be written loses the change quietly.
    Write("");
    UserSettings unwritable(m_path + "/inside a file/settings.txt");
    unwritable.Set("folder.disc", "/x");
    EXPECT_EQ(unwritable.Get("folder.disc"), "/x");
    EXPECT_EQ(UserSettings(m_path + "/inside a file/settings.txt").Get("folder.disc"), "");
}

} // namespace
