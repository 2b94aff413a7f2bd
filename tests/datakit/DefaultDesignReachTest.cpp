// Every page layout of the default designs that a user can choose for a page with sub-pages lets the player
// reach those sub-pages: the album is rendered as finishing renders it and walked with the player's rules.
#include "DesignCompiler.h"
#include "JsonCursor.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProject.h"
#include "presentation/Preflight.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<evCategory> Page(const std::string& title, int32_t layoutId)
{
    auto page = std::make_unique<evCategory>(title, "", false, 3);
    page->SetPageLayoutID(layoutId);
    return page;
}

// A chapter named after its layout with The bride (same layout, with a page of its own below) and Rings.
std::unique_ptr<evCategory> ChapterWithSubPages(const std::string& title, int32_t layoutId)
{
    auto chapter = Page(title, layoutId);
    auto bride = Page("The bride", layoutId);
    bride->AddChild(Page("Her dress", layoutId));
    chapter->AddChild(std::move(bride));
    chapter->AddChild(Page("Rings", layoutId));
    return chapter;
}

} // namespace

TEST(DefaultDesignReachTest, EveryOfferedLayoutReachesItsSubPages)
{
    const fs::path folder = fs::path(VELLORA_DATA_SRC_DIR) / "designs";
    int designs = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        if (file.path().extension() != ".json")
            continue;
        ++designs;
        SCOPED_TRACE(file.path().filename().string());
        DesignCompiler compiler;
        std::unique_ptr<evLayout> compiled = compiler.Compile(JsonCursor::Load(file.path().string()));
        std::vector<std::pair<std::string, int32_t>> offered;
        const evObjectCollection& layouts = compiled->GetPageLayouts();
        for (int32_t i = 0; i < layouts.Count(); ++i) {
            const auto* layout = layouts.GetItemAs<evPageLayout>(i);
            if (layout && layout->GetKind() >= pkTextOnly && layout->GetKind() <= pkAnimation)
                offered.emplace_back(layout->GetEnglishTitle(), layout->GetID());
        }
        ASSERT_GE(offered.size(), 10u);
        // One album holds every offered layout as a chapter; the chapters follow each other (Next).
        std::unique_ptr<evCategory> first = ChapterWithSubPages(offered[0].first, offered[0].second);
        for (size_t i = 1; i < offered.size(); ++i)
            first->AppendSibling(ChapterWithSubPages(offered[i].first, offered[i].second));
        evProject project("Anna", "Ben", 38000.0, "design.evl", std::move(first));
        project.SetDesign(std::move(compiled));
        PreflightCheck check(project);
        for (const PreflightFinding& finding : check.Run()) {
            EXPECT_NE(finding.GetSeverity(), PreflightSeverity::CannotBeSeen) << finding.ToLine();
        }
    }
    EXPECT_EQ(designs, 2);
}
