// The disc image: written from a small disc folder, extracted again with xorriso and compared byte for byte
// (with the execute bit and the Joliet names); the volume names; and failures, which leave no file and keep an
// image that was there before.
#include "presentation/DiscImage.h"

#include "ScratchFolder.h"
#include "WriterFaults.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kUmlautName = "Grüße an Zoë.txt";

void WriteAll(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs xorriso and returns what it printed on stdout; a failed run fails the test.
std::string Xorriso(const QStringList& args)
{
    QProcess process;
    process.start("xorriso", args);
    EXPECT_TRUE(process.waitForFinished(60000)) << "xorriso did not end";
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput().toStdString();
}

// Every regular file below the folder, by its path relative to it.
std::map<std::string, fs::path> FilesBelow(const fs::path& folder)
{
    std::map<std::string, fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = entry.path();
    return files;
}

bool IsExecutable(const fs::path& path)
{
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

class DiscImageTest : public ScratchFolderTest {
protected:
    // A disc folder like the one finishing writes, with the cases an image must carry over.
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_disc = m_dir / "out" / "Vellora";
        WriteAll(m_disc / "evplay.exe", "#!/bin/sh\necho player\n");
        fs::permissions(m_disc / "evplay.exe", fs::perms::owner_exec | fs::perms::group_exec, fs::perm_options::add);
        WriteAll(m_disc / "autorun.inf", "[autorun]\r\nopen=evplay.exe\r\n");
        WriteAll(m_disc / "data" / "data.evp", std::string("\0\1\2\3pages", 9));
        WriteAll(m_disc / "data" / "pictures" / kUmlautName, "Liebe Grüße");
        std::string big(1024 * 1024, '\0');
        for (size_t i = 0; i < big.size(); ++i)
            big[i] = static_cast<char>((i * 7919u) >> 3);
        WriteAll(m_disc / "data" / "music.ogg", big);
        WriteAll(m_disc / "data" / "empty.bin", "");
    }

    std::string Iso() const { return Path("album.iso"); }

    // Files beside the image apart from the one kept and the disc folder: temporary files left behind show here.
    std::vector<std::string> Leftovers(const std::string& keep) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            if (entry.path().filename() != keep && entry.path().filename() != "out")
                names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path m_disc;
};

} // namespace

TEST_F(DiscImageTest, ExtractedImageEqualsTheDiscFolder)
{
    std::vector<int> reported;
    WriteDiscImage(m_disc.string(), Iso(), "ZOE_JURGEN", [&reported](int percent) { reported.push_back(percent); });
    ASSERT_TRUE(fs::is_regular_file(Iso()));
    ASSERT_FALSE(reported.empty());
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    EXPECT_EQ(reported.back(), 100);
    EXPECT_EQ(fs::file_size(Iso()) % 2048, 0u);

    const fs::path extracted = m_dir / "extracted";
    Xorriso({"-osirrox", "on", "-indev", QString::fromStdString(Iso()), "-extract", "/",
             QString::fromStdString(extracted.string())});
    const auto original = FilesBelow(m_disc);
    const auto copied = FilesBelow(extracted);
    ASSERT_EQ(copied.size(), original.size());
    for (const auto& [name, path] : original) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(copied.count(name));
        EXPECT_EQ(Read(copied.at(name).string()), Read(path.string()));
        EXPECT_EQ(IsExecutable(copied.at(name)), IsExecutable(path));
    }
    EXPECT_TRUE(IsExecutable(extracted / "evplay.exe"));
    EXPECT_TRUE(copied.count("data/pictures/" + kUmlautName));

    const std::string info = Xorriso({"-indev", QString::fromStdString(Iso()), "-pvd_info"});
    EXPECT_NE(info.find("Volume Id    : ZOE_JURGEN"), std::string::npos) << info;
}

TEST_F(DiscImageTest, JolietTreeCarriesTheReadableNames)
{
    WriteDiscImage(m_disc.string(), Iso(), "VELLORA");
    // A Joliet volume descriptor (type 2, UCS-2 escape sequence) follows the primary one at block 16.
    const std::string bytes = Read(Iso());
    bool joliet = false;
    for (size_t block = 17; block < 32 && (block + 1) * 2048 <= bytes.size(); ++block) {
        const std::string descriptor = bytes.substr(block * 2048, 2048);
        if (descriptor[0] == 2 && descriptor.substr(1, 5) == "CD001" && descriptor.substr(88, 2) == "%/")
            joliet = true;
    }
    EXPECT_TRUE(joliet);
    // Without Rock Ridge, xorriso reads the Joliet tree, the one Windows shows; plain ISO 9660 names could not
    // hold the umlauts.
    const std::string listed = Xorriso(
        {"-rockridge", "off", "-joliet", "on", "-indev", QString::fromStdString(Iso()), "-find", "/", "-type", "f"});
    EXPECT_NE(listed.find("/data/pictures/" + kUmlautName), std::string::npos) << listed;
    EXPECT_NE(listed.find("/evplay.exe"), std::string::npos) << listed;
}

TEST(DiscVolumeNameTest, ReducesTheTwoNamesToVolumeCharacters)
{
    const struct {
        std::string first, second, expected;
    } cases[] = {
        {"Zoë", "Jürgen", "ZOE_JURGEN"},
        {"Gießen", "Æsa", "GIESSEN_AESA"},
        {"Søren", "Łukasz", "SOREN_LUKASZ"},
        {"Anne-Marie", "O'Neil", "ANNE_MARIE_O_NEIL"}, // punctuation becomes one "_"
        {"  Anna  ", " & Ben!", "ANNA_BEN"},           // runs collapse, ends are trimmed
        {"Ольга", "Ivan", "IVAN"},                     // other scripts become "_" and vanish at the ends
        {"Anna", "\xff\xfe", "ANNA"},                  // bytes that are no UTF-8
        {"!!!", "???", "VELLORA"},
        {"Maximiliane", "Wolfgangsdorferstraßenmeister", "MAXIMILIANE_WOLFGANGSDORFERSTRAS"},
        {"Abcdefghijklmnopqrstuvwxyz01234", "Ben", "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"}, // the cut "_" is dropped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first + " + " + c.second);
        const std::string name = DiscVolumeName(c.first, c.second);
        EXPECT_EQ(name, c.expected);
        EXPECT_LE(name.size(), 32u);
    }
}

TEST_F(DiscImageTest, TargetThatCannotBeCreatedLeavesNoFile)
{
    // Why the target cannot be created (every reason is AtomicFileTest's); none for a target inside the disc folder,
    // which is refused.
    const std::pair<fs::path, std::string> targets[] = {
        {m_dir / "missing" / "album.iso", "No such file or directory"},
        {m_disc / "data" / "album.iso", ""},
        {m_dir / "out" / "." / "Vellora" / "album.iso", ""},
    };
    for (const auto& [path, cause] : targets) {
        const std::string target = path.string();
        SCOPED_TRACE(target);
        try {
            WriteDiscImage(m_disc.string(), target, "VELLORA");
            ADD_FAILURE() << "no error";
        } catch (const EDiscImageError& error) {
            EXPECT_EQ(std::string(error.what()), cause.empty()
                                                     ? target + ": a disc image cannot be saved inside the disc folder"
                                                     : "Cannot create \"" + target + "\": " + cause);
        }
        EXPECT_FALSE(fs::exists(target));
    }
    EXPECT_TRUE(Leftovers("").empty());
}

TEST_F(DiscImageTest, FailedWriteKeepsThePreviousImage)
{
    WriteDiscImage(m_disc.string(), Iso(), "FIRST");
    const std::string previous = Read(Iso());

    // The disc folder vanished: nothing is written.
    const fs::path moved = m_dir / "moved";
    fs::rename(m_disc, moved);
    try {
        WriteDiscImage(m_disc.string(), Iso(), "SECOND");
        ADD_FAILURE() << "no error";
    } catch (const EDiscImageError& error) {
        EXPECT_EQ(std::string(error.what()), m_disc.string() + ": No such file or directory");
    }
    EXPECT_EQ(Read(Iso()), previous);
    EXPECT_EQ(Leftovers("album.iso"), std::vector<std::string>{"moved"});
    fs::rename(moved, m_disc);

    // The disc fills up part way.
    WriteAll(m_disc / "data" / "more.bin", std::string(2 * 1024 * 1024, 'x'));
    std::string message;
    try {
        WriterFaults full(WriterFaults::At::Write, ENOSPC, 1024 * 1024);
        WriteDiscImage(m_disc.string(), Iso(), "SECOND");
    } catch (const EDiscImageError& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "Cannot write \"" + Iso() + "\": No space left on device");
    EXPECT_EQ(Read(Iso()), previous);
    EXPECT_TRUE(Leftovers("album.iso").empty());
}
