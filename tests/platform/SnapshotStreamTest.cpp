#include "platform/SnapshotStream.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7 + i / 251);
    return bytes;
}

// The same writes to a snapshot and to a memory stream, small and large, shared blocks and file ranges mixed.
template <class Target>
void WriteAlbumLike(Target& target, const std::shared_ptr<const std::vector<uint8_t>>& photo, const std::string& music)
{
    target.WriteInt32(3);
    target.WriteString("Anna & Ben");
    target.WriteShared(photo);
    target.WriteShared(std::make_shared<const std::vector<uint8_t>>(Pattern(100, 9))); // small: copied
    target.WriteDouble(38000.5);
    FileStream file(music, FileStream::Mode::OpenRead);
    file.Seek(10, SeekOrigin::Begin);
    target.CopyFrom(file, file.Size() - 20);
    target.WriteString("after the music");
}

} // namespace

TEST(SnapshotStreamTest, WritesOutWhatAStreamWouldHaveHeldEvenAfterTheSourcesWent)
{
    const fs::path music = fs::temp_directory_path() / ("vellora-snapshot-" + std::to_string(::getpid()) + ".ogg");
    const std::vector<uint8_t> audio = Pattern(700000, 3);
    std::ofstream(music, std::ios::binary).write(reinterpret_cast<const char*>(audio.data()), audio.size());
    auto photo = std::make_shared<const std::vector<uint8_t>>(Pattern(300000, 1));

    MemoryStream expected;
    WriteAlbumLike(expected, photo, music.string());
    SnapshotStream snapshot;
    WriteAlbumLike(snapshot, photo, music.string());
    EXPECT_EQ(snapshot.Size(), expected.Size());
    EXPECT_EQ(snapshot.Position(), expected.Size());

    // The project drops its photograph and its music file meanwhile; the snapshot still holds both.
    photo.reset();
    fs::remove(music);
    MemoryStream written;
    snapshot.WriteTo(written);
    EXPECT_EQ(written.Data(), expected.Data());
    MemoryStream again;
    snapshot.WriteTo(again);
    EXPECT_EQ(again.Data(), expected.Data());
}

TEST(SnapshotStreamTest, AFileCutShortMeanwhileAndSeeksAreRefused)
{
    const fs::path music = fs::temp_directory_path() / ("vellora-snapshot-cut-" + std::to_string(::getpid()));
    const std::vector<uint8_t> audio = Pattern(400000, 5);
    std::ofstream(music, std::ios::binary).write(reinterpret_cast<const char*>(audio.data()), audio.size());
    SnapshotStream snapshot;
    {
        FileStream file(music.string(), FileStream::Mode::OpenRead);
        snapshot.CopyFrom(file, file.Size());
        EXPECT_THROW(snapshot.CopyFrom(file, 1), EReadError); // nothing is left to copy
    }
    fs::resize_file(music, 1000);
    MemoryStream written;
    EXPECT_THROW(snapshot.WriteTo(written), EReadError);
    fs::remove(music);

    EXPECT_THROW(snapshot.Seek(0, SeekOrigin::Begin), EStreamError);
    EXPECT_EQ(snapshot.Seek(0, SeekOrigin::End), 400000);
    char byte = 0;
    EXPECT_EQ(snapshot.Read(&byte, 1), 0);
}
