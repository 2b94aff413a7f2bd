// The stored classes of presentation pages: elements, film strips, mouse and navigation actions, pages.
#include "model/evObjectCollection.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {
std::vector<uint8_t> Saved(const evObject& object)
{
    MemoryStream s;
    object.SaveToStream(s);
    return s.Data();
}

template <class T>
std::unique_ptr<T> Read(const std::vector<uint8_t>& bytes)
{
    MemoryStream s(bytes);
    auto object = std::make_unique<T>(s, nullptr);
    EXPECT_EQ(s.Remaining(), 0);
    return object;
}

// Every shorter prefix of a good body must fail as a read (or, inside a JPEG, as a picture) error.
template <class T>
void ExpectEveryCutFails(const std::vector<uint8_t>& body)
{
    for (size_t length = 0; length < body.size(); ++length) {
        MemoryStream s(std::vector<uint8_t>(body.begin(), body.begin() + static_cast<long>(length)));
        try {
            T object(s, nullptr);
            ADD_FAILURE() << "no error at length " << length;
        } catch (const EReadError&) {
        } catch (const EImageError&) {}
    }
}

std::vector<uint8_t> ElementBody(int32_t x, int32_t y, int32_t kind, const std::vector<uint8_t>& jpeg)
{
    MemoryStream s;
    s.WriteInt32(0);
    s.WriteInt32(12);
    s.WriteInt32(x);
    s.WriteInt32(y);
    s.WriteInt32(kind);
    s.WriteInt32(static_cast<int32_t>(jpeg.size()));
    s.WriteBytes(jpeg);
    return s.Data();
}

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;
} // namespace

TEST(evProjectorPageElement, StreamRoundTripAndGeometry)
{
    const std::vector<uint8_t> jpeg = EncodeJpeg(Solid(6, 4, kRed));
    const std::vector<uint8_t> body = ElementBody(10, -3, 2, jpeg);
    auto element = Read<evProjectorPageElement>(body);
    EXPECT_EQ(element->GetID(), 12);
    EXPECT_EQ(element->GetX(), 10);
    EXPECT_EQ(element->GetY(), -3);
    EXPECT_EQ(element->GetKind(), 2);
    EXPECT_EQ(element->GetPicture().Bytes(), jpeg);
    EXPECT_EQ(element->Rect(), (TRect{10, -3, 16, 1}));
    EXPECT_EQ(element->ToString(), "evProjectorPageElement[2]");
    EXPECT_EQ(Saved(*element), body);
    ExpectEveryCutFails<evProjectorPageElement>(body);
}

TEST(evProjectorPageElement, DamagedLengthOrPictureFails)
{
    const std::vector<uint8_t> jpeg = EncodeJpeg(Solid(6, 4, kRed));
    std::vector<uint8_t> body = ElementBody(0, 0, 0, jpeg);
    body[20] = static_cast<uint8_t>(jpeg.size() + 1);
    body[21] = static_cast<uint8_t>((jpeg.size() + 1) >> 8);
    MemoryStream tooLong(body);
    EXPECT_THROW(evProjectorPageElement(tooLong, nullptr), EReadError);
    MemoryStream garbage(ElementBody(0, 0, 0, std::vector<uint8_t>(64, 0xEE)));
    EXPECT_THROW(evProjectorPageElement(garbage, nullptr), EImageError);
}

TEST(evProjectorActions, NaviActionKeepsReservedAndDropsIndexes)
{
    evProjectorNaviAction sound(TRect{5, 6, 7, 8}, -2, 3, 4);
    EXPECT_EQ(sound.GetFirstElement(), 3);
    EXPECT_EQ(sound.GetSecondElement(), 4);
    EXPECT_EQ(evProjectorNaviAction(TRect{}, 1).GetFirstElement(), -1);
    const std::vector<uint8_t> body = Saved(sound);
    const std::vector<int32_t> expected{0, 0, 5, 6, 7, 8, 0, -2};
    ASSERT_EQ(body.size(), expected.size() * 4);
    EXPECT_EQ(std::memcmp(body.data(), expected.data(), body.size()), 0);

    // A reserved value other than 0 in a file is kept as read.
    const std::vector<int32_t> stored{0, 17, 1, 1, 2, 2, 99, 4};
    std::vector<uint8_t> storedBytes(stored.size() * 4);
    std::memcpy(storedBytes.data(), stored.data(), storedBytes.size());
    auto read = Read<evProjectorNaviAction>(storedBytes);
    EXPECT_EQ(read->GetID(), 17);
    EXPECT_EQ(read->GetTarget(), 4);
    EXPECT_EQ(read->GetFirstElement(), -1);
    EXPECT_EQ(read->GetSecondElement(), -1);
    EXPECT_EQ(read->ToString(), "evProjectorNaviAction[99, 4]");
    EXPECT_EQ(Saved(*read), storedBytes);
    ExpectEveryCutFails<evProjectorNaviAction>(storedBytes);
}

namespace {
// A strip of two halves: red on the left / top, green on the right / bottom.
Bitmap TwoColourStrip(bool horizontal)
{
    Bitmap strip = horizontal ? Solid(32, 8, kRed) : Solid(8, 32, kRed);
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x)
            if ((horizontal ? x : y) >= 16)
                strip.SetPixel(x, y, kGreen);
    return strip;
}

std::unique_ptr<evProjectorSliderElement> MakeSlider(int32_t direction)
{
    auto items = std::make_unique<evObjectCollection>();
    items->Add(std::make_unique<evProjectorPageElement>(40, 50, JpegImage::FromBitmap(Solid(4, 4, kRed)), 0));
    items->Add(std::make_unique<evProjectorPageElement>(40, 50, JpegImage::FromBitmap(Solid(4, 4, kGreen)), 0));
    const bool horizontal = direction < 2;
    return std::make_unique<evProjectorSliderElement>(TRect{2, 3, 10, 11}, 2, 25, std::move(items), direction, 8, 8,
                                                      TwoColourStrip(horizontal));
}
} // namespace

TEST(evProjectorSliderElement, StreamRoundTripKeepsBytesAndReadRebuildsTheStrip)
{
    for (int32_t direction : {0, 1, 2, 3}) {
        auto slider = MakeSlider(direction);
        const std::vector<uint8_t> body = Saved(*slider);
        auto read = Read<evProjectorSliderElement>(body);
        EXPECT_EQ(read->GetWindow(), (TRect{2, 3, 10, 11}));
        EXPECT_EQ(read->GetDirection(), direction);
        EXPECT_EQ(read->GetItemWidth(), 8);
        EXPECT_EQ(read->GetItemHeight(), 8);
        EXPECT_EQ(read->GetSpeed(), 25);
        EXPECT_EQ(read->GetItems().Count(), 2);
        EXPECT_EQ(read->GetOffset(), slider->GetOffset());
        EXPECT_EQ(read->GetCurrentItem(), -1);
        EXPECT_EQ(read->GetStrip().Width(), slider->GetStrip().Width());
        EXPECT_EQ(read->GetStrip().Height(), slider->GetStrip().Height());
        EXPECT_EQ(Saved(*read), body);
        if (direction == 0)
            ExpectEveryCutFails<evProjectorSliderElement>(body);
    }
}

namespace {
std::unique_ptr<evProjectorPage> SamplePage()
{
    auto page = std::make_unique<evProjectorPage>();
    EXPECT_EQ(
        page->AddElement(std::make_unique<evProjectorPageElement>(0, 0, JpegImage::FromBitmap(Solid(3, 3, kRed)), 0)),
        0);
    EXPECT_EQ(page->AddElement(std::make_unique<evProjectorPageElement>(5, 5, JpegImage(), 3)), 1);
    EXPECT_EQ(page->AddElement(MakeSlider(1)), 2);
    EXPECT_EQ(page->AddMouseAction(std::make_unique<evProjectorMouseAction>(TRect{0, 0, 3, 3}, 0, 0, 0)), 0);
    EXPECT_EQ(page->AddNaviAction(std::make_unique<evProjectorNaviAction>(TRect{0, 0, 3, 3}, -2)), 0);
    EXPECT_EQ(page->AddNaviAction(std::make_unique<evProjectorNaviAction>(TRect{4, 4, 9, 9}, 7)), 1);
    page->SetPageType(1);
    page->SetSlideInterval(2500);
    return page;
}
} // namespace

TEST(evProjectorPage, StreamRoundTripAndText)
{
    auto page = SamplePage();
    EXPECT_EQ(page->ToString(),
              "evProjectorPage[evObjectCollection[evProjectorPageElement[0], evProjectorPageElement[3], "
              "evProjectorPageElement[2]], evObjectCollection[evProjectorMouseAction[0, 0, 0]], "
              "evObjectCollection[evProjectorNaviAction[0, -2], evProjectorNaviAction[0, 7]]]");
    const std::vector<uint8_t> body = Saved(*page);
    auto read = Read<evProjectorPage>(body);
    EXPECT_EQ(read->GetPageType(), 1);
    EXPECT_EQ(read->GetSlideInterval(), 2500);
    EXPECT_EQ(read->GetElements().GetClassAt(2), "evProjectorSliderElement");
    EXPECT_EQ(read->ToString(), page->ToString());
    EXPECT_EQ(Saved(*read), body);

    // The tail of the body: page type and slide interval after the three collections.
    int32_t tail[2];
    std::memcpy(tail, body.data() + body.size() - 8, 8);
    EXPECT_EQ(tail[0], 1);
    EXPECT_EQ(tail[1], 2500);
}

TEST(evProjectorPage, ACutPageFailsAtEveryByte)
{
    auto page = SamplePage();
    ExpectEveryCutFails<evProjectorPage>(Saved(*page));
}
