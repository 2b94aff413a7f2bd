#include "model/ObjectStream.h"
#include "model/evPicture.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"
#include "presentation/evProjectorPage.h"
#include "presentation/evProjectorPageElement.h"
#include "model/evObjectCollection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {
Bitmap Solid(int width, int height, TColor colour)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, colour);
    return bitmap;
}

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

std::vector<uint8_t> Saved(const evObject& object)
{
    MemoryStream s;
    object.SaveToStream(s);
    return s.Data();
}

std::unique_ptr<evPicture> Read(const std::vector<uint8_t>& bytes)
{
    MemoryStream s(bytes);
    auto picture = std::make_unique<evPicture>(s, nullptr);
    EXPECT_EQ(s.Remaining(), 0);
    return picture;
}

bool Near(int32_t actual, TColor expected, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = (actual >> shift) & 0xFF;
        const int e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance)
            return false;
    }
    return true;
}

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
}

TEST(evPictureStream, ReadAndSaveKeepTheBytes)
{
    const std::vector<uint8_t> jpeg = SolidJpeg(5, 3, kRed);
    const std::vector<uint8_t> body = PictureBody(0, 7, "bg", 3, jpeg);
    auto picture = Read(body);
    EXPECT_EQ(picture->GetID(), 7);
    EXPECT_EQ(picture->GetName(), "bg");
    EXPECT_EQ(picture->GetPlaceholder(), 3);
    EXPECT_EQ(picture->GetWidth(), 5);
    EXPECT_EQ(picture->GetHeight(), 3);
    EXPECT_EQ(picture->GetImageStream(), jpeg);
    EXPECT_EQ(Saved(*picture), body);
    EXPECT_EQ(picture->ToString(), "evPicture[7, 0, 'bg']");
}

TEST(evPictureStream, OlderVersionIsWrittenWithTheCurrentOne)
{
    std::vector<uint8_t> body = PictureBody(5, 1, "x", 0, {});
    auto picture = Read(body);
    EXPECT_EQ(picture->GetStoredVersion(), 5);
    body[0] = 0;
    EXPECT_EQ(Saved(*picture), body);
}

TEST(evPictureStream, ACutStreamFailsAtEveryByte)
{
    const std::vector<uint8_t> body = PictureBody(0, 9, "cut", 0, SolidJpeg(6, 6, kRed));
    for (size_t length = 0; length < body.size(); ++length) {
        MemoryStream s(std::vector<uint8_t>(body.begin(), body.begin() + static_cast<long>(length)));
        EXPECT_THROW(evPicture(s, nullptr), EReadError) << "length " << length;
    }
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
}

TEST_F(evPictureDraw, StretchesIntoTheRectangle)
{
    auto picture = Read(PictureBody(0, 0, "p", 0, SolidJpeg(4, 4, kRed)));
    picture->Draw(m_rect, m_target.GetCanvas(), false, nullptr, false);
    ExpectRedInsideWhiteOutside(m_rect);
    EXPECT_TRUE(picture->IsPainted());

    // Painted once in a pass: a second drawing without a page leaves the canvas alone.
    m_target = Solid(16, 12, kColorWhite);
    picture->Draw(m_rect, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_TRUE(Untouched());
}

TEST_F(evPictureDraw, DamagedBytesFailTheDrawing)
{
    MemoryStream raw(std::vector<uint8_t>(40, 0x33));
    evPicture picture("bad", raw, 0, 10, 10);
    EXPECT_THROW(picture.Draw(m_rect, m_target.GetCanvas(), false, nullptr, false), EImageError);
    Bitmap target;
    EXPECT_THROW(picture.AssignTo(target), EImageError);
}
