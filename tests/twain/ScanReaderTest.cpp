// The scanner manager's reading of SANE frames, against scripted devices: every form of frame it turns into a
// bitmap, and the devices that misbehave.
#include "twain/ScanReader.h"

#include "imaging/DibBitmap.h"
#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct FakeFrame {
    SANE_Parameters parameters;
    Bytes data;
    SANE_Status end = SANE_STATUS_EOF; // what Read says once the data is out
};

// Hands out the frames in reads of at most chunk bytes.
class FakeDevice : public FrameDevice {
public:
    explicit FakeDevice(std::vector<FakeFrame> frames, size_t chunk = 5) : m_frames(std::move(frames)), m_chunk(chunk)
    {}

    SANE_Status Start() override
    {
        if (startStatus != SANE_STATUS_GOOD)
            return startStatus;
        if (m_next >= m_frames.size())
            return SANE_STATUS_NO_DOCS;
        m_current = &m_frames[m_next++];
        m_offset = 0;
        return SANE_STATUS_GOOD;
    }
    SANE_Status GetParameters(SANE_Parameters& parameters) override
    {
        parameters = m_current->parameters;
        return SANE_STATUS_GOOD;
    }
    SANE_Status Read(SANE_Byte* buffer, SANE_Int maxLength, SANE_Int& length) override
    {
        length = 0;
        if (m_offset >= m_current->data.size())
            return m_current->end;
        length = static_cast<SANE_Int>(
            std::min({m_chunk, static_cast<size_t>(maxLength), m_current->data.size() - m_offset}));
        std::memcpy(buffer, m_current->data.data() + m_offset, static_cast<size_t>(length));
        m_offset += static_cast<size_t>(length);
        return SANE_STATUS_GOOD;
    }
    void Cancel() override { ++cancels; }
    std::string StatusText(SANE_Status status) override
    {
        return status == SANE_STATUS_IO_ERROR ? "Error during device I/O" : "status " + std::to_string(status);
    }

    SANE_Status startStatus = SANE_STATUS_GOOD;
    int cancels = 0;

private:
    std::vector<FakeFrame> m_frames;
    size_t m_chunk;
    size_t m_next = 0;
    FakeFrame* m_current = nullptr;
    size_t m_offset = 0;
};

SANE_Parameters Parameters(SANE_Frame format, int width, int lines, int depth, int bytesPerLine = 0, bool last = true)
{
    const int channels = format == SANE_FRAME_RGB ? 3 : 1;
    SANE_Parameters p{};
    p.format = format;
    p.last_frame = last;
    p.pixels_per_line = width;
    p.lines = lines;
    p.depth = depth;
    p.bytes_per_line = bytesPerLine ? bytesPerLine : (width * channels * depth + 7) / 8;
    return p;
}

Bytes Samples16(std::initializer_list<uint16_t> values)
{
    Bytes bytes(values.size() * 2);
    std::memcpy(bytes.data(), std::data(values), bytes.size());
    return bytes;
}

struct Scan {
    ScanResult result;
    Bitmap bitmap;
    std::vector<int> progress;
    int cancels = 0;
};

Scan ReadScan(std::vector<FakeFrame> frames, SANE_Status startStatus = SANE_STATUS_GOOD, bool cancelled = false)
{
    FakeDevice device(std::move(frames));
    device.startStatus = startStatus;
    ScanReader reader(device, "fake:0", 300);
    std::atomic<bool> cancel{cancelled};
    Scan scan;
    scan.result = reader.Run(cancel, [&scan](int percent) { scan.progress.push_back(percent); });
    scan.cancels = device.cancels;
    if (scan.result.outcome == ScanResult::Outcome::Done) {
        HGLOBAL block = scan.result.picture.Get();
        scan.bitmap = BitmapFromDib(static_cast<const uint8_t*>(GlobalLock(block)), GlobalSize(block));
        GlobalUnlock(block);
    }
    return scan;
}

std::vector<std::vector<int32_t>> Pixels(const Bitmap& bitmap)
{
    std::vector<std::vector<int32_t>> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < bitmap.Width(); ++x)
            rows.back().push_back(bitmap.Pixel(x, y));
    }
    return rows;
}

} // namespace

// Grey and line art become palette pictures, colour (one frame or three) 24-bit ones; 16-bit samples keep their
// high byte, padding at the end of a line is dropped, and a hand scanner's lines are counted.
TEST(ScanReaderTest, EveryFrameFormBecomesABitmap)
{
    struct Case {
        const char* name;
        std::vector<FakeFrame> frames;
        PixelFormat format;
        std::vector<std::vector<int32_t>> pixels;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"grey 8", {{Parameters(SANE_FRAME_GRAY, 3, 2, 8), {0, 128, 255, 10, 20, 30}}}, PixelFormat::pf8bit,
         {{0x000000, 0x808080, 0xFFFFFF}, {0x0A0A0A, 0x141414, 0x1E1E1E}}},
        {"grey 16, padded lines", {{Parameters(SANE_FRAME_GRAY, 2, 1, 16, 6), Samples16({0x1234, 0xFF00, 0}) }},
         PixelFormat::pf8bit, {{0x121212, 0xFFFFFF}}},
        {"line art", {{Parameters(SANE_FRAME_GRAY, 10, 2, 1), {0b10000000, 0b01000000, 0b00000000, 0b11000000}}},
         PixelFormat::pf8bit,
         {{0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0},
          {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0}}},
        {"colour 8", {{Parameters(SANE_FRAME_RGB, 2, 1, 8), {255, 0, 0, 1, 2, 3}}}, PixelFormat::pf24bit,
         {{0x0000FF, 0x030201}}},
        {"colour 16", {{Parameters(SANE_FRAME_RGB, 1, 1, 16), Samples16({0xAB00, 0x00FF, 0x7F7F})}},
         PixelFormat::pf24bit, {{0x7F00AB}}},
        {"three frames", {{Parameters(SANE_FRAME_RED, 2, 1, 8, 0, false), {10, 20}},
                          {Parameters(SANE_FRAME_BLUE, 2, 1, 8, 0, false), {30, 40}},
                          {Parameters(SANE_FRAME_GREEN, 2, 1, 8), {50, 60}}},
         PixelFormat::pf24bit, {{0x1E320A, 0x283C14}}},
        {"hand scanner", {{Parameters(SANE_FRAME_GRAY, 2, -1, 8), {1, 2, 3, 4, 5}}}, PixelFormat::pf8bit,
         {{0x010101, 0x020202}, {0x030303, 0x040404}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Scan scan = ReadScan(c.frames);
        ASSERT_EQ(scan.result.outcome, ScanResult::Outcome::Done) << scan.result.message;
        EXPECT_EQ(scan.bitmap.Format(), c.format);
        EXPECT_EQ(Pixels(scan.bitmap), c.pixels);
        EXPECT_EQ(scan.cancels, 1);
        ASSERT_FALSE(scan.progress.empty());
        EXPECT_TRUE(std::is_sorted(scan.progress.begin(), scan.progress.end()));
    }
}

TEST(ScanReaderTest, TheBitmapCarriesTheResolution)
{
    Scan scan = ReadScan({{Parameters(SANE_FRAME_GRAY, 1, 1, 8), {7}}});
    ASSERT_EQ(scan.result.outcome, ScanResult::Outcome::Done);
    const auto* header = static_cast<const uint8_t*>(GlobalLock(scan.result.picture.Get()));
    uint32_t size = 0, colours = 0, perMetre = 0;
    std::memcpy(&size, header, 4);
    std::memcpy(&perMetre, header + 24, 4);
    std::memcpy(&colours, header + 32, 4);
    GlobalUnlock(scan.result.picture.Get());
    EXPECT_EQ(size, 40u);
    EXPECT_EQ(perMetre, 11811u); // 300 dpi
    EXPECT_EQ(colours, 256u);
    EXPECT_EQ(scan.progress.back(), 100);
}

// A device that stops, errs, sends too little or too much, or announces what cannot be read: a failure with a
// text for the user and no picture; the device is cancelled in every case.
TEST(ScanReaderTest, MisbehavingDevicesFailWithAText)
{
    struct Case {
        const char* name;
        std::vector<FakeFrame> frames;
        SANE_Status start;
        TW_UINT16 condition;
        std::string message;
    };
    const SANE_Parameters grey = Parameters(SANE_FRAME_GRAY, 3, 4, 8);
    // clang-format off
    const std::vector<Case> cases = {
        {"gone after two lines", {{grey, Bytes(6, 1), SANE_STATUS_IO_ERROR}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 stopped: Error during device I/O"},
        {"fewer lines than announced", {{grey, Bytes(7, 1)}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 delivered 2 of 4 lines; the picture is incomplete"},
        {"more than announced", {{grey, Bytes(13, 1)}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 sends more than the picture it announced"},
        {"nothing at all", {{Parameters(SANE_FRAME_GRAY, 3, -1, 8), {}}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 delivered no picture"},
        {"paper jam", {{grey, {}}}, SANE_STATUS_JAMMED, Twain::TWCC_PAPERJAM,
         "The scanner fake:0 reports a paper jam: status 6"},
        {"4 bits per sample", {{Parameters(SANE_FRAME_GRAY, 3, 4, 4), {}}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 sends 4 bits per sample, which the program cannot read"},
        {"lines too short", {{Parameters(SANE_FRAME_RGB, 3, 4, 8, 8), {}}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 announces lines whose length does not fit the picture"},
        {"no size", {{Parameters(SANE_FRAME_GRAY, 0, 4, 8), {}}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 announces a picture without a size"},
        {"too large", {{Parameters(SANE_FRAME_RGB, 100000, 100000, 8), {}}}, SANE_STATUS_GOOD, Twain::TWCC_BUMMER,
         "The scanner fake:0 announces a picture larger than the program can hold"},
        {"two colours only", {{Parameters(SANE_FRAME_RED, 1, 1, 8, 0, false), {1}},
                              {Parameters(SANE_FRAME_GREEN, 1, 1, 8), {2}}},
         SANE_STATUS_GOOD, Twain::TWCC_BUMMER, "The scanner fake:0 did not send all three colours of the picture"},
        {"colour frames of different sizes", {{Parameters(SANE_FRAME_RED, 1, 1, 8, 0, false), {1}},
                                              {Parameters(SANE_FRAME_GREEN, 2, 1, 8, 0, false), {2, 3}},
                                              {Parameters(SANE_FRAME_BLUE, 1, 1, 8), {4}}},
         SANE_STATUS_GOOD, Twain::TWCC_BUMMER, "The scanner fake:0 sent colour frames of different sizes"},
        {"one colour as the whole picture", {{Parameters(SANE_FRAME_BLUE, 1, 1, 8), {1}}}, SANE_STATUS_GOOD,
         Twain::TWCC_BUMMER, "The scanner fake:0 sent only one colour of the picture"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Scan scan = ReadScan(c.frames, c.start);
        EXPECT_EQ(scan.result.outcome, ScanResult::Outcome::Failed);
        EXPECT_EQ(scan.result.condition, c.condition);
        EXPECT_EQ(scan.result.message, c.message);
        EXPECT_EQ(scan.result.picture.Get(), nullptr);
        EXPECT_EQ(scan.cancels, 1);
    }
}

TEST(ScanReaderTest, ACancelledScanEndsWithoutAPicture)
{
    for (SANE_Status start : {SANE_STATUS_GOOD, SANE_STATUS_CANCELLED}) {
        const Scan scan = ReadScan({{Parameters(SANE_FRAME_GRAY, 1, 1, 8), {1}}}, start, start == SANE_STATUS_GOOD);
        EXPECT_EQ(scan.result.outcome, ScanResult::Outcome::Cancelled);
        EXPECT_EQ(scan.result.picture.Get(), nullptr);
        EXPECT_EQ(scan.cancels, 1);
    }
}
