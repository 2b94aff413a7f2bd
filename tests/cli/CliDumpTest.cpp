// `vellora-cli dump` and `resave` on every kind of file they know: the line a dump prints, the same bytes written
// back, and damaged, foreign or newer files refused in one line with nothing written.
#include "CliAlbumTest.h"

#include "model/ObjectStream.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evPageLayout.h"
#include "model/evPhotograph.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Saved(const evObject& body)
{
    MemoryStream s;
    body.SaveToStream(s);
    return s.Data();
}

std::unique_ptr<evProject> SmallProject()
{
    auto tree = std::make_unique<evCategory>("Welcome", "", false, 3);
    tree->AppendSibling(std::make_unique<evCategory>("End", "", false, 3));
    auto project = std::make_unique<evProject>("Anna", "Ben", 37622.0, "Rose.evl", std::move(tree));
    project->SetDiscLabelCategory(std::make_unique<evCategory>("cd label", "", true, 3));
    return project;
}

class CliDumpTest : public CliAlbumTest {
protected:
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        MemoryStream(bytes).SaveToFile(Path(name));
        return Path(name);
    }
};

} // namespace

TEST_F(CliDumpTest, DumpPrintsOneLineAndResaveWritesTheSameBytes)
{
    evObject object;
    MemoryStream nil, one, two, byHand;
    WriteObject(nil, nullptr);
    WriteObject(one, &object);
    two.WriteInt32(2);
    WriteObject(two, &object);
    WriteObject(two, &object);
    // A collection of one object written field by field: count, reference marker, class, version, ID.
    byHand.WriteInt32(1);
    byHand.WriteString("P");
    byHand.WriteString("evObject");
    byHand.WriteInt32(0);
    byHand.WriteInt32(77);
    const std::unique_ptr<evProject> project = SmallProject();
    evLayout design("Rose", "Roses", 80, 60);
    design.AddPageLayout(std::make_unique<evPageLayout>(nullptr, "W", "Welcome", "", 2));
    MemoryStream reread(Saved(design));
    evPhotograph studio(nullptr);
    studio.SetLogoSlot(4);

    const struct {
        const char* kind;
        std::vector<uint8_t> bytes;
        std::string dump;
    } cases[] = {
        {"object", nil.Data(), "nil"},
        {"object", one.Data(), "evObject[0, 0]"},
        {"collection", two.Data(), "evObjectCollection[evObject[0, 0], evObject[0, 0]]"},
        {"collection", byHand.Data(), "evObjectCollection[evObject[77, 0]]"},
        {"project", Saved(*project), project->ToString()},
        // Read back, the page layout shows its stored version.
        {"design", Saved(design), evLayout(reread, nullptr).ToString()},
        {"photograph", Saved(studio), "evPhotograph[ID 0, VER 0, "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dump);
        const std::string file = Write("in.bin", c.bytes);
        const CliResult dumped = RunCli({"dump", "--as", c.kind, file});
        EXPECT_EQ(dumped.status, 0) << dumped.err;
        EXPECT_EQ(dumped.out, c.dump + "\n");
        const CliResult resaved = RunCli({"resave", "--as", c.kind, file, Path("out.bin")});
        EXPECT_EQ(resaved.status, 0) << resaved.err;
        EXPECT_EQ(Read(Path("out.bin")), Read(file));
    }

    // Every version of a project up to the current one is still read.
    std::vector<uint8_t> older = Saved(*project);
    for (int version = 0; version < 4; ++version) {
        older[0] = static_cast<uint8_t>(version);
        const CliResult result = RunCli({"dump", "--as", "project", Write("older.evp", older)});
        EXPECT_EQ(result.err.find("version"), std::string::npos) << result.err;
    }
}

TEST_F(CliDumpTest, DamagedForeignOrNewerFilesAreRefusedInOneLine)
{
    MemoryStream unknown, cutCollection, huge, newer;
    unknown.WriteString("P");
    unknown.WriteString("evNothing\nsecond line");
    cutCollection.WriteInt32(3);
    huge.WriteInt32(0x7FFFFFF0);
    newer.WriteInt32(1);
    newer.WriteString("P");
    newer.WriteString("evObject");
    newer.WriteInt32(5); // the version
    newer.WriteInt32(77);
    Write("unknown.bin", unknown.Data());
    Write("cut.evb", cutCollection.Data());
    Write("huge.bin", huge.Data());
    Write("newer.evb", newer.Data());
    // Bodies cut three bytes short.
    const std::vector<uint8_t> project = Saved(*SmallProject());
    const std::pair<const char*, std::vector<uint8_t>> bodies[] = {{"project", project},
                                                                   {"design", Saved(evLayout("Rose", "", 8, 6))},
                                                                   {"branding", Saved(evBranding("main"))},
                                                                   {"photograph", Saved(evPhotograph(nullptr))}};
    for (const auto& [kind, bytes] : bodies)
        Write(std::string("cut-") + kind, std::vector<uint8_t>(bytes.begin(), bytes.end() - 3));
    // Files of other kinds, or of a newer program.
    std::ofstream(Path("photo.jpg"), std::ios::binary) << "\xFF\xD8\xFF\xE0" << std::string(2000, '\x11');
    Write("tail.evp", project);
    std::ofstream(Path("tail.evp"), std::ios::binary | std::ios::app) << "tail";
    std::vector<uint8_t> newerProject = project;
    newerProject[0] = 4; // evProject version 4
    Write("newer.evp", newerProject);
    std::vector<uint8_t> tiff(64, 0);
    tiff[0] = tiff[1] = 0x49;
    tiff[2] = 0x2A;
    Write("raw.bin", tiff);

    struct Case {
        std::string kind, file;
        std::string message; // the whole line after the program's name, where it is pinned
    };
    // clang-format off
    const Case cases[] = {
        {"object", "unknown.bin", ""},
        {"object", "huge.bin", ""},
        {"object", "missing.bin", ""},
        {"collection", "cut.evb", ""},
        {"project", "cut-project", ""},
        {"design", "cut-design", ""},
        {"branding", "cut-branding", ""},
        {"photograph", "cut-photograph", ""},
        {"collection", "newer.evb", "evObject version 5 is newer than this program reads"},
        {"collection", "photo.jpg", "\"" + Path("photo.jpg") + "\": the collection ends at byte 4, but 2000 more bytes follow"},
        {"design", "photo.jpg", "evLayout version -520103681 is no version at all"},
        {"project", "tail.evp", "\"" + Path("tail.evp") + "\": the project ends at byte " + std::to_string(project.size()) + ", but 4 more bytes follow"},
        {"project", "newer.evp", "evProject version 4 is newer than this program reads"},
        {"photograph", "raw.bin", "evPhotograph version 2771273 is newer than this program reads"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind + " " + c.file);
        const CliResult dumped = RunCli({"dump", "--as", c.kind, Path(c.file)});
        EXPECT_TRUE(OneLineFailure(dumped));
        if (!c.message.empty()) {
            EXPECT_EQ(dumped.err, "vellora-cli: " + c.message + "\n");
        }
        EXPECT_TRUE(OneLineFailure(RunCli({"resave", "--as", c.kind, Path(c.file), Path("never.bin")})));
        EXPECT_FALSE(fs::exists(Path("never.bin")));
    }
}
