#include "model/evFont.h"
#include "StoredFormSupport.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace {
const char* const kFontFile = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

std::vector<uint8_t> FontBody(int32_t id, const std::string& fileName, const std::string& faceName,
                              const std::vector<uint8_t>& data)
{
    MemoryStream s;
    WriteHeader(s, 0, id);
    s.WriteString(fileName);
    s.WriteString(faceName);
    s.WriteInt32(static_cast<int32_t>(data.size()));
    s.WriteBytes(data);
    return s.Data();
}

std::unique_ptr<evFont> Read(const std::vector<uint8_t>& bytes)
{
    MemoryStream s(bytes);
    return std::make_unique<evFont>(s, nullptr);
}

// Every test gets a temporary folder of its own inside a parent that the tests watch for stray files.
class evFontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = TempFolder();
        m_parent = std::filesystem::temp_directory_path() / ("vellora-font-" + std::to_string(::getpid()));
        m_dir = m_parent / "tmp";
        std::filesystem::create_directories(m_dir);
        SetTempFolder(m_dir.string());
        MemoryStream font;
        font.LoadFromFile(kFontFile);
        m_fontData = font.Data();
    }
    void TearDown() override
    {
        SetTempFolder(m_previous);
        std::filesystem::remove_all(m_parent);
    }
    std::vector<std::string> Files(const std::filesystem::path& dir) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Temp(const std::string& name) const { return (m_dir / name).string(); }

    std::string m_previous;
    std::filesystem::path m_parent;
    std::filesystem::path m_dir;
    std::vector<uint8_t> m_fontData;
};
} // namespace

TEST_F(evFontTest, ReadWritesTheFileAndSavesTheSameBytes)
{
    const std::vector<uint8_t> body = FontBody(4, "Script.ttf", "Liberation Sans", m_fontData);
    auto font = Read(body);
    EXPECT_EQ(font->GetID(), 4);
    EXPECT_EQ(font->GetFileName(), "Script.ttf");
    EXPECT_EQ(font->GetFaceName(), "Liberation Sans");
    EXPECT_EQ(font->GetTempPath(), Temp("Script0.ttf"));
    MemoryStream written;
    written.LoadFromFile(font->GetTempPath());
    EXPECT_EQ(written.Data(), m_fontData);
    MemoryStream saved;
    font->SaveToStream(saved);
    EXPECT_EQ(saved.Data(), body);
    EXPECT_EQ(font->ToString(), "[4, 0, 'Liberation Sans', 'Script.ttf']");
    // The same file name again gets the next counter.
    EXPECT_EQ(Read(body)->GetTempPath(), Temp("Script1.ttf"));
}

TEST_F(evFontTest, StoredNamesWithFoldersStayInTheTemporaryFolder)
{
    for (const std::string name : {"../escape.ttf", "/etc/escape.ttf", "..\\..\\escape.ttf", "sub/dir/escape.ttf"}) {
        auto font = Read(FontBody(1, name, "Liberation Sans", m_fontData));
        EXPECT_EQ(font->GetTempPath(), Temp("escape0.ttf")) << name;
        EXPECT_EQ(font->GetFileName(), name);
    }
    for (const std::string name : {"..", "", "x/.."}) {
        auto font = Read(FontBody(1, name, "Liberation Sans", m_fontData));
        EXPECT_EQ(std::filesystem::path(font->GetTempPath()).parent_path(), m_dir) << name;
    }
    // A NUL byte in the name would cut the path short; it is replaced instead.
    auto font = Read(FontBody(1, std::string("a\0b.ttf", 7), "Liberation Sans", m_fontData));
    EXPECT_EQ(font->GetTempPath(), Temp("a_b0.ttf"));
    EXPECT_EQ(Files(m_parent), std::vector<std::string>{"tmp"});
}

TEST_F(evFontTest, ACutStreamFailsAtEveryByteAndLeavesNoFile)
{
    const std::vector<uint8_t> body = FontBody(3, "cut.ttf", "Liberation Sans", {1, 2, 3, 4, 5});
    ExpectEveryCutFails(body, [](Stream& s) { evFont(s, nullptr); });
    EXPECT_TRUE(Files(m_dir).empty());
    MemoryStream negative(FontBody(3, "n.ttf", "F", {}));
    negative.Data()[8 + 4 + 5 + 4 + 1 + 3] = 0x80; // the length's top byte: a negative count
    EXPECT_THROW(evFont(negative, nullptr), EReadError);
}
