// The presentation file: its layout byte for byte, a round trip with music and studio page, and damaged files.
#include "presentation/PresentationFile.h"
#include "audio/AudioTestFiles.h"
#include "audio/evMusic.h"
#include "model/ObjectStream.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstring>

namespace {

std::unique_ptr<evProjectorPage> MakePage(int32_t target)
{
    auto page = std::make_unique<evProjectorPage>();
    page->AddElement(std::make_unique<evProjectorPageElement>(1, 2, JpegImage::FromBitmap(Bitmap(3, 2)), 0));
    page->AddNaviAction(std::make_unique<evProjectorNaviAction>(TRect{0, 0, 9, 9}, target));
    return page;
}

std::vector<uint8_t> Bytes(const PresentationFile& file)
{
    MemoryStream s;
    file.Write(s);
    return s.Data();
}

std::unique_ptr<PresentationFile> ReadBytes(const std::vector<uint8_t>& bytes)
{
    MemoryStream s(bytes);
    return PresentationFile::Read(s);
}

std::unique_ptr<PresentationFile> TwoPages()
{
    auto file = std::make_unique<PresentationFile>();
    file->background = 0x00336699;
    file->pages.push_back(MakePage(1));
    file->pages.push_back(MakePage(-1));
    return file;
}

} // namespace

TEST(PresentationFileTest, RoundTripWithMusicAndStudioPageAndEveryCutFails)
{
    QTemporaryDir folder;
    const std::string wave = folder.filePath("tone.wav").toStdString();
    audiotest::WriteFile(wave, audiotest::MakeWave(40));
    auto file = TwoPages();
    file->music = std::make_unique<evMusic>("Our song", 1, wave);
    file->studio = MakePage(0);
    file->studioDuration = 5;
    const std::vector<uint8_t> bytes = Bytes(*file);

    auto read = ReadBytes(bytes);
    ASSERT_NE(read->music, nullptr);
    EXPECT_STREQ(read->music->ClassName(), "evMusic");
    EXPECT_EQ(static_cast<evMusic&>(*read->music).GetTitle(), "Our song");
    ASSERT_NE(read->studio, nullptr);
    EXPECT_EQ(read->studio->ToString(), file->studio->ToString());
    EXPECT_EQ(read->studioDuration, 5);
    EXPECT_EQ(Bytes(*read), bytes);

    int32_t tail = 0;
    std::memcpy(&tail, bytes.data() + bytes.size() - 4, 4);
    EXPECT_EQ(tail, 5);

    for (size_t length = 0; length < bytes.size(); ++length) {
        try {
            ReadBytes(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(length)));
            ADD_FAILURE() << "no error at length " << length;
        } catch (const EReadError&) {
        } catch (const EImageError&) {}
    }
}

TEST(PresentationFileTest, DamagedCountsAndWrongClassesFail)
{
    for (int32_t count : {-1, 0x7FFFFFFF}) {
        std::vector<uint8_t> bytes(42 * 4, 0);
        std::memcpy(bytes.data() + 4, &count, 4);
        EXPECT_THROW(ReadBytes(bytes), EReadError) << count;
    }

    // A page where the music belongs: the music is read as music only (that a typed read refuses every other class
    // is ObjectStreamTest's).
    const auto page = MakePage(0);
    MemoryStream misplaced;
    misplaced.WriteInt32(0); // the background
    misplaced.WriteInt32(0); // no pages
    WriteObject(misplaced, page.get());
    WriteObject(misplaced, nullptr);
    misplaced.WriteInt32(0);
    EXPECT_THROW(ReadBytes(misplaced.Data()), EReadError);

    EXPECT_THROW(PresentationFile::ReadFromFile("/nonexistent/data/data.evp"), EFOpenError);
}
