#include "model/evCategory.h"
#include "model/evFont.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"
#include "platform/TextMeasurer.h"
#include "presentation/evProjectorMouseAction.h"
#include "presentation/evProjectorPage.h"
#include "presentation/evProjectorPageElement.h"

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

Bitmap Solid(int width, int height, TColor colour)
{
    Bitmap bitmap(width, height);
    bitmap.GetCanvas().SetBrushColor(colour);
    bitmap.GetCanvas().FillRect(TRect{0, 0, width, height});
    return bitmap;
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
        : m_design("design", "", 200, 150),
          m_pageLayout(&m_design, "page", "Page", "", 0),
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
}

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

    for (size_t length = 0; length < body.size(); ++length) {
        MemoryStream cut(std::vector<uint8_t>(body.begin(), body.begin() + static_cast<long>(length)));
        EXPECT_THROW(evUserTextfield(cut, nullptr), EReadError) << "length " << length;
    }
}

TEST_F(evUserTextfieldTest, CloneKeepsSizeColourAndPageLayout)
{
    auto field = Field("one two three four", 1, 60, 80);
    field->SetColour(0x445566);
    field->SetFixed(3);
    auto clone = field->Clone();
    auto* copy = dynamic_cast<evUserTextfield*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetID(), 0);
    EXPECT_EQ(copy->GetWidth(), 60);
    EXPECT_EQ(copy->GetHeight(), 80);
    EXPECT_EQ(copy->GetColour(), 0x445566);
    EXPECT_EQ(copy->GetAlignment(), 1);
    EXPECT_EQ(copy->GetStyle(), fsBold);
    EXPECT_EQ(copy->GetPageLayout(), &m_pageLayout);
    EXPECT_EQ(copy->GetFixed(), 0);
    // The colour setter rebuilt the copy's lines through the page layout.
    EXPECT_EQ(copy->GetLines(), field->GetLines());
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

TEST_F(evUserTextfieldTest, LinesWrapAtBlanksAndSettersRebuildThem)
{
    auto field = Field("one two three\r\nfour", 0, 1000, 100);
    EXPECT_EQ(field->GetLines(), (std::vector<std::string>{"one two three", "four"}));

    field->SetWidth(TextWidth("one two") + 2);
    const std::vector<std::string>& lines = field->GetLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "one two ");
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    EXPECT_EQ(joined, "one two threefour");
    TextMeasurer measurer;
    measurer.SetSize(field->GetWidth(), field->GetHeight());
    measurer.SetFont(kFace, 14, fsBold);
    measurer.SetText(field->GetText());
    EXPECT_EQ(lines, measurer.Lines());

    // The text setter only stores: lines change with the next rebuilding setter.
    field->SetText("single");
    EXPECT_EQ(field->GetLines().front(), "one two ");
    field->SetItalic(false);
    EXPECT_EQ(field->GetLines(), std::vector<std::string>{"single"});

    evUserTextfield loose("f", "no layout", kFace, 0, 10, false, false, false, 0, 100, 100);
    loose.SetWidth(50);
    loose.BuildLines();
    EXPECT_TRUE(loose.GetLines().empty());
}

TEST_F(evUserTextfieldTest, DrawsLeftAlignedLinesIntoTheRectangle)
{
    auto field = Field("Anna\r\nBen", 0, 120, 90);
    const TRect rect{10, 8, 130, 98};
    field->Draw(rect, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_TRUE(SamePixels(m_target, Expected(rect, {{0, "Anna"}, {0, "Ben"}}, 0)));
    EXPECT_FALSE(field->IsPainted());
    // Without a page the canvas keeps the field's font.
    EXPECT_EQ(m_target.GetCanvas().Font().name, kFace);
    EXPECT_EQ(m_target.GetCanvas().GetBrushStyle(), BrushStyle::Clear);
}

TEST_F(evUserTextfieldTest, AlignmentOffsets)
{
    const TRect rect{4, 4, 150, 60};
    auto right = Field("Right", 2, 146, 56);
    right->Draw(rect, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_TRUE(SamePixels(m_target, Expected(rect, {{146 - TextWidth("Right"), "Right"}}, 0)));

    m_target = Solid(160, 120, kColorWhite);
    auto centred = Field("Centre", 1, 146, 56);
    centred->Draw(rect, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_TRUE(SamePixels(m_target, Expected(rect, {{(146 - TextWidth("Centre")) / 2, "Centre"}}, 0)));
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
    field->Draw(rect, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_TRUE(SamePixels(m_target, towardZero));
}

TEST_F(evUserTextfieldTest, ALineMustEndStrictlyAboveTheBottom)
{
    const int h = LineHeight("Anna");
    auto field = Field("Anna\r\nBen", 0, 120, 200);
    field->Draw(TRect{0, 0, 120, h}, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_EQ(CountPixels(m_target, kColorWhite), m_target.Width() * m_target.Height());

    const TRect oneLine{0, 0, 120, h + 1};
    field->Draw(oneLine, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_TRUE(SamePixels(m_target, Expected(oneLine, {{0, "Anna"}}, 0)));
}

TEST_F(evUserTextfieldTest, FixedAndPaintedFields)
{
    const TRect rect{0, 0, 120, 60};
    auto field = Field("Fixed", 0, 120, 60);
    field->SetFixed(1);
    evProjectorPage page;
    field->Draw(rect, m_target.GetCanvas(), false, &page, false);
    EXPECT_EQ(CountPixels(m_target, kColorWhite), m_target.Width() * m_target.Height());
    EXPECT_EQ(page.GetElements().Count(), 0);
    field->Draw(rect, m_target.GetCanvas(), true, nullptr, false);
    EXPECT_TRUE(SamePixels(m_target, Expected(rect, {{0, "Fixed"}}, 0)));

    auto painted = Field("Painted", 0, 120, 60);
    painted->SetPainted();
    m_target = Solid(160, 120, kColorWhite);
    painted->Draw(rect, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_EQ(CountPixels(m_target, kColorWhite), m_target.Width() * m_target.Height());
    painted->Draw(rect, m_target.GetCanvas(), false, &page, false);
    EXPECT_EQ(page.GetElements().Count(), 1);
}

TEST_F(evUserTextfieldTest, TheUsersTextOverridesTheTemplate)
{
    auto field = Field("Template", 2, 140, 60);
    evUserTextfield user("u", "Mine", "Arial", 0, 10, false, true, false, 0, 140, 60);
    user.SetColour(0x204060);
    m_category.AddUserElement(21, user.Clone());
    const TRect rect{0, 0, 140, 60};
    field->Draw(rect, m_target.GetCanvas(), false, nullptr, false);
    // The user's text, font size, style and colour; the template's alignment.
    Bitmap probe(1, 1);
    probe.GetCanvas().SetFont(CanvasFont{kFace, 10, fsItalic, 0});
    const int x = 140 - probe.GetCanvas().TextWidth("Mine");
    EXPECT_TRUE(SamePixels(m_target, Expected(rect, {{x, "Mine"}}, 0x204060, kColorWhite, 10, fsItalic)));
}

TEST_F(evUserTextfieldTest, BlankUserTextDrawsNothingOrTheEmptyMark)
{
    auto field = Field("Template", 0, 100, 50);
    m_category.AddUserElement(21, std::make_unique<evUserTextfield>("u", " \r\n\t ", kFace, 0, 10, false, false,
                                                                     false, 0, 100, 50));
    const TRect rect{5, 6, 105, 56};
    evProjectorPage page;
    field->Draw(rect, m_target.GetCanvas(), false, &page, false);
    EXPECT_EQ(CountPixels(m_target, kColorWhite), m_target.Width() * m_target.Height());
    EXPECT_EQ(page.GetElements().Count(), 0);

    field->Draw(rect, m_target.GetCanvas(), false, &page, true);
    EXPECT_EQ(page.GetElements().Count(), 0);
    for (int y = 0; y < m_target.Height(); ++y)
        for (int x = 0; x < m_target.Width(); ++x) {
            const bool inside = x >= 5 && x < 105 && y >= 6 && y < 56;
            ASSERT_EQ(m_target.Pixel(x, y), inside ? kColorDarkRed : kColorWhite) << x << "," << y;
        }

    // The template's own blank text is no user text: it still gives its (empty) snapshot.
    auto blankTemplate = Field("   ", 0, 100, 50, 99);
    blankTemplate->Draw(rect, m_target.GetCanvas(), false, &page, true);
    EXPECT_EQ(page.GetElements().Count(), 1);
}

TEST_F(evUserTextfieldTest, PageGetsASnapshotAndTheCanvasIsReset)
{
    auto field = Field("Snap", 0, 80, 40);
    const TRect rect{30, 20, 110, 60};
    evProjectorPage page;
    field->Draw(rect, m_target.GetCanvas(), false, &page, false);
    ASSERT_EQ(page.GetElements().Count(), 1);
    EXPECT_EQ(page.GetMouseActions().Count(), 0);
    auto* element = page.GetElements().GetItemAs<evProjectorPageElement>(0);
    EXPECT_EQ(element->GetKind(), 0);
    EXPECT_EQ(element->Rect(), rect);
    const std::vector<uint8_t> expected = EncodeJpeg(
        [&] {
            Bitmap area(80, 40);
            area.GetCanvas().CopyRect(TRect{0, 0, 80, 40}, m_target, rect);
            return area;
        }(),
        100);
    EXPECT_EQ(element->GetPicture().Bytes(), expected);

    Canvas& canvas = m_target.GetCanvas();
    EXPECT_EQ(canvas.BrushColor(), kColorWhite);
    EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
    EXPECT_EQ(canvas.Font().name, "MS Sans Serif");
    EXPECT_EQ(canvas.Font().size, 8);
    EXPECT_EQ(canvas.Font().color, kColorBlack);
    EXPECT_EQ(canvas.Font().style, 0);
}

TEST_F(evUserTextfieldTest, LineLinksMakeOneHighlightAndMouseActionPerParagraph)
{
    // Three display lines in two paragraphs, with an empty line between them.
    const std::string first = "aaaa bbbb";
    auto field = Field(first + "\r\n\r\nccc\r\n", 0, TextWidth("aaaa b"), 200);
    // A measurer may show the empty line after the final CR LF; it draws nothing and links nothing.
    std::vector<std::string> lines = field->GetLines();
    if (lines.size() == 5 && lines.back().empty())
        lines.pop_back();
    ASSERT_EQ(lines, (std::vector<std::string>{"aaaa ", "bbbb", "", "ccc"}));
    field->SetLineLinks(true);
    const TRect rect{10, 5, 10 + field->GetWidth(), 205};
    evProjectorPage page;
    page.AddElement(std::make_unique<evProjectorPageElement>(0, 0, JpegImage(), 0));
    field->Draw(rect, m_target.GetCanvas(), true, &page, true);

    ASSERT_EQ(page.GetElements().Count(), 4);
    ASSERT_EQ(page.GetMouseActions().Count(), 2);
    const int h = LineHeight("aaaa ");
    Bitmap probe(1, 1);
    probe.GetCanvas().SetFont(CanvasFont{kFace, 14, fsBold, 0});
    const int lineHeight = probe.GetCanvas().TextHeight("aaaa ");
    const int32_t w = field->GetWidth();
    const std::vector<TRect> expectedRects{TRect{10, 5, 10 + w, 5 + h + lineHeight},
                                           TRect{10, 5 + 3 * h, 10 + w, 5 + 3 * h + lineHeight}};
    for (int32_t i = 0; i < 2; ++i) {
        auto* action = page.GetMouseActions().GetItemAs<evProjectorMouseAction>(i);
        auto* highlight = page.GetElements().GetItemAs<evProjectorPageElement>(i + 1);
        EXPECT_EQ(action->GetType(), 1);
        EXPECT_EQ(action->GetFirstElement(), i + 1);
        EXPECT_EQ(action->GetSecondElement(), 3);
        EXPECT_EQ(action->GetRect(), expectedRects[static_cast<size_t>(i)]);
        EXPECT_EQ(highlight->GetKind(), 2);
        EXPECT_EQ(highlight->Rect(), expectedRects[static_cast<size_t>(i)]);
        // The highlight is written in the design's text colour.
        const Bitmap picture = highlight->GetPicture().Decode();
        int reddish = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                const int32_t p = picture.Pixel(x, y);
                reddish += ((p & 0xFF) > 200 && ((p >> 8) & 0xFF) < 80 && ((p >> 16) & 0xFF) < 80) ? 1 : 0;
            }
        EXPECT_GT(reddish, 5) << i;
    }
    EXPECT_EQ(page.GetElements().GetItemAs<evProjectorPageElement>(3)->GetKind(), 0);
}

TEST_F(evUserTextfieldTest, KeepBackgroundRestoresTheField)
{
    m_target = Solid(160, 120, kGreen);
    const Bitmap before = m_target;
    auto field = Field("Sound off\r\n", 0, 120, 50);
    field->SetLineLinks(true);
    field->SetKeepBackground(true);
    evProjectorPage page;
    field->Draw(TRect{20, 20, 140, 70}, m_target.GetCanvas(), true, &page, true);
    EXPECT_EQ(page.GetElements().Count(), 2);
    EXPECT_EQ(page.GetMouseActions().Count(), 1);
    EXPECT_TRUE(SamePixels(m_target, before));
    // The plain snapshot shows the text on the kept background.
    const Bitmap plain = page.GetElements().GetItemAs<evProjectorPageElement>(1)->GetPicture().Decode();
    EXPECT_LT(CountPixels(plain, kGreen), plain.Width() * plain.Height());
}

TEST_F(evUserTextfieldTest, TheDesignsFontNamesTheFace)
{
    MemoryStream body;
    body.WriteInt32(0);
    body.WriteInt32(77);
    body.WriteString("serif.ttf");
    body.WriteString("DejaVu Serif");
    body.WriteInt32(3);
    body.WriteBytes({1, 2, 3});
    body.SetPosition(0);
    m_design.GetElementsA().Add(std::make_unique<evFont>(body, nullptr));

    evUserTextfield plain("f", "Face", "Arial", 77, 12, false, false, false, 0, 100, 40);
    plain.SetPageLayout(&m_pageLayout);
    plain.Draw(TRect{0, 0, 100, 40}, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_EQ(m_target.GetCanvas().Font().name, "DejaVu Serif");

    plain.SetFontID(0);
    plain.Draw(TRect{0, 0, 100, 40}, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_EQ(m_target.GetCanvas().Font().name, "Arial");

    plain.SetPageLayout(nullptr);
    plain.SetFontID(77);
    plain.Draw(TRect{0, 0, 100, 40}, m_target.GetCanvas(), false, nullptr, false);
    EXPECT_EQ(m_target.GetCanvas().Font().name, "Arial");
}
