// The text sources of the data kit: the help texts and the chapter tree.
#include "ChapterTreeSource.h"
#include "ErrorOf.h"
#include "HelpTextSource.h"
#include "model/PageOrder.h"
#include "model/evCategory.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

std::string DataFile(const char* name) { return std::string(VELLORA_DATA_SRC_DIR) + "/" + name; }

std::vector<evCategory*> All(evCategory* root)
{
    std::vector<evCategory*> list;
    PageOrder::Flatten(root, list, false);
    return list;
}

} // namespace

TEST(HelpTextSourceTest, ReadsEntriesInIndexOrderWithEscapes)
{
    const std::string content = "# a comment\r\n"
                                "\r\n"
                                "2 | Third |   Line one\\nLine two  \r\n"
                                "   # an indented comment\n"
                                "0 | First_0 | Reading the design\\s\n"
                                "1 | Second | \n"
                                "3|Fourth|a \\\\ b | c\n";
    const std::vector<IndexedText> entries = HelpTextSource::Parse(content, 4, "texts.txt");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].index, 0);
    EXPECT_EQ(entries[0].name, "First_0");
    EXPECT_EQ(entries[0].text, "Reading the design ");
    EXPECT_EQ(entries[1].text, "");
    EXPECT_EQ(entries[2].name, "Third");
    EXPECT_EQ(entries[2].text, "Line one\r\nLine two");
    EXPECT_EQ(entries[3].text, "a \\ b | c");
}

TEST(HelpTextSourceTest, MalformedLinesAreRefusedWithTheirLineNumber)
{
    const std::pair<std::string, std::string> cases[] = {
        {"0 | A | fine\nno separators here\n", "line 2: expected"},
        {"x | A | text\n", "line 1: the index \"x\" is not a number"},
        {"0 | A | fine\n2 | B | text\n", "line 2: the index 2 is outside 0..1"},
        {"0 |  | text\n", "line 1: the name \"\""},
        {"0 | A | a \\t b\n", "line 1: unknown escape \\t"},
        {"0 | A | ends with \\\n", "line 1: the text ends with a lone backslash"},
        {"0 | A | Anna & Ben\n", "line 1: the text contains \"&\""},
        {"0 | A | bad \xff byte\n", "line 1: the text is not valid UTF-8"},
    };
    for (const auto& [content, expected] : cases) {
        SCOPED_TRACE(content);
        const std::string error = ErrorOf<ETextSourceError>([&] { HelpTextSource::Parse(content, 2, "texts.txt"); });
        EXPECT_NE(error.find("texts.txt, " + expected), std::string::npos) << error;
    }
}

TEST(HelpTextSourceTest, AFileThatCannotBeReadIsAnError)
{
    EXPECT_THROW(HelpTextSource::Load(DataFile("no-such-file.txt"), 3), EFOpenError);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = folder.filePath(QStringLiteral("huge.txt")).toStdString();
    {
        std::ofstream huge(path, std::ios::binary);
        const std::string line = "# " + std::string(1022, 'x') + "\n";
        for (size_t written = 0; written <= HelpTextSource::MaxFileSize; written += line.size())
            huge << line;
    }
    const std::string error = ErrorOf<ETextSourceError>([&] { HelpTextSource::Load(path, 3); });
    EXPECT_NE(error.find("larger than a text list can be"), std::string::npos) << error;
}

TEST(HelpTextSourceTest, ShippedHelpTextsAreComplete)
{
    const std::vector<IndexedText> texts = HelpTextSource::Load(DataFile("help-texts.txt"), 300);
    ASSERT_EQ(texts.size(), 300u);
    EXPECT_EQ(texts[144].text, "en");
    EXPECT_EQ(texts[124].text.back(), ' ');
    // The numbers no screen uses are empty, and only they.
    std::set<int> unused = {6,   10,  11,  23,  35,  44,  55,  75,  77,  89, 90,
                            117, 125, 131, 152, 192, 206, 211, 212, 213, 217};
    const std::pair<int, int> ranges[] = {{26, 32}, {39, 42}, {50, 53}, {62, 71}, {135, 143}};
    for (const auto& [from, to] : ranges)
        for (int i = from; i <= to; ++i)
            unused.insert(i);
    EXPECT_EQ(unused.size(), 300u - 245u);
    for (const IndexedText& entry : texts)
        EXPECT_EQ(entry.text.empty(), unused.count(entry.index) == 1) << "help text " << entry.index;
}

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
    };
    // clang-format on
    for (const auto& [content, message] : cases)
        EXPECT_EQ(ErrorOf([&] { ChapterTreeSource::Parse(content, "chapters.txt"); }), "chapters.txt:" + message);
}
