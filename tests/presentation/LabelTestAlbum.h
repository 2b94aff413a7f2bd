#pragma once
// An album for the label kit's tests: the finish test album's navigation pages on 1024 x 768 pages, and a disc
// label page layout 19 "cd" whose own elements are, in this order, a fixed slot (3), the user's picture slot (1)
// covering the whole 768 x 768 label, a fixed text (4) and the user's text field (2). A fake printer records what
// it is asked to draw.
#include "model/evCategoryEntry.h"
#include "platform/Printer.h"
#include "presentation/FinishTestAlbum.h"

#include <string>
#include <vector>

namespace labeltest {

constexpr int32_t kLabelLayout = 19;
constexpr TRect kPictureSlot{0, 0, 768, 768};
constexpr TRect kTextSlot{200, 600, 568, 660};

inline std::unique_ptr<evLayout> MakeLabelDesign(bool withLabelSlots = true)
{
    auto design = WithID(std::make_unique<evLayout>("Label Test", "", 1024, 768), 1);
    finishtest::AddNavigationLayout(*design, 10, "W", "space2");
    finishtest::AddNavigationLayout(*design, 17, "M", "space2");
    finishtest::AddNavigationLayout(*design, 18, "E", "space2");
    evPageLayout& label = *AddPageLayout(*design, kLabelLayout, pkPictureOther, "cd");
    finishtest::AddSlot(label, 3, Rect(10, 10, 60, 60));
    if (withLabelSlots)
        finishtest::AddSlot(label, 1, kPictureSlot, 0);
    finishtest::AddLabel(label, 4, Rect(200, 540, 568, 590), "Names");
    if (withLabelSlots)
        finishtest::AddLabel(label, 2, kTextSlot, "Our day", 0);
    return design;
}

// The album with its disc-label category on page layout 19 (none when layoutId is 0).
inline std::unique_ptr<evProject> MakeLabelAlbum(bool withLabelSlots = true, int32_t layoutId = kLabelLayout)
{
    auto welcome = finishtest::Page("Welcome", 10);
    welcome->AppendSibling(finishtest::Page("Menu", 17));
    welcome->AppendSibling(finishtest::Page("The end", 18, 2));
    auto project = std::make_unique<evProject>("Anna", "Ben", 38000.0, "Label Test.evl", std::move(welcome));
    project->SetDesign(MakeLabelDesign(withLabelSlots));
    auto label = std::make_unique<evCategory>("cd label", "", true, 3);
    label->SetPageLayoutID(layoutId);
    project->SetDiscLabelCategory(std::move(label));
    return project;
}

inline int32_t PictureSlotId() { return finishtest::FieldId(kLabelLayout, 1); }
inline int32_t TextSlotId() { return finishtest::FieldId(kLabelLayout, 2); }

// Fills the user's picture slot with one colour.
inline void PutPicture(evProject& project, TColor colour)
{
    project.GetDiscLabelCategory()->AddUserElement(PictureSlotId(), SolidPicture(768, 768, colour));
}

// Records every call; its metrics are set by the test.
class FakePrinter : public Printer {
public:
    struct Text {
        TRect rect;
        std::string text;
        int32_t height;
    };

    explicit FakePrinter(PrinterMetrics metrics) : metrics(metrics) {}

    PrinterMetrics GetMetrics() const override { return metrics; }
    void BeginDoc() override { ++begun; }
    void EndDoc() override { ++ended; }
    void StretchDraw(const TRect& rect, const Bitmap& bitmap) override
    {
        drawn.push_back(rect);
        drawnSizes.push_back({bitmap.Width(), bitmap.Height()});
    }
    void DrawLine(TPoint from, TPoint to, int32_t) override { lines.push_back({from.X, from.Y, to.X, to.Y}); }
    void DrawFrame(const TRect& rect, int32_t penWidth) override
    {
        frames.push_back(rect);
        pens.push_back(penWidth);
    }
    void DrawEllipse(const TRect& rect, int32_t) override { ellipses.push_back(rect); }
    void DrawText(const TRect& rect, const std::string& text, int32_t height) override
    {
        texts.push_back({rect, text, height});
    }

    PrinterMetrics metrics;
    int begun = 0;
    int ended = 0;
    std::vector<TRect> drawn;
    std::vector<TPoint> drawnSizes;
    std::vector<TRect> lines; // from (Left, Top) to (Right, Bottom)
    std::vector<TRect> frames;
    std::vector<int32_t> pens;
    std::vector<TRect> ellipses;
    std::vector<Text> texts;
};

} // namespace labeltest
