// The stored classes of presentation pages: elements, film strips, mouse and navigation actions, pages; the
// whole presentation object, stored as its page collection and refusing anything but pages; and the action
// elements of a design by version.
#include "model/ObjectStream.h"
#include "model/evActionElement.h"
#include "model/evObjectCollection.h"
#include "model/evProjector.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Jpeg.h"

#include "TestPictures.h"
#include "ViewerPageParts.h"
#include "model/StoredFormSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
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
    WriteHeader(s, 0, 12);
    WriteInts(s, {x, y, kind, static_cast<int32_t>(jpeg.size())});
    s.WriteBytes(jpeg);
    return s.Data();
}
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
    EXPECT_EQ(SavedBody(*element), body);
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
    const std::vector<uint8_t> body = SavedBody(sound);
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
    EXPECT_EQ(SavedBody(*read), storedBytes);
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
    items->Add(Picture(40, 50, 4, 4, kRed, 0));
    items->Add(Picture(40, 50, 4, 4, kGreen, 0));
    const bool horizontal = direction < 2;
    return std::make_unique<evProjectorSliderElement>(TRect{2, 3, 10, 11}, 2, 25, std::move(items), direction, 8, 8,
                                                      TwoColourStrip(horizontal));
}
} // namespace

TEST(evProjectorSliderElement, StreamRoundTripKeepsBytesAndReadRebuildsTheStrip)
{
    for (int32_t direction : {0, 2}) {
        auto slider = MakeSlider(direction);
        const std::vector<uint8_t> body = SavedBody(*slider);
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
        EXPECT_EQ(SavedBody(*read), body);
        if (direction == 0)
            ExpectEveryCutFails<evProjectorSliderElement>(body);
    }
}

namespace {
std::unique_ptr<evProjectorPage> SamplePage()
{
    auto page = std::make_unique<evProjectorPage>();
    EXPECT_EQ(page->AddElement(Picture(0, 0, 3, 3, kRed, 0)), 0);
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

TEST(evProjectorPage, StreamRoundTripTextAndCuts)
{
    auto page = SamplePage();
    EXPECT_EQ(page->ToString(),
              "evProjectorPage[evObjectCollection[evProjectorPageElement[0], evProjectorPageElement[3], "
              "evProjectorPageElement[2]], evObjectCollection[evProjectorMouseAction[0, 0, 0]], "
              "evObjectCollection[evProjectorNaviAction[0, -2], evProjectorNaviAction[0, 7]]]");
    const std::vector<uint8_t> body = SavedBody(*page);
    auto read = Read<evProjectorPage>(body);
    EXPECT_EQ(read->GetPageType(), 1);
    EXPECT_EQ(read->GetSlideInterval(), 2500);
    EXPECT_EQ(read->GetElements().GetClassAt(2), "evProjectorSliderElement");
    EXPECT_EQ(read->ToString(), page->ToString());
    EXPECT_EQ(SavedBody(*read), body);

    // The tail of the body: page type and slide interval after the three collections.
    int32_t tail[2];
    std::memcpy(tail, body.data() + body.size() - 8, 8);
    EXPECT_EQ(tail[0], 1);
    EXPECT_EQ(tail[1], 2500);
    ExpectEveryCutFails<evProjectorPage>(body);
}

TEST(evProjectorTest, StoredAsItsPagesAndReadThroughTheRegistry)
{
    evProjector projector;
    for (int32_t target : {1, -1}) {
        auto page = std::make_unique<evProjectorPage>();
        page->AddNaviAction(std::make_unique<evProjectorNaviAction>(TRect{0, 0, 5, 5}, target));
        projector.GetPages().Add(std::move(page));
    }
    projector.SetCompanion(std::make_unique<evProjectorPage>());
    MemoryStream stream;
    WriteObject(stream, &projector);

    MemoryStream expected;
    expected.WriteString("P");
    expected.WriteString("evProjector");
    WriteHeader(expected, 0, 0);
    ASSERT_TRUE(projector.GetPages().SaveToStream(expected));
    EXPECT_EQ(stream.Data(), expected.Data());

    stream.SetPosition(0);
    const auto read = ReadObjectAs<evProjector>(stream);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetPages().Count(), 2);
    EXPECT_EQ(read->GetCompanion(), nullptr);
    EXPECT_EQ(read->ToString(), projector.ToString());
    EXPECT_EQ(stream.Remaining(), 0);
    ::ExpectEveryCutFails(SavedBody(projector), [](Stream& s) { evProjector(s, nullptr); });
}

TEST(evProjectorTest, AnythingButPagesIsAReadError)
{
    evObjectCollection pages;
    pages.Add(std::make_unique<evProjectorNaviAction>(TRect{0, 0, 1, 1}, 0));
    MemoryStream stream;
    WriteHeader(stream, 0, 0);
    ASSERT_TRUE(pages.SaveToStream(stream));
    stream.SetPosition(0);
    EXPECT_THROW(evProjector(stream, nullptr), EReadError);
}

// Version 2 round trips byte for byte; version 1 has no values A and B, version 0 no slots either, and both are
// written as version 2.
TEST(evActionElementTest, StoredFormByVersion)
{
    const auto stream = [](int32_t version) {
        MemoryStream s;
        WriteHeader(s, version, 8);
        s.WriteString("button");
        WriteInts(s, {10, 20, 30, 40, 15});
        if (version >= 1)
            WriteInts(s, {1, 2, 3});
        if (version >= 2)
            WriteInts(s, {250, 2});
        s.SetPosition(0);
        return s;
    };
    const char* const texts[] = {"evActionElement[8, 0, 10, 20, 30, 40, 15, 0, 0, 0, 0, 0]",
                                 "evActionElement[8, 1, 10, 20, 30, 40, 15, 1, 2, 3, 0, 0]",
                                 "evActionElement[8, 2, 10, 20, 30, 40, 15, 1, 2, 3, 250, 2]"};
    for (int32_t version : {0, 1, 2}) {
        SCOPED_TRACE(version);
        MemoryStream in = stream(version);
        evActionElement element(in, nullptr);
        EXPECT_EQ(in.Remaining(), 0);
        EXPECT_EQ(element.ToString(), texts[version]);
        // Name and rectangle end at byte 38, the slots at 50, the values at 58.
        std::vector<uint8_t> upgraded = stream(2).Data();
        std::fill(upgraded.begin() + (version == 0 ? 38 : version == 1 ? 50 : 58), upgraded.end(), 0);
        EXPECT_EQ(SavedBody(element), upgraded);
    }
    MemoryStream v0 = stream(0);
    const evActionElement zero(v0, nullptr);
    EXPECT_EQ(zero.Clone()->ToString(), "evActionElement[0, 0, 10, 20, 30, 40, 15, 0, 0, 0, 0, 0]");
    EXPECT_EQ(zero.GetRect().Right, 40);
    EXPECT_EQ(zero.GetRect().Bottom, 60);
}
