#include "HelpTextSource.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <set>
#include <string>

namespace {

std::string ErrorOf(std::string_view content, int count)
{
    try {
        HelpTextSource::Parse(content, count, "texts.txt");
    } catch (const ETextSourceError& e) {
        return e.what();
    }
    return "no error";
}

std::string DataFile(const char* name) { return std::string(VELLORA_DATA_SRC_DIR) + "/" + name; }

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
        {"0 | A | fine\n0 | only one separator\n", "line 2: expected"},
        {"x | A | text\n", "line 1: the index \"x\" is not a number"},
        {"-1 | A | text\n", "line 1: the index \"-1\" is not a number"},
        {"0 | A | fine\n2 | B | text\n", "line 2: the index 2 is outside 0..1"},
        {"0 |  | text\n", "line 1: the name \"\""},
        {"0 | Two words | text\n", "line 1: the name \"Two words\""},
        {"0 | A | a \\t b\n", "line 1: unknown escape \\t"},
        {"0 | A | ends with \\\n", "line 1: the text ends with a lone backslash"},
        {"0 | A | Anna & Ben\n", "line 1: the text contains \"&\""},
        {"0 | A | tab\tinside\n", "line 1: the text contains a tab"},
        {"0 | A | bad \xff byte\n", "line 1: the text is not valid UTF-8"},
    };
    for (const auto& [content, expected] : cases) {
        SCOPED_TRACE(content);
        const std::string error = ErrorOf(content, 2);
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
    try {
        HelpTextSource::Load(path, 3);
        FAIL() << "a file beyond the size limit was read";
    } catch (const ETextSourceError& e) {
        EXPECT_NE(std::string(e.what()).find("larger than a text list can be"), std::string::npos);
    }
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
