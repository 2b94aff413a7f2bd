#include "DesignCompiler.h"
#include "DecorationPainter.h"
#include "ErrorOf.h"
#include "ObjectIds.h"
#include "VectorPath.h"
#include "model/evActionElement.h"
#include "model/evFont.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// A small but complete design: a background, a placeholder frame around a slot, a free text and a title label.
const std::string kTiny = R"({
  "name": "Tiny", "description": "A test design", "pageSize": [200, 150],
  "textColour": "#102030", "backgroundColour": "paper",
  "colours": {"paper": "#f0e0d0"},
  "fonts": [{"id": "sans", "file": "Lato-Regular.ttf", "face": "Lato"}],
  "textStyles": {"small": {"font": "sans", "fontSize": 9, "colour": "#000000"}},
  "pictures": [
    {"id": "bg", "size": [200, 150], "paint": [{"fill": "#ff0000"}]},
    {"id": "frame", "size": [60, 50], "placeholder": true, "paint": [{"fill": "#00ff00"}]}],
  "pageLayouts": [{
    "id": "p", "key": "W", "name": "Page", "englishTitle": "A page", "kind": "textAndPictures",
    "elements": [
      {"id": "bg", "at": [0, 0], "picture": "bg"},
      {"id": "fr", "at": [10, 10], "picture": "frame"},
      {"id": "ph", "at": [15, 15], "photo": {"size": [50, 40], "frame": "fr"}},
      {"id": "tx", "at": [100, 10], "text": {"size": [90, 60], "style": "small", "text": "Hi\nthere"}},
      {"id": "lb", "at": [100, 100], "text": {"size": [90, 30], "style": "small", "fixed": true}}],
    "actions": [{"id": "t", "type": "title", "rect": [100, 100, 90, 30], "label": "lb"}]}]
})";

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos)
        ADD_FAILURE() << "the test's replacement \"" << from << "\" is not in the design";
    else
        text.replace(at, from.size(), to);
    return text;
}

std::unique_ptr<evLayout> Compile(const std::string& json, std::vector<std::string> keys = {})
{
    DesignCompiler compiler;
    compiler.SetRequiredKeys(std::move(keys));
    return compiler.Compile(JsonCursor::Parse(QByteArray::fromStdString(json), "tiny.json"));
}

JsonCursor Layers(const char* json) { return JsonCursor::Parse(QByteArray(json), "paint.json"); }

DecorationPainter Painter()
{
    return DecorationPainter({{"gold", QColor(0xb0, 0x8d, 0x3c)}}, {{"sans", QByteArray("not a font")}},
                             QColor(10, 20, 30));
}

} // namespace

TEST(DesignCompilerTest, BuildsTheDesignWithStableIdentifiers)
{
    const auto design = Compile(kTiny, {"W"});
    EXPECT_EQ(design->GetName(), "Tiny");
    EXPECT_EQ(design->GetDescription(), "A test design");
    EXPECT_EQ(design->GetPageSize(), (TPoint{200, 150}));
    EXPECT_EQ(design->GetTextColour(), RGBColor(0x10, 0x20, 0x30));
    EXPECT_EQ(design->GetBackgroundColour(), RGBColor(0xf0, 0xe0, 0xd0));
    ASSERT_EQ(design->GetElementsA().Count(), 2);
    const auto* frame = design->GetElementsA().GetItemAs<evPicture>(1);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetID(), ObjectIds::StableID("frame"));
    EXPECT_EQ(frame->GetPlaceholder(), 1);
    EXPECT_EQ(frame->GetWidth(), 60);
    ASSERT_EQ(design->GetElementsB().Count(), 1);
    const auto* font = design->GetElementsB().GetItemAs<evFont>(0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetFaceName(), "Lato");
    EXPECT_EQ(font->GetFileName(), "Lato-Regular.ttf");
    EXPECT_GT(font->GetData().size(), 10000u);

    evPageLayout* page = design->FindPageLayoutByKey("W");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetID(), ObjectIds::StableID("p"));
    EXPECT_EQ(page->GetKind(), 2);
    EXPECT_EQ(page->GetTitle("en"), "A page");
    EXPECT_EQ(page->GetTitle("de"), "A page");
    ASSERT_EQ(page->GetEntries().Count(), 5);
    const auto* slotEntry = page->GetEntries().GetItemAs<evPageLayoutEntry>(2);
    EXPECT_EQ(slotEntry->GetID(), ObjectIds::StableID("p.ph"));
    EXPECT_EQ(slotEntry->GetLeft(), 15);
    const auto* slot = dynamic_cast<evUserPicture*>(design->FindByID(slotEntry->GetElementID()));
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->GetFrameID(), ObjectIds::StableID("p.fr"));
    EXPECT_EQ(slot->GetAlternateFrameID(), 0);
    EXPECT_EQ(slot->GetPageLayout(), page);

    const auto* text = dynamic_cast<evUserTextfield*>(
        design->FindByID(page->GetEntries().GetItemAs<evPageLayoutEntry>(3)->GetElementID()));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), "Hi\r\nthere");
    EXPECT_EQ(text->GetFontID(), font->GetID());
    EXPECT_EQ(text->GetFontName(), "Lato");
    EXPECT_EQ(text->GetFontSize(), 9);
    EXPECT_EQ(text->GetFixed(), 0);

    ASSERT_EQ(page->GetActionElements().Count(), 1);
    const auto* action = page->GetActionElements().GetItemAs<evActionElement>(0);
    EXPECT_EQ(action->GetActionType(), 8);
    EXPECT_EQ(action->GetLabel(), ObjectIds::StableID("p.lb"));
    EXPECT_EQ(action->GetID(), ObjectIds::StableID("p.t"));
}

TEST(DesignCompilerTest, CompiledDesignReadsBackAndRenders)
{
    // Read back as the program reads it (that a design saved again keeps its bytes is evLayoutTest's).
    MemoryStream first;
    Compile(kTiny)->SaveToStream(first);
    first.SetPosition(0);
    evLayout design(first, nullptr);

    evPageLayout* page = design.FindPageLayoutByKey("W");
    ASSERT_NE(page, nullptr);
    page->RenderPreview();
    Bitmap preview;
    preview.LoadFromFile(page->GetPreviewFile());
    ASSERT_EQ(preview.Width(), 200);
    auto near = [](int32_t actual, int32_t expected) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(((actual >> shift) & 0xFF) - ((expected >> shift) & 0xFF)) > 12)
                return false;
        return true;
    };
    EXPECT_TRUE(near(preview.Pixel(5, 5), RGBColor(255, 0, 0)));   // background
    EXPECT_TRUE(near(preview.Pixel(12, 12), RGBColor(0, 255, 0))); // frame drawn by its slot
    EXPECT_TRUE(near(preview.Pixel(30, 30), kColorDarkRed));       // the empty slot is marked
}

TEST(DesignCompilerTest, MistakesNameTheFileTheElementAndTheReason)
{
    struct Case {
        std::string from, to, message; // a replacement in the tiny design, and the message after "tiny.json: "
    };
    // clang-format off
    const Case cases[] = {
        {R"({"fill": "#ff0000"})", R"({"fill": "#ff0000", "colr": 1})", "pictures[0] \"bg\" / paint[0]: unknown field \"colr\" (known here: fill, opacity)"},
        {R"("englishTitle": "A page", )", "", "pageLayouts[0] \"p\": the field \"englishTitle\" is missing"},
        {R"({"id": "lb", "at")", R"({"id": "tx", "at")", "pageLayouts[0] \"p\" / elements[4] \"tx\": the identifier \"tx\" is used twice in this page layout"},
        {R"("frame": "fr")", R"("frame": "nope")", "pageLayouts[0] \"p\" / elements[2] \"ph\" / photo / frame: there is no element \"nope\" in this page layout"},
        {R"("fontSize": 9)", R"("fontSize": "big")", "textStyles / small / fontSize: expected a number, found a text"},
        {R"("frame": "fr")", R"("frame": "bg")", "pageLayouts[0] \"p\" / elements[2] \"ph\" / photo / frame: a frame must be a placement of a picture marked \"placeholder\": true, or the page would draw it for every photograph"},
        {R"("at": [100, 10])", R"("at": [150, 10])", "pageLayouts[0] \"p\" / elements[3] \"tx\": lies outside the page (150, 10, 90 x 60)"},
        {R"("type": "title")", R"("type": "teleport")", "pageLayouts[0] \"p\" / actions[0] \"t\" / type: unknown action type (known: exit, back, sound, title, chapter menu, enlarge, project title, date, close, next, film strip, slide show, studio intro, studio name, studio address, studio information, studio phone, studio email, studio web, extra picture, label, or their numbers)"},
        {R"("kind": "textAndPictures")", R"("kind": "text")", "pageLayouts[0] \"p\" / kind: a text page has no photo to fill (mark the photo fixed or change the kind)"},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf([&] { Compile(Replaced(kTiny, c.from, c.to)); }), "tiny.json: " + c.message)
            << "replacing " << c.from;
    EXPECT_EQ(ErrorOf([] {
                  Compile(kTiny, {"W", "M"});
              }),
              "tiny.json: pageLayouts: no page layout has the key \"M\", which this design needs");
    EXPECT_EQ(ErrorOf([] { Compile("{\n  \"name\": \"x\",\n  oops\n}"); }),
              "tiny.json:3:4: not valid JSON (unterminated object)");
}

// A disc label's photos, texts and actions lie in the printable ring: within 57 mm of the centre of the 120 mm
// square (364.8 pixels of 768) and at least 21.5 mm (137.6 pixels) from it.
TEST(DesignCompilerTest, DiscLabelContentStaysInThePrintableRing)
{
    const std::string disc = R"({
      "name": "Disc", "description": "", "pageSize": [1024, 768], "textColour": "#000000",
      "backgroundColour": "#ffffff", "colours": {},
      "fonts": [{"id": "sans", "file": "Lato-Regular.ttf", "face": "Lato"}],
      "textStyles": {"small": {"font": "sans", "fontSize": 9, "colour": "#000000"}},
      "pictures": [{"id": "art", "size": [768, 768], "paint": [{"fill": "#ffffff"}]}],
      "pageLayouts": [{
        "id": "d", "key": "cd", "name": "Disc", "englishTitle": "A disc", "kind": "special",
        "elements": [
          {"id": "art", "at": [0, 0], "picture": "art"},
          {"id": "ph", "at": [239, 78], "photo": {"size": [290, 164]}},
          {"id": "tx", "at": [284, 600], "text": {"size": [200, 40], "style": "small"}}],
        "actions": [{"id": "own", "type": "label", "rect": [284, 600, 200, 40], "label": "tx"}]}]
    })";
    EXPECT_NE(Compile(disc, {"cd"}), nullptr);
    const std::string ring = ": a disc label's photos, texts and actions lie in the printable ring, at most 57 mm from "
                             "the centre and at least 21.5 mm; this does not";
    struct Case {
        std::string from, to, where;
    };
    const Case cases[] = {
        {R"("at": [284, 600])", R"("at": [184, 680])", "elements[2] \"tx\""}, // a corner beyond the edge
        {R"("at": [239, 78])", R"("at": [239, 96])", "elements[1] \"ph\""},   // reaches into the hole
        {R"("rect": [284, 600, 200, 40])", R"("rect": [300, 300, 40, 40])", "actions[0] \"own\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf([&] { Compile(Replaced(disc, c.from, c.to), {"cd"}); }),
                  "tiny.json: pageLayouts[0] \"d\" / " + c.where + ring)
            << "replacing " << c.from;
}

TEST(ObjectIdsTest, StableNumbersArePositiveAndDifferByName)
{
    EXPECT_NE(ObjectIds::StableID("welcome.photo"), ObjectIds::StableID("end.photo"));
    for (const char* name : {"", "a", "p.bg", "frame-568x388"})
        EXPECT_GT(ObjectIds::StableID(name), 0);
}

TEST(DecorationPainterTest, StartsFromTheBaseColourAndFillsExactlyWhereAsked)
{
    const QImage plain = Painter().Paint(Layers("[]"), QSize(3, 2));
    EXPECT_EQ(plain.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(plain.pixel(2, 1), qRgb(10, 20, 30));
    const QImage filled = Painter().Paint(Layers(R"([{"fill": "gold"}])"), QSize(3, 2));
    EXPECT_EQ(filled.pixel(1, 1), qRgb(0xb0, 0x8d, 0x3c));

    const QImage image =
        Painter().Paint(Layers(R"([{"fill": "#ffffff"}, {"rect": [2, 2, 4, 3], "fill": "#ff0000"}])"), QSize(8, 8));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 4), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(6, 4), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(DecorationPainterTest, MistakesNameTheLayerAndTheReason)
{
    // clang-format off
    const std::pair<const char*, std::string> cases[] = {
        {R"([{"fill": "#ff0000", "colr": 1}])", "[0]: unknown field \"colr\" (known here: fill, opacity)"},
        {R"([{"fill": "#ff00"}])", "[0] / fill: the colour \"#ff00\" is not of the form #rrggbb or #rrggbbaa"},
        {R"([{"fill": "silver"}])", "[0] / fill: \"silver\" is neither a colour #rrggbb nor a name of the colour table"},
        {R"([{"ornament": "dragon", "at": [1, 1], "size": 4, "colour": "gold"}])", "[0] / ornament: unknown ornament \"dragon\" (known: arrowLeft, arrowRight, corner, cross, divider, dot, flourish, heart, leaf, rings, sparkle, speaker, sprig)"},
        {R"([{"opacity": 1}])", "[0]: a layer needs one operation: fill, rect, ellipse, line, border, path, ornament, corners, text, shadow, grain or vignette"},
        {R"([{"text": "x", "font": "serif", "px": 9, "rect": [0, 0, 4, 4], "colour": "gold"}])", "[0] / font: \"serif\" is not one of the design's fonts"},
        {R"([{"text": "x", "font": "sans", "px": 9, "rect": [0, 0, 4, 4], "colour": "gold"}])", "[0] / font: the font \"sans\" cannot be read"},
    };
    // clang-format on
    for (const auto& [json, message] : cases)
        EXPECT_EQ(ErrorOf([&] { Painter().Paint(Layers(json), QSize(8, 8)); }), "paint.json: " + message);
}

TEST(VectorPathTest, RefusesMalformedData)
{
    QPainterPath path;
    std::string error;
    EXPECT_FALSE(VectorPath::Parse("10 10", path, error));
    EXPECT_EQ(error, "the path must begin with a command letter, found \"1\"");
    EXPECT_FALSE(VectorPath::Parse("M10", path, error));
    EXPECT_EQ(error, "the command \"M\" lacks numbers near position 3");
    EXPECT_FALSE(VectorPath::Parse("M0 0 X1", path, error));
    EXPECT_TRUE(VectorPath::Parse("", path, error));
    EXPECT_TRUE(path.isEmpty());
}
