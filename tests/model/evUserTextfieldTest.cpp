#include "model/evUserTextfield.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include "StoredFormSupport.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
constexpr TColor kLinkRed = 0x0000FF;
const std::string kFace = "Arial";

// A field read from a stream, so that it carries an identifier as fields of a design do.
std::unique_ptr<evUserTextfield> WithID(const evUserTextfield& field, int32_t id)
{
    std::vector<uint8_t> bytes = SavedBody(field);
    std::memcpy(bytes.data() + 4, &id, 4);
    MemoryStream s(bytes);
    return std::make_unique<evUserTextfield>(s, nullptr);
}

bool SamePixels(const Bitmap& a, const Bitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

// A design with one page layout bound to a category, as a page is rendered; the canvas m_font measures with
// the fields' font (14 points, bold, black).
class evUserTextfieldTest : public ::testing::Test {
protected:
    evUserTextfieldTest()
        : m_design("design", "", 200, 150), m_pageLayout(&m_design, "page", "Page", "", 0),
          m_category("chapter", "", false, 3)
    {
        m_design.SetTextColour(kLinkRed);
        m_pageLayout.SetCategory(&m_category);
        m_font.SetFont(CanvasFont{kFace, 14, fsBold, 0});
    }

    std::unique_ptr<evUserTextfield> Field(const std::string& text, int32_t alignment, int32_t width, int32_t height,
                                           int32_t id = 21)
    {
        evUserTextfield plain("f", text, kFace, 0, 14, true, false, false, alignment, width, height);
        auto field = WithID(plain, id);
        field->SetPageLayout(&m_pageLayout);
        field->BuildLines();
        return field;
    }

    // What a white canvas shows after the line was written at the offset with the field's font.
    Bitmap Expected(const TRect& rect, int x, const std::string& line)
    {
        Bitmap bitmap = Solid(m_target.Width(), m_target.Height(), kColorWhite);
        Canvas& canvas = bitmap.GetCanvas();
        canvas.SetBrushStyle(BrushStyle::Clear);
        canvas.SetFont(CanvasFont{kFace, 14, fsBold, 0});
        canvas.TextRect(rect, rect.Left + x, rect.Top, line);
        return bitmap;
    }

    evLayout m_design;
    evPageLayout m_pageLayout;
    evCategory m_category;
    Bitmap m_target = Solid(160, 120, kColorWhite);
    Bitmap m_probe{1, 1};
    Canvas& m_font = m_probe.GetCanvas();
};
} // namespace

TEST(evUserTextfieldStream, RoundTripTextAndCuts)
{
    MemoryStream s;
    WriteHeader(s, 0, 33);
    s.WriteString("title");
    WriteInts(s, {120, 40});
    s.WriteString("Anna\r\nand Ben");
    s.WriteString("Arial");
    WriteInts(s, {5, 18});
    for (uint8_t style : {1, 0, 1})
        s.WriteByte(style);
    WriteInts(s, {0x123456, 2, 1});
    const std::vector<uint8_t> body = s.Data();

    MemoryStream in(body);
    evUserTextfield field(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    // The text form holds name, text, font name, width, height, font identifier and size.
    EXPECT_EQ(field.ToString(), "[33, 0, 'title', 'Anna\r\nand Ben', 'Arial', 120, 40, 5, 18]");
    EXPECT_EQ(field.GetStyle(), fsBold | fsUnderline);
    EXPECT_EQ(field.GetColour(), 0x123456);
    EXPECT_EQ(field.GetAlignment(), 2);
    EXPECT_EQ(field.GetFixed(), 1);
    EXPECT_EQ(field.GetPageLayout(), nullptr);
    EXPECT_FALSE(field.GetLineLinks());
    EXPECT_FALSE(field.GetKeepBackground());
    EXPECT_TRUE(field.GetLines().empty());
    EXPECT_EQ(SavedBody(field), body);
    // A copy keeps every setting, the fixed flag included.
    const auto copy = field.Clone();
    const auto& copied = dynamic_cast<const evUserTextfield&>(*copy);
    EXPECT_EQ(copied.GetFixed(), 1);
    EXPECT_EQ(copied.GetColour(), 0x123456);
    EXPECT_EQ(copied.GetStyle(), fsBold | fsUnderline);
    ExpectEveryCutFails(body, [](Stream& cut) { evUserTextfield(cut, nullptr); });
}

TEST_F(evUserTextfieldTest, RemoveReferencesDropsOnlyItsFont)
{
    evUserTextfield plain("f", "x", kFace, 21, 10, false, false, false, 0, 10, 10);
    auto other = Field("x", 0, 10, 10, 22);
    plain.RemoveReferences(other.get());
    EXPECT_EQ(plain.GetFontID(), 21);
    plain.RemoveReferences(nullptr);
    EXPECT_EQ(plain.GetFontID(), 21);
    auto same = Field("x", 0, 10, 10, 21);
    plain.RemoveReferences(same.get());
    EXPECT_EQ(plain.GetFontID(), 0);
}

TEST_F(evUserTextfieldTest, CentredLineWiderThanTheFieldRoundsTowardZero)
{
    // The line is built at the field's width but drawn into a rectangle 7 pixels narrower than the text: the
    // offset is -7 / 2 = -3, not -4.
    const std::string text = "Wedding";
    auto field = Field(text, 1, 400, 60);
    const int width = m_font.TextWidth(text) - 7;
    const TRect rect{20, 10, 20 + width, 70};
    const Bitmap towardZero = Expected(rect, -3, text);
    ASSERT_FALSE(SamePixels(towardZero, Expected(rect, -4, text)));
    field->Draw(rect, m_target.GetCanvas(), {});
    EXPECT_TRUE(SamePixels(m_target, towardZero));
}

TEST_F(evUserTextfieldTest, ALineMustEndStrictlyAboveTheBottom)
{
    const int h = m_font.TextHeight("FyAnna");
    auto field = Field("Anna\r\nBen", 0, 120, 200);
    field->Draw(TRect{0, 0, 120, h}, m_target.GetCanvas(), {});
    EXPECT_TRUE(SamePixels(m_target, Solid(160, 120, kColorWhite)));

    const TRect oneLine{0, 0, 120, h + 1};
    field->Draw(oneLine, m_target.GetCanvas(), {});
    EXPECT_TRUE(SamePixels(m_target, Expected(oneLine, 0, "Anna")));
}
