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

TEST(evPictureStream, CountZeroIsAnEmptyPicture)
{
    const std::vector<uint8_t> body = PictureBody(0, 2, "", 0, {});
    auto picture = Read(body);
    EXPECT_EQ(picture->GetWidth(), 0);
    EXPECT_EQ(picture->GetHeight(), 0);
    EXPECT_TRUE(picture->GetImageStream().empty());
    EXPECT_TRUE(picture->Decode().IsEmpty());
    EXPECT_EQ(Saved(*picture), body);
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

TEST(evPicture, ConstructorsAndSetGraphic)
{
    const std::vector<uint8_t> jpeg = SolidJpeg(7, 2, kRed);
    evPicture taken("t", JpegImage::FromBytes(jpeg));
    EXPECT_EQ(taken.GetImageStream(), jpeg);
    EXPECT_EQ(taken.GetWidth(), 7);
    EXPECT_EQ(taken.GetPlaceholder(), 0);

    evPicture encoded("e", Solid(3, 9, kBlue));
    EXPECT_EQ(encoded.GetWidth(), 3);
    EXPECT_EQ(encoded.GetHeight(), 9);
    EXPECT_EQ(encoded.GetImageStream(), EncodeJpeg(Solid(3, 9, kBlue), 90));

    // Raw bytes are taken as they are, with the size the caller states: nothing is decoded.
    MemoryStream raw(std::vector<uint8_t>{1, 2, 3});
    evPicture given("g", raw, 4, 640, 480);
    EXPECT_EQ(given.GetImageStream(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(given.GetWidth(), 640);
    EXPECT_EQ(given.GetPlaceholder(), 4);

    auto read = Read(PictureBody(0, 11, "keep", 2, jpeg));
    read->SetGraphic(Solid(2, 5, kBlue));
    EXPECT_EQ(read->GetID(), 11);
    EXPECT_EQ(read->GetName(), "keep");
    EXPECT_EQ(read->GetPlaceholder(), 2);
    EXPECT_EQ(read->GetWidth(), 2);
    EXPECT_EQ(read->GetHeight(), 5);
    EXPECT_EQ(read->GetImageStream(), EncodeJpeg(Solid(2, 5, kBlue), 90));
    Bitmap target;
    read->AssignTo(target);
    EXPECT_EQ(target.Width(), 2);
    EXPECT_TRUE(Near(target.Pixel(1, 4), kBlue, 8));
}

TEST(evPicture, CloneKeepsSizeWithoutDecoding)
{
    MemoryStream raw(std::vector<uint8_t>{9, 9, 9, 9});
    evPicture original("o", raw, 1, 123, 45);
    auto clone = original.Clone();
    auto* copy = dynamic_cast<evPicture*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetWidth(), 123);
    EXPECT_EQ(copy->GetHeight(), 45);
    EXPECT_EQ(copy->GetPlaceholder(), 1);
    EXPECT_EQ(copy->GetName(), "o");
    EXPECT_EQ(copy->GetImageStream(), original.GetImageStream());
    EXPECT_NE(copy->GetImageStream().data(), original.GetImageStream().data());

    auto read = Read(PictureBody(0, 8, "id", 0, {}));
    EXPECT_EQ(read->Clone()->GetID(), 0);
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

TEST_F(evPictureDraw, PlaceholderOnlyWithDrawAll)
{
    auto picture = Read(PictureBody(0, 0, "p", 1, SolidJpeg(4, 4, kRed)));
    evProjectorPage page;
    picture->Draw(m_rect, m_target.GetCanvas(), false, &page, false);
    EXPECT_TRUE(Untouched());
    EXPECT_FALSE(picture->IsPainted());
    EXPECT_EQ(page.GetElements().Count(), 0);

    picture->Draw(m_rect, m_target.GetCanvas(), true, &page, false);
    ExpectRedInsideWhiteOutside(m_rect);
    EXPECT_EQ(page.GetElements().Count(), 1);
}

TEST_F(evPictureDraw, PageGetsTheScaledPictureEvenWhenPainted)
{
    auto picture = Read(PictureBody(0, 0, "p", 0, SolidJpeg(4, 4, kRed)));
    picture->SetPainted();
    evProjectorPage page;
    picture->Draw(m_rect, m_target.GetCanvas(), false, &page, false);
    EXPECT_TRUE(Untouched());
    ASSERT_EQ(page.GetElements().Count(), 1);
    auto* element = page.GetElements().GetItemAs<evProjectorPageElement>(0);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->GetKind(), 0);
    EXPECT_EQ(element->Rect(), m_rect);
    const Bitmap snapshot = element->GetPicture().Decode();
    for (int y = 0; y < snapshot.Height(); ++y)
        for (int x = 0; x < snapshot.Width(); ++x)
            EXPECT_TRUE(Near(snapshot.Pixel(x, y), kRed, 12)) << x << "," << y;
}

TEST_F(evPictureDraw, DamagedBytesFailTheDrawing)
{
    MemoryStream raw(std::vector<uint8_t>(40, 0x33));
    evPicture picture("bad", raw, 0, 10, 10);
    EXPECT_THROW(picture.Draw(m_rect, m_target.GetCanvas(), false, nullptr, false), EImageError);
    Bitmap target;
    EXPECT_THROW(picture.AssignTo(target), EImageError);
}

TEST_F(evPictureDraw, EmptyPictureAndEmptyRectangle)
{
    auto empty = Read(PictureBody(0, 0, "e", 0, {}));
    evProjectorPage page;
    empty->Draw(m_rect, m_target.GetCanvas(), false, &page, false);
    EXPECT_TRUE(Untouched());
    EXPECT_EQ(page.GetElements().Count(), 1);

    auto picture = Read(PictureBody(0, 0, "p", 0, SolidJpeg(4, 4, kRed)));
    picture->Draw(TRect{5, 5, 5, 9}, m_target.GetCanvas(), false, &page, false);
    EXPECT_EQ(page.GetElements().Count(), 1);
}
