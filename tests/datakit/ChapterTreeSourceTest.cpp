#include "ChapterTreeSource.h"
#include "model/PageOrder.h"
#include "model/evCategory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string ErrorOf(std::string_view content)
{
    try {
        ChapterTreeSource::Parse(content, "chapters.txt");
    } catch (const EDataSourceError& e) {
        return e.what();
    }
    return "no error";
}

std::vector<evCategory*> All(evCategory* root)
{
    std::vector<evCategory*> list;
    PageOrder::Flatten(root, list, false);
    return list;
}

} // namespace

TEST(ChapterTreeSourceTest, BuildsTheTreeWithKindsAndChoices)
{
    const auto tree = ChapterTreeSource::Parse("# comment\n"
                                               "* Welcome | first page\n"
                                               "* Chapters\n"
                                               "  + Getting ready\n"
                                               "    - The dress\n"
                                               "  * The ceremony\n"
                                               "\n"
                                               "* Thank you\n",
                                               "chapters.txt");
    const std::vector<evCategory*> all = All(tree.get());
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0]->GetTitle(), "Welcome");
    EXPECT_EQ(all[0]->GetComment(), "first page");
    EXPECT_EQ(all[0]->GetKind(), 1);
    EXPECT_FALSE(all[0]->GetOptional());
    EXPECT_EQ(all[2]->GetTitle(), "Getting ready");
    EXPECT_EQ(all[2]->GetParent(), all[1]);
    EXPECT_EQ(all[2]->GetKind(), 3);
    EXPECT_TRUE(all[2]->GetOptional());
    EXPECT_TRUE(all[2]->GetSelected());
    EXPECT_EQ(all[3]->GetTitle(), "The dress");
    EXPECT_EQ(all[3]->GetParent(), all[2]);
    EXPECT_FALSE(all[3]->GetSelected());
    EXPECT_EQ(all[4]->GetTitle(), "The ceremony");
    EXPECT_EQ(all[4]->GetPrevious(), all[2]);
    EXPECT_FALSE(all[4]->GetOptional());
    EXPECT_EQ(all[5]->GetTitle(), "Thank you");
    EXPECT_EQ(all[5]->GetPrevious(), all[1]);
}

TEST(ChapterTreeSourceTest, RefusesMalformedTreesWithTheirLine)
{
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"* A\n* B\n   + C\n* D\n", "3: indent with two blanks per level"},
        {"* A\n* B\n    + C\n* D\n", "3: indented deeper than one level below the chapter above"},
        {"* A\n* B\n  C\n* D\n", "3: a chapter begins with \"*\" (always in), \"+\" (optional, on) or \"-\" (optional, off)"},
        {"* A\n+ B\n", "2: the three top-level chapters are always in the album: mark them \"*\""},
        {"* A\n* B\n  + C\n", "3: the top level must hold exactly three chapters: welcome, chapters and end page"},
        {"* A\n* B\n* D\n", "3: the second top-level chapter needs the album's chapters below it"},
        {"* A\n* B\n  + | comment only\n* D\n", "3: the chapter has no title"},
        {"* A\n* B\n\t+ C\n* D\n", "3: indent with blanks, not tabs"},
        {"* A\n* B\n  + 1\n  + 2\n  + 3\n  + 4\n  + 5\n  + 6\n  + 7\n  + 8\n* D\n", "10: a level holds at most 7 chapters"},
        {"", "0: the top level must hold exactly three chapters: welcome, chapters and end page"},
    };
    // clang-format on
    for (const auto& [content, message] : cases)
        EXPECT_EQ(ErrorOf(content), "chapters.txt:" + message);
}
