#include "platform/Stream.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}
} // namespace

TEST(Stream, PrimitivesAreLittleEndianAndExact)
{
    MemoryStream s;
    s.WriteByte(1);
    s.WriteInt32(-2);
    s.WriteString("ab");
    s.WriteString("");
    s.WriteDouble(1.0);
    EXPECT_EQ(s.Data(),
              Bytes({1, 0xFE, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 'a', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    s.SetPosition(0);
    EXPECT_TRUE(s.ReadBool());
    EXPECT_EQ(s.ReadInt32(), -2);
    EXPECT_EQ(s.ReadString(), "ab");
    EXPECT_EQ(s.ReadString(), "");
    EXPECT_EQ(s.ReadDouble(), 1.0);
    EXPECT_EQ(s.Remaining(), 0);
}

TEST(Stream, DamagedCountsAreReadErrorsWithoutAllocation)
{
    // A count beyond the data, a negative count and a 2 GB count all fail before anything is allocated.
    for (int32_t count : {3, -1, 0x7FFFFFFF}) {
        MemoryStream s;
        s.WriteInt32(count);
        s.WriteBuffer("ab", 2);
        s.SetPosition(0);
        EXPECT_THROW(s.ReadString(), EReadError) << count;
    }
    MemoryStream s(Bytes({1, 2}));
    EXPECT_THROW(s.ReadBytes(3), EReadError);
    EXPECT_THROW(s.ReadBytes(-1), EReadError);
    EXPECT_THROW(s.ReadInt32(), EReadError);
}

TEST(Stream, FileStreamRoundTripAndFullDisk)
{
    const std::string path = (std::filesystem::temp_directory_path() / "vellora-stream-test.bin").string();
    {
        FileStream f(path, FileStream::Mode::Create);
        f.WriteString("hello");
        f.Flush();
    }
    FileStream f(path, FileStream::Mode::OpenRead);
    EXPECT_EQ(f.Size(), 9);
    EXPECT_EQ(f.ReadString(), "hello");
    EXPECT_THROW(f.ReadByte(), EReadError);
    std::filesystem::remove(path);

    if (std::filesystem::exists("/dev/full")) {
        FileStream full("/dev/full", FileStream::Mode::OpenReadWrite);
        std::vector<uint8_t> block(1 << 20, 7);
        EXPECT_THROW(
            {
                full.WriteBytes(block);
                full.Flush();
            },
            EWriteError);
    }
}
