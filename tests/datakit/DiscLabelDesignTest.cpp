// The disc labels of the default designs are round: 118 mm across in the 120 mm square with a marked hole of
// 41 mm, white paper outside the disc and in the hole, and a photo and a text for the user.
#include "DesignCompiler.h"
#include "JsonCursor.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProject.h"
#include "platform/Bitmap.h"
#include "presentation/DiscLabel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr double kPixelsPerMm = 768 / 120.0;

// White within what JPEG leaves of it next to a coloured edge.
bool IsPaper(int32_t colour)
{
    return (colour & 0xFF) >= 232 && ((colour >> 8) & 0xFF) >= 232 && ((colour >> 16) & 0xFF) >= 232;
}

// The label's pixel at the distance (millimetres) from the centre in the direction (degrees).
int32_t PixelAt(const Bitmap& label, double mm, double degrees)
{
    const double radians = degrees * M_PI / 180;
    return label.Pixel(static_cast<int>(std::lround(384 + mm * kPixelsPerMm * std::cos(radians))),
                       static_cast<int>(std::lround(384 + mm * kPixelsPerMm * std::sin(radians))));
}

// Whether some pixel along the ray between the distances is not paper: a line drawn there.
bool MarkedBetween(const Bitmap& label, double fromMm, double toMm, double degrees)
{
    for (double mm = fromMm; mm <= toMm; mm += 0.05)
        if (!IsPaper(PixelAt(label, mm, degrees)))
            return true;
    return false;
}

} // namespace

TEST(DiscLabelDesignTest, DefaultDesignsHaveRoundLabelsWithAMarkedHole)
{
    int designs = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(fs::path(VELLORA_DATA_SRC_DIR) / "designs")) {
        if (file.path().extension() != ".json")
            continue;
        ++designs;
        SCOPED_TRACE(file.path().filename().string());
        DesignCompiler compiler;
        std::unique_ptr<evLayout> design = compiler.Compile(JsonCursor::Load(file.path().string()));
        const evPageLayout* layout = design->FindPageLayoutByKey("cd");
        ASSERT_NE(layout, nullptr);
        EXPECT_NE(FreePictureSlot(*layout), nullptr);
        EXPECT_NE(FreeTextSlot(*layout), nullptr);
        auto label = std::make_unique<evCategory>("cd label", "", true, 3);
        label->SetPageLayoutID(layout->GetID());
        evProject project("Anna", "Ben", 38000.0, "design.evl", std::make_unique<evCategory>("W", "", false, 3));
        project.SetDesign(std::move(design));
        project.SetDiscLabelCategory(std::move(label));
        const Bitmap rendered = RenderDiscLabel(project);
        ASSERT_EQ(rendered.Width(), 768);
        for (double degrees = 0; degrees < 360; degrees += 15) {
            SCOPED_TRACE(degrees);
            EXPECT_TRUE(IsPaper(PixelAt(rendered, 59.6, degrees))) << "outside the disc";
            EXPECT_FALSE(IsPaper(PixelAt(rendered, 57.5, degrees))) << "on the disc's edge";
            EXPECT_TRUE(IsPaper(PixelAt(rendered, 18.5, degrees + 7))) << "in the hole";
            EXPECT_TRUE(MarkedBetween(rendered, 20, 21, degrees)) << "the hole's edge";
        }
        EXPECT_TRUE(IsPaper(rendered.Pixel(2, 2)));
        EXPECT_TRUE(IsPaper(rendered.Pixel(765, 765)));
    }
    EXPECT_EQ(designs, 2);
}
