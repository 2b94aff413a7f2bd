#include "platform/TextMeasurer.h"

#include "platform/Canvas.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A monospaced face makes every expectation a count of characters.
constexpr const char* kMono = "DejaVu Sans Mono";

// The width of a number of characters; single characters have fractional advances, so widths are taken whole.
int Columns(int count) { return QFontMetrics(MakeQFont(kMono, 12, 0)).horizontalAdvance(QString(count, 'x')); }

Lines Wrap(std::string_view text, int columns)
{
    TextMeasurer measurer;
    measurer.SetFont(kMono, 12, 0);
    measurer.SetSize(Columns(columns), 100);
    measurer.SetText(text);
    return measurer.Lines();
}

} // namespace

TEST(TextMeasurerTest, SoftWrappedLinesKeepTheirTrailingBlanks)
{
    EXPECT_EQ(Wrap("aaa bbb ccc", 7), (Lines{"aaa bbb ", "ccc"}));
    EXPECT_EQ(Wrap("aaa bbb ccc", 6), (Lines{"aaa ", "bbb ", "ccc"}));
    EXPECT_EQ(Wrap("aaa bbb ccc", 11), (Lines{"aaa bbb ccc"}));
    // Blanks hang past the edge: they never start a line of their own.
    EXPECT_EQ(Wrap("aaa     bbb", 4), (Lines{"aaa     ", "bbb"}));
    EXPECT_EQ(Wrap("aaa bbb   ", 3), (Lines{"aaa ", "bbb   "}));
}

TEST(TextMeasurerTest, WordsWiderThanTheLineAreBroken)
{
    EXPECT_EQ(Wrap("abcdefghij xy", 4), (Lines{"abcd", "efgh", "ij ", "xy"}));
    EXPECT_EQ(Wrap("ab abcdefgh", 4), (Lines{"ab ", "abcd", "efgh"}));
    EXPECT_EQ(Wrap("abc", 1), (Lines{"a", "b", "c"}));
    // Even a line narrower than one character holds one character.
    TextMeasurer narrow;
    narrow.SetFont(kMono, 12, 0);
    narrow.SetSize(1, 10);
    narrow.SetText("abc");
    EXPECT_EQ(narrow.Lines(), (Lines{"a", "b", "c"}));
}

TEST(TextMeasurerTest, ParagraphsEndAtCarriageReturnLineFeed)
{
    EXPECT_EQ(Wrap("one\r\ntwo", 10), (Lines{"one", "two"}));
    EXPECT_EQ(Wrap("one\r\n\r\ntwo", 10), (Lines{"one", "", "two"}));
    EXPECT_EQ(Wrap("\r\none", 10), (Lines{"", "one"}));
    EXPECT_EQ(Wrap("one\r\n", 10), (Lines{"one"}));
    EXPECT_EQ(Wrap("one\r\n\r\n", 10), (Lines{"one", ""}));
    EXPECT_EQ(Wrap("\r\n", 10), (Lines{""}));
    EXPECT_EQ(Wrap("", 10), (Lines{}));
    // A lone CR or LF is no paragraph end.
    EXPECT_EQ(Wrap("a\nb", 10), (Lines{"a\nb"}));
}

TEST(TextMeasurerTest, MultiByteCharactersAreNeverSplit)
{
    // "ä" is two bytes in UTF-8 and one in Windows-1252; both count as one character.
    EXPECT_EQ(Wrap("\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4", 2),
              (Lines{"\xC3\xA4\xC3\xA4", "\xC3\xA4\xC3\xA4", "\xC3\xA4"}));
    EXPECT_EQ(Wrap("\xE4\xE4\xE4\xE4\xE4", 2), (Lines{"\xE4\xE4", "\xE4\xE4", "\xE4"}));
    // A Windows-1252 text whose first bytes would pass for UTF-8: "Ã¤Ã¤ ü" is five characters, not "ää ü".
    EXPECT_EQ(Wrap("\xC3\xA4\xC3\xA4 \xFC", 2), (Lines{"\xC3\xA4", "\xC3\xA4 ", "\xFC"}));
}
