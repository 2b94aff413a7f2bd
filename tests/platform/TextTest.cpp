#include "platform/Text.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(Text, Utf8IsKeptAndOtherBytesAreWindows1252)
{
    EXPECT_EQ(ToDisplay("Jos\xC3\xA9"), QString::fromUtf8("José"));
    EXPECT_EQ(ToDisplay("Jos\xE9"), QString::fromUtf8("José"));
    EXPECT_EQ(ToDisplay("\x80 \x9F"), QString::fromUtf8("€ Ÿ"));
    EXPECT_EQ(ToDisplay(std::string("a\0b", 3)), QString::fromUtf8("a\0b", 3));
    EXPECT_EQ(FromDisplay(QString::fromUtf8("Grüße, Łukasz")), "Gr\xC3\xBC\xC3\x9F"
                                                               "e, \xC5\x81ukasz");
}

TEST(Text, Utf8ValidationRejectsMalformedSequences)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x92\x8D"));  // a ring
    EXPECT_FALSE(IsValidUtf8("\xC3"));             // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // cut short at the end
}
