#include "platform/ProfileSettings.h"
#include "ScratchFolder.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class ProfileSettingsTest : public ScratchFolderTest {
protected:
    std::string Path() const { return ScratchFolderTest::Path("sub/vellora.ini"); }
    void Write(const std::string& text) const
    {
        fs::create_directories(m_dir / "sub");
        std::ofstream(Path(), std::ios::binary) << text;
    }
    std::string Read() const { return ScratchFolderTest::Read(Path()); }
};

} // namespace

TEST_F(ProfileSettingsTest, ValuesAreFoundWithoutRegardToCaseAndOnlyInTheirSection)
{
    Write("; shared settings\r\n[Other]\r\nDEFAULT SOURCE=wrong\r\n[twain]\r\n  Default Source =  test:1  \r\n"
          "Key=x\r\n");
    const ProfileSettings settings(Path());
    EXPECT_EQ(settings.ReadString("TWAIN", "DEFAULT SOURCE", "none"), "test:1");
    EXPECT_EQ(settings.ReadString("Other", "default source", "none"), "wrong");
    EXPECT_EQ(settings.ReadString("TWAIN", "Missing", "none"), "none");
    EXPECT_EQ(settings.ReadString("Missing", "Key", "none"), "none");
    EXPECT_EQ(ProfileSettings((m_dir / "absent.ini").string()).ReadString("TWAIN", "Key", "d"), "d");
}

// Writing replaces a value in place, adds a key at the end of its section (before blank lines) or a new section,
// and keeps every other line, comments included.
TEST_F(ProfileSettingsTest, WritingKeepsTheOtherLines)
{
    struct Case {
        std::string before;
        std::string section, key, value;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"", "TWAIN", "DEFAULT SOURCE", "test:0", "[TWAIN]\nDEFAULT SOURCE=test:0\n"},
        {"[TWAIN]\nDEFAULT SOURCE=old\n; note\n", "twain", "default source", "new",
         "[TWAIN]\nDEFAULT SOURCE=new\n; note\n"},
        {"[A]\nx=1\n\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        {"[A]\nx=1\n", "B", "k", "two\nlines", "[A]\nx=1\n[B]\nk=two lines\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        fs::remove_all(m_dir / "sub");
        if (!c.before.empty())
            Write(c.before);
        ProfileSettings(Path()).WriteString(c.section, c.key, c.value);
        EXPECT_EQ(Read(), c.after);
    }
    ProfileSettings(Path()).DeleteKey("B", "K");
    EXPECT_EQ(Read(), "[A]\nx=1\n[B]\n");
}

TEST_F(ProfileSettingsTest, AFileTooLargeReadsAsEmptyAndIsNeverWrittenOver)
{
    Write("[TWAIN]\nDEFAULT SOURCE=a\n" + std::string(kMaxSettingsFile, ';'));
    const auto size = fs::file_size(Path());
    ProfileSettings settings(Path());
    EXPECT_EQ(settings.ReadString("TWAIN", "DEFAULT SOURCE", "none"), "none");
    EXPECT_THROW(settings.WriteString("TWAIN", "DEFAULT SOURCE", "b"), EReadError);
    EXPECT_EQ(fs::file_size(Path()), size);
}

TEST(SettingsFilePathTest, LivesInTheUsersConfigurationFolder)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(SettingsFilePath(), "/somewhere/config/vellora/vellora.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsFilePath(), std::string(std::getenv("HOME")) + "/.config/vellora/vellora.ini");
    // The program's own settings folder comes first; only an absolute path is taken.
    SetSettingsFilePath("relative/vellora.ini");
    EXPECT_EQ(SettingsFilePath(), std::string(std::getenv("HOME")) + "/.config/vellora/vellora.ini");
    SetSettingsFilePath("/portable/vellora.ini");
    EXPECT_EQ(SettingsFilePath(), "/portable/vellora.ini");
    unsetenv("VELLORA_SETTINGS_FILE");
    if (saved)
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
