#include "CliRunner.h"
#include "ScratchFolder.h"

#include "model/ObjectStream.h"
#include "model/evObjectCollection.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace {
class CliTest : public ScratchFolderTest {
protected:
    std::string Write(const std::string& name, const MemoryStream& s) const
    {
        s.SaveToFile(Path(name));
        return Path(name);
    }
};

int CountLines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }
} // namespace

TEST_F(CliTest, DumpsObjectsAndCollections)
{
    MemoryStream np;
    WriteObject(np, nullptr);
    CliResult r = RunCli({"dump", "--as", "object", Write("np.bin", np)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "nil\n");

    evObject object;
    MemoryStream one;
    WriteObject(one, &object);
    r = RunCli({"dump", "--as", "object", Write("one.bin", one)});
    EXPECT_EQ(r.out, "evObject[0, 0]\n");

    MemoryStream c;
    c.WriteInt32(2);
    WriteObject(c, &object);
    WriteObject(c, &object);
    r = RunCli({"dump", "--as", "collection", Write("c.evb", c)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "evObjectCollection[evObject[0, 0], evObject[0, 0]]\n");
}

TEST_F(CliTest, ResaveWritesTheSameBytes)
{
    MemoryStream c;
    c.WriteInt32(1);
    c.WriteString("P");
    c.WriteString("evObject");
    c.WriteInt32(0);
    c.WriteInt32(77);
    CliResult r = RunCli({"resave", "--as", "collection", Write("in.evb", c), Path("out.evb")});
    ASSERT_EQ(r.status, 0) << r.err;
    MemoryStream out;
    out.LoadFromFile(Path("out.evb"));
    EXPECT_EQ(out.Data(), c.Data());

    // A version newer than the class's current one is refused, and nothing is written.
    c.Data()[4 + 5 + 12] = 5; // the version field
    r = RunCli({"resave", "--as", "collection", Write("newer.evb", c), Path("newer-out.evb")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vellora-cli: evObject version 5 is newer than this program reads\n");
    EXPECT_FALSE(std::filesystem::exists(Path("newer-out.evb")));
}

TEST_F(CliTest, DamagedInputGivesOneLineAndStatusOne)
{
    MemoryStream unknown;
    unknown.WriteString("P");
    unknown.WriteString("evNothing\nsecond line");
    MemoryStream cut;
    cut.WriteInt32(3);
    MemoryStream huge;
    huge.WriteInt32(0x7FFFFFF0);
    for (auto& [name, stream, kind] : std::vector<std::tuple<std::string, MemoryStream*, std::string>>{
             {"unknown.bin", &unknown, "object"}, {"cut.evb", &cut, "collection"}, {"huge.bin", &huge, "object"}}) {
        CliResult r = RunCli({"dump", "--as", kind, Write(name, *stream)});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(CountLines(r.err), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << name;
    }
    CliResult missing = RunCli({"dump", "--as", "object", Path("missing.bin")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(CountLines(missing.err), 1);

    // A failed resave leaves no output file behind.
    CliResult failed = RunCli({"resave", "--as", "collection", Path("cut.evb"), Path("never.evb")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("never.evb")));
}
