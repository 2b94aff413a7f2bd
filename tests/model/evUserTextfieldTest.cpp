#include "model/evUserTextfield.h"
#include "model/evCategory.h"
#include "model/evFont.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"
#include "platform/TextMeasurer.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kLinkRed = 0x0000FF;
const std::string kFace = "Arial";

std::vector<uint8_t> Saved(const evObject& object)
{
    MemoryStream s;
    object.SaveToStream(s);
    return s.Data();
}

// A field read from a stream, so that it carries an identifier as fields of a design do.
std::unique_ptr<evUserTextfield> WithID(const evUserTextfield& field, int32_t id)
{
    std::vector<uint8_t> bytes = Saved(field);
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

int CountPixels(const Bitmap& bitmap, TColor colour)
{
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            count += bitmap.Pixel(x, y) == colour ? 1 : 0;
    return count;
}

// A design with one page layout bound to a category, as a page is rendered.
class evUserTextfieldTest : public ::testing::Test {
protected:
    evUserTextfieldTest()
        : m_design("design", "", 200, 150), m_pageLayout(&m_design, "page", "Page", "", 0),
          m_category("chapter", "", false, 3)
    {
        m_design.SetTextColour(kLinkRed);
        m_pageLayout.SetCategory(&m_category);
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

    // What a canvas shows after the given lines were written at the given offsets with the field's font.
    Bitmap Expected(const TRect& rect, const std::vector<std::pair<int, std::string>>& lines, TColor colour,
                    TColor background = kColorWhite, int size = 14, int style = fsBold)
    {
        Bitmap bitmap = Solid(m_target.Width(), m_target.Height(), background);
        Canvas& canvas = bitmap.GetCanvas();
        canvas.SetBrushStyle(BrushStyle::Clear);
        canvas.SetFont(CanvasFont{kFace, size, style, colour});
        int y = 0;
        for (const auto& [x, line] : lines) {
            canvas.TextRect(rect, rect.Left + x, rect.Top + y, line);
            y += canvas.TextHeight("Fy" + line);
        }
        return bitmap;
    }

    int LineHeight(const std::string& line, int size = 14, int style = fsBold)
    {
        Bitmap probe(1, 1);
        probe.GetCanvas().SetFont(CanvasFont{kFace, size, style, 0});
        return probe.GetCanvas().TextHeight("Fy" + line);
    }

    int TextWidth(const std::string& line)
    {
        Bitmap probe(1, 1);
        probe.GetCanvas().SetFont(CanvasFont{kFace, 14, fsBold, 0});
        return probe.GetCanvas().TextWidth(line);
    }

    evLayout m_design;
    evPageLayout m_pageLayout;
    evCategory m_category;
    Bitmap m_target = Solid(160, 120, kColorWhite);
};
} // namespace

TEST(evUserTextfieldStream, RoundTripTextAndCuts)
{
    MemoryStream s;
    s.WriteInt32(0);
    s.WriteInt32(33);
    s.WriteString("title");
    s.WriteInt32(120);
    s.WriteInt32(40);
    s.WriteString("Anna\r\nand Ben");
    s.WriteString("Arial");
    s.WriteInt32(5);
    s.WriteInt32(18);
    s.WriteByte(1);
    s.WriteByte(0);
    s.WriteByte(1);
    s.WriteInt32(0x123456);
    s.WriteInt32(2);
    s.WriteInt32(1);
    const std::vector<uint8_t> body = s.Data();

    MemoryStream in(body);
    evUserTextfield field(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(field.GetName(), "title");
    EXPECT_EQ(field.GetWidth(), 120);
    EXPECT_EQ(field.GetHeight(), 40);
    EXPECT_EQ(field.GetText(), "Anna\r\nand Ben");
    EXPECT_EQ(field.GetFontName(), "Arial");
    EXPECT_EQ(field.GetFontID(), 5);
    EXPECT_EQ(field.GetFontSize(), 18);
    EXPECT_EQ(field.GetStyle(), fsBold | fsUnderline);
    EXPECT_EQ(field.GetColour(), 0x123456);
    EXPECT_EQ(field.GetAlignment(), 2);
    EXPECT_EQ(field.GetFixed(), 1);
    EXPECT_EQ(field.GetPageLayout(), nullptr);
    EXPECT_FALSE(field.GetLineLinks());
    EXPECT_FALSE(field.GetKeepBackground());
    EXPECT_TRUE(field.GetLines().empty());
    EXPECT_EQ(Saved(field), body);
    EXPECT_EQ(field.ToString(), "[33, 0, 'title', 'Anna\r\nand Ben', 'Arial', 120, 40, 5, 18]");
    // A copy keeps every setting, the fixed flag included.
    const auto copy = field.Clone();
    const auto& copied = dynamic_cast<const evUserTextfield&>(*copy);
    EXPECT_EQ(copied.GetFixed(), 1);
    EXPECT_EQ(copied.GetColour(), 0x123456);
    EXPECT_EQ(copied.GetStyle(), fsBold | fsUnderline);

    for (size_t length = 0; length < body.size(); ++length) {
        MemoryStream cut(std::vector<uint8_t>(body.begin(), body.begin() + static_cast<long>(length)));
        EXPECT_THROW(evUserTextfield(cut, nullptr), EReadError) << "length " << length;
    }
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
    const int width = TextWidth(text) - 7;
    const TRect rect{20, 10, 20 + width, 70};
    const Bitmap towardZero = Expected(rect, {{-3, text}}, 0);
    ASSERT_FALSE(SamePixels(towardZero, Expected(rect, {{-4, text}}, 0)));
    field->Draw(rect, m_target.GetCanvas(), {});
    EXPECT_TRUE(SamePixels(m_target, towardZero));
}

TEST_F(evUserTextfieldTest, ALineMustEndStrictlyAboveTheBottom)
{
    const int h = LineHeight("Anna");
    auto field = Field("Anna\r\nBen", 0, 120, 200);
    field->Draw(TRect{0, 0, 120, h}, m_target.GetCanvas(), {});
    EXPECT_EQ(CountPixels(m_target, kColorWhite), m_target.Width() * m_target.Height());

    const TRect oneLine{0, 0, 120, h + 1};
    field->Draw(oneLine, m_target.GetCanvas(), {});
    EXPECT_TRUE(SamePixels(m_target, Expected(oneLine, {{0, "Anna"}}, 0)));
}
