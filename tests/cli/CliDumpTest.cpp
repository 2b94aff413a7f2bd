// `vellora-cli dump` and `resave` on every kind of file they know: the line a dump prints, the same bytes written
// back, and damaged, foreign or newer files refused in one line with nothing written.
#include "CliAlbumTest.h"

#include "model/ObjectStream.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evPageLayout.h"
#include "model/evPhotograph.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string Bytes(const MemoryStream& s) { return std::string(s.Data().begin(), s.Data().end()); }

std::string Saved(const evObject& body)
{
    MemoryStream s;
    body.SaveToStream(s);
    return Bytes(s);
}

// A collection of one object written field by field: count, reference marker, class, version, ID.
std::string OneObjectByHand(int32_t version)
{
    MemoryStream s;
    s.WriteInt32(1);
    s.WriteString("P");
    s.WriteString("evObject");
    s.WriteInt32(version);
    s.WriteInt32(77);
    return Bytes(s);
}

std::unique_ptr<evProject> SmallProject()
{
    auto tree = std::make_unique<evCategory>("Welcome", "", false, 3);
    tree->AppendSibling(std::make_unique<evCategory>("End", "", false, 3));
    auto project = std::make_unique<evProject>("Anna", "Ben", 37622.0, "Rose.evl", std::move(tree));
    project->SetDiscLabelCategory(std::make_unique<evCategory>("cd label", "", true, 3));
    return project;
}

using CliDumpTest = CliAlbumTest;

} // namespace

TEST_F(CliDumpTest, DumpPrintsOneLineAndResaveWritesTheSameBytes)
{
    evObject object;
    MemoryStream nil, one;
    WriteObject(nil, nullptr);
    WriteObject(one, &object);
    const std::unique_ptr<evProject> project = SmallProject();
    evLayout design("Rose", "Roses", 80, 60);
    design.AddPageLayout(std::make_unique<evPageLayout>(nullptr, "W", "Welcome", "", 2));
    const std::string designBytes = Saved(design);
    MemoryStream reread(designBytes.data(), static_cast<int64_t>(designBytes.size()));
    evPhotograph studio(nullptr);
    studio.SetLogoSlot(4);

    const struct {
        const char* kind;
        std::string bytes, dump;
    } cases[] = {
        {"object", Bytes(nil), "nil"},
        {"object", Bytes(one), "evObject[0, 0]"},
        {"collection", std::string("\x02\0\0\0", 4) + Bytes(one) + Bytes(one),
         "evObjectCollection[evObject[0, 0], evObject[0, 0]]"},
        {"project", Saved(*project), project->ToString()},
        // Read back, the page layout shows its stored version.
        {"design", designBytes, evLayout(reread, nullptr).ToString()},
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
        EXPECT_EQ(Read(Path("out.bin")), c.bytes);
    }
}

TEST_F(CliDumpTest, DamagedForeignOrNewerFilesAreRefusedInOneLine)
{
    MemoryStream unknown;
    unknown.WriteString("P");
    unknown.WriteString("evNothing\nsecond line");
    const std::string project = Saved(*SmallProject());
    std::string newerProject = project;
    newerProject[0] = 4; // evProject version 4
    const auto cut = [](const std::string& bytes) { return bytes.substr(0, bytes.size() - 3); };
    const std::string jpeg = "\xFF\xD8\xFF\xE0" + std::string(2000, '\x11');
    // A read that fails inside the body names the file, as the check of its end does.
    const auto unreadable = [this](const std::string& kind, const std::string& reason) {
        return "\"" + Path("in.bin") + "\": the " + kind + " cannot be read: " + reason;
    };

    // Cut collections and projects, unknown versions and "no version at all" are ObjectStreamTest's,
    // evObjectCollectionTest's and evProjectTest's; here each way a read fails is printed in one line.
    struct Case {
        std::string kind, bytes;
        std::string message; // the whole line after the program's name, where it is pinned
    };
    // clang-format off
    const Case cases[] = {
        {"object", Bytes(unknown), ""},
        {"object", std::string("\xF0\xFF\xFF\x7F", 4), ""}, // a huge length
        {"photograph", cut(Saved(evPhotograph(nullptr))), ""},
        {"collection", OneObjectByHand(5), unreadable("collection", "evObject version 5 is newer than this program reads")},
        {"collection", jpeg, "\"" + Path("in.bin") + "\": the collection ends at byte 4, but 2000 more bytes follow"},
        {"project", project + "tail", "\"" + Path("in.bin") + "\": the project ends at byte " + std::to_string(project.size()) + ", but 4 more bytes follow"},
        {"project", newerProject, unreadable("project", "evProject version 4 is newer than this program reads")},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind + " " + std::to_string(c.bytes.size()));
        const std::string file = Write("in.bin", c.bytes);
        const CliResult dumped = RunCli({"dump", "--as", c.kind, file});
        EXPECT_TRUE(OneLineFailure(dumped));
        if (!c.message.empty()) {
            EXPECT_EQ(dumped.err, "vellora-cli: " + c.message + "\n");
        }
        EXPECT_TRUE(OneLineFailure(RunCli({"resave", "--as", c.kind, file, Path("never.bin")})));
        EXPECT_FALSE(fs::exists(Path("never.bin")));
    }
    EXPECT_TRUE(OneLineFailure(RunCli({"dump", "--as", "object", Path("missing.bin")})));
}
