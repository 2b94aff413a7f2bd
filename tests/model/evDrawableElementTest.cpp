#include "model/evDrawableElement.h"
#include "StoredFormSupport.h"
#include "model/ObjectStream.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorPage.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

// The base class is registered, so a stream may name it: it reads its header and draws nothing.
TEST(evDrawableElement, BuiltFromAStreamByName)
{
    MemoryStream s;
    s.WriteString("P");
    s.WriteString("evDrawableElement");
    WriteHeader(s, 0, 8); // the class's one version; newer ones are refused (ObjectStreamTest)
    s.SetPosition(0);
    auto element = ReadObjectAs<evDrawableElement>(s);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(s.Remaining(), 0);
    EXPECT_EQ(element->GetID(), 8);
    EXPECT_EQ(element->GetStoredVersion(), 0);
    EXPECT_EQ(element->ToString(), "evDrawableElement");
    EXPECT_EQ(element->GetWidth(), 0);
    EXPECT_EQ(element->GetHeight(), 0);
    EXPECT_TRUE(element->GetName().empty());
    EXPECT_EQ(element->Clone(), nullptr);

    Bitmap target(4, 4);
    target.SetPixel(1, 1, 0x123456);
    evProjectorPage page;
    element->Draw(TRect{0, 0, 4, 4}, target.GetCanvas(), {.drawAll = true, .page = &page, .markEmpty = true});
    EXPECT_EQ(target.Pixel(1, 1), 0x123456);
    EXPECT_EQ(page.GetElements().Count(), 0);

    EXPECT_EQ(SavedBody(*element), (std::vector<uint8_t>{0, 0, 0, 0, 8, 0, 0, 0}));

    MemoryStream cut(std::vector<uint8_t>{1, 0, 0, 0, 2});
    EXPECT_THROW(evDrawableElement(cut, nullptr), EReadError);
}
