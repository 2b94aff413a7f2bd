#include "model/evPicture.h"
#include "model/ObjectStream.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include "StoredFormSupport.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {
std::vector<uint8_t> SolidJpeg(int width, int height, TColor colour)
{
    return EncodeJpeg(Solid(width, height, colour));
}

// A picture body as a design file holds it: header, name, placeholder, count, JPEG bytes.
std::vector<uint8_t> PictureBody(int32_t version, int32_t id, const std::string& name, int32_t placeholder,
                                 const std::vector<uint8_t>& jpeg)
{
    MemoryStream s;
    s.WriteInt32(version);
    s.WriteInt32(id);
    s.WriteString(name);
    s.WriteInt32(placeholder);
    s.WriteInt32(static_cast<int32_t>(jpeg.size()));
    s.WriteBytes(jpeg);
    return s.Data();
}

std::unique_ptr<evPicture> Read(const std::vector<uint8_t>& bytes)
{
    MemoryStream s(bytes);
    auto picture = std::make_unique<evPicture>(s, nullptr);
    EXPECT_EQ(s.Remaining(), 0);
    return picture;
}

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
} // namespace

TEST(evPictureStream, ReadAndSaveKeepTheBytesAndEveryCutFails)
{
    const std::vector<uint8_t> jpeg = SolidJpeg(5, 3, kRed);
    const std::vector<uint8_t> body = PictureBody(0, 7, "bg", 3, jpeg);
    auto picture = Read(body);
    EXPECT_EQ(picture->ToString(), "evPicture[7, 0, 'bg']");
    EXPECT_EQ(picture->GetPlaceholder(), 3);
    EXPECT_EQ(picture->GetWidth(), 5);
    EXPECT_EQ(picture->GetHeight(), 3);
    EXPECT_EQ(picture->GetImageStream(), jpeg);
    EXPECT_EQ(SavedBody(*picture), body);
    ExpectEveryCutFails(body, [](Stream& s) { evPicture(s, nullptr); });

    // An older version is written with the current one.
    std::vector<uint8_t> old = PictureBody(5, 1, "x", 0, {});
    auto upgraded = Read(old);
    EXPECT_EQ(upgraded->GetStoredVersion(), 5);
    old[0] = 0;
    EXPECT_EQ(SavedBody(*upgraded), old);
}

TEST(evPictureStream, DamagedCountsAndBytesFail)
{
    const std::vector<uint8_t> jpeg = SolidJpeg(6, 6, kRed);
    std::vector<uint8_t> body = PictureBody(0, 0, "n", 0, jpeg);
    // The count field sits after header (8), name (4 + 1) and placeholder (4).
    const size_t countAt = 17;
    for (int32_t count : {-1, static_cast<int32_t>(jpeg.size()) + 1, 0x7FFFFFFF}) {
        std::vector<uint8_t> damaged = body;
        std::memcpy(damaged.data() + countAt, &count, 4);
        MemoryStream s(damaged);
        EXPECT_THROW(evPicture(s, nullptr), EReadError) << count;
    }
    std::vector<uint8_t> garbage(jpeg.size(), 0x5A);
    MemoryStream s(PictureBody(0, 0, "g", 0, garbage));
    EXPECT_THROW(evPicture(s, nullptr), EImageError);
    // Inside a reference the failure passes out of the object reader too.
    MemoryStream r;
    r.WriteString("P");
    r.WriteString("evPicture");
    r.WriteBytes(PictureBody(0, 0, "g", 0, garbage));
    r.SetPosition(0);
    EXPECT_THROW(ReadObject(r), EImageError);
}

namespace {
class evPictureDraw : public ::testing::Test {
protected:
    evPictureDraw() : m_target(Solid(16, 12, kColorWhite)) {}

    void ExpectRedInsideWhiteOutside(const TRect& rect)
    {
        for (int y = 0; y < m_target.Height(); ++y) {
            for (int x = 0; x < m_target.Width(); ++x) {
                const bool inside = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
                if (inside)
                    EXPECT_TRUE(Near(m_target.Pixel(x, y), kRed, 12)) << x << "," << y;
                else
                    EXPECT_EQ(m_target.Pixel(x, y), kColorWhite) << x << "," << y;
            }
        }
    }
    bool Untouched() const
    {
        for (int y = 0; y < m_target.Height(); ++y)
            for (int x = 0; x < m_target.Width(); ++x)
                if (m_target.Pixel(x, y) != kColorWhite)
                    return false;
        return true;
    }

    Bitmap m_target;
    const TRect m_rect{3, 2, 13, 7};
};
} // namespace

TEST_F(evPictureDraw, StretchesIntoTheRectangle)
{
    auto picture = Read(PictureBody(0, 0, "p", 0, SolidJpeg(4, 4, kRed)));
    picture->Draw(m_rect, m_target.GetCanvas(), {});
    ExpectRedInsideWhiteOutside(m_rect);
    EXPECT_TRUE(picture->IsPainted());

    // Painted once in a pass: a second drawing without a page leaves the canvas alone.
    m_target = Solid(16, 12, kColorWhite);
    picture->Draw(m_rect, m_target.GetCanvas(), {});
    EXPECT_TRUE(Untouched());
}

TEST_F(evPictureDraw, DamagedBytesDrawTheMarkButStillFailADecode)
{
    MemoryStream raw(std::vector<uint8_t>(40, 0x33));
    evPicture picture("bad", raw, 0, 10, 10);
    picture.Draw(m_rect, m_target.GetCanvas(), {});
    EXPECT_FALSE(Untouched());
    EXPECT_EQ(m_target.Pixel(0, 0), kColorWhite);
    Bitmap target;
    EXPECT_THROW(picture.AssignTo(target), EImageError);
    EXPECT_THROW(picture.DecodeAtLeast(4, 4), EImageError);
}

namespace {

// Smooth shading with fine texture and hard edges, so that resampling differences would show.
Bitmap PhotoLike(int width, int height)
{
    Bitmap bitmap(width, height);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) % 11) - 5;
            const int edge = (x / 97 + y / 71) % 2 == 0 ? 40 : 0;
            const int r = std::clamp(x * 200 / width + edge + noise, 0, 255);
            const int g = std::clamp(y * 180 / height + 30 + noise, 0, 255);
            const int b = std::clamp((x + y) * 120 / (width + height) + 60 - edge + noise, 0, 255);
            bitmap.SetPixel(x, y, static_cast<TColor>(r | (g << 8) | (b << 16)));
        }
    }
    return bitmap;
}

// Share of pixels where any channel differs by more than the given number of levels.
double ShareDiffering(const Bitmap& a, const Bitmap& b, int levels)
{
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!Near(a.Pixel(x, y), static_cast<TColor>(b.Pixel(x, y)), levels))
                ++differing;
    return static_cast<double>(differing) / (a.Width() * a.Height());
}

size_t FindMarker(const std::vector<uint8_t>& jpeg, uint8_t marker)
{
    for (size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker)
            return i;
    return 0;
}

// The mark: the grey field inside, the dark red border, the canvas outside untouched.
// A snapshot has been through JPEG, so its colours are compared loosely.
void ExpectDamagedMark(const Bitmap& target, const TRect& rect, const std::string& what, int tolerance = 4)
{
    EXPECT_TRUE(Near(target.Pixel(rect.Left + rect.Width() / 2, rect.Top + 4), 0xC0C0C0, tolerance)) << what;
    EXPECT_TRUE(Near(target.Pixel(rect.Left, rect.Top + rect.Height() / 2), kColorDarkRed, tolerance)) << what;
    if (rect.Left > 0) {
        EXPECT_EQ(target.Pixel(rect.Left - 1, rect.Top), kColorWhite) << what;
    }
}

} // namespace

TEST(evPictureScaled, SlotPicturesStayWithinOnePercentOfFullSizeDecoding)
{
    const JpegImage photo = JpegImage::FromBitmap(PhotoLike(800, 600));
    MemoryStream bytes(photo.Bytes());
    evPicture picture("photo", bytes, 0, photo.Width(), photo.Height());
    // Slots at 1/8, between scales, near half and near full size, and one that enlarges.
    for (const auto& [width, height] :
         std::vector<std::pair<int, int>>{{100, 75}, {150, 110}, {333, 201}, {390, 290}, {700, 500}, {1000, 700}}) {
        Bitmap fullSize(width, height);
        fullSize.GetCanvas().StretchDraw(TRect{0, 0, width, height}, photo.Decode());
        const Bitmap scaled = picture.ScaledTo(width, height);
        ASSERT_EQ(scaled.Width(), width);
        EXPECT_LT(ShareDiffering(scaled, fullSize, 8), 0.01) << width << "x" << height;
    }
}

// Data damaged after a sound header is read and draws the mark (and still fails a decode); a damaged header fails
// the read.
TEST(evPictureScaled, DamagedJpegDataDrawsTheMarkAndDamagedHeadersFailTheRead)
{
    const std::vector<uint8_t> whole = EncodeJpeg(PhotoLike(64, 48));
    const size_t scan = FindMarker(whole, 0xDA);
    const size_t frame = FindMarker(whole, 0xC0);
    ASSERT_NE(scan, 0u);
    ASSERT_NE(frame, 0u);
    const auto cut = [&whole](size_t length) { return std::vector<uint8_t>(whole.begin(), whole.begin() + length); };
    // Header bytes 5-6 hold the lines, 7-8 the columns.
    const auto withSize = [&whole, frame](int lines, int columns) {
        std::vector<uint8_t> jpeg = whole;
        jpeg[frame + 5] = static_cast<uint8_t>(lines >> 8);
        jpeg[frame + 6] = static_cast<uint8_t>(lines);
        jpeg[frame + 7] = static_cast<uint8_t>(columns >> 8);
        jpeg[frame + 8] = static_cast<uint8_t>(columns);
        return jpeg;
    };
    struct Case {
        std::string what;
        std::vector<uint8_t> jpeg;
        int height; // 0: the read fails
    };
    const Case cases[] = {
        {"cut after the scan header", cut(scan + 20), 48},
        {"cut half-way", cut((scan + whole.size()) / 2), 48},
        {"claims four times the lines the data holds", withSize(192, 64), 192},
        {"cut before the first scan", cut(scan), 0},
        {"over the pixel limit", withSize(20000, 20000), 0},
        {"no columns", withSize(48, 0), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.height) {
            MemoryStream s(PictureBody(0, 0, "p", 0, c.jpeg));
            EXPECT_THROW(evPicture(s, nullptr), EImageError);
            continue;
        }
        auto picture = Read(PictureBody(0, 4, "photo", 0, c.jpeg));
        EXPECT_EQ(picture->GetWidth(), 64);
        EXPECT_EQ(picture->GetHeight(), c.height);
        EXPECT_EQ(picture->GetImageStream(), c.jpeg);

        Bitmap target = Solid(40, 30, kColorWhite);
        const TRect rect{5, 5, 35, 25};
        evProjectorPage page;
        EXPECT_NO_THROW(picture->Draw(rect, target.GetCanvas(), {.page = &page}));
        ExpectDamagedMark(target, rect, "on the canvas");
        ASSERT_EQ(page.GetElements().Count(), 1);
        const auto* element = page.GetElements().GetItemAs<evProjectorPageElement>(0);
        ExpectDamagedMark(element->GetPicture().Decode(), TRect{0, 0, 30, 20}, "in the snapshot", 40);
        EXPECT_THROW(picture->Decode(), EImageError);
    }
}
