#include "model/PersonalData.h"
#include "platform/Dates.h"

#include <gtest/gtest.h>

TEST(PersonalDataTest, BlankMeansOnlyBlanksAndControlCharacters)
{
    EXPECT_TRUE(IsBlankName(""));
    EXPECT_TRUE(IsBlankName(" \t\r\n\x01 "));
    EXPECT_FALSE(IsBlankName(" a "));
    EXPECT_FALSE(IsBlankName("\xC3\xA9")); // é: a name of one non-ASCII letter
    EXPECT_FALSE(IsBlankName("\xC2\xA0")); // a no-break space counts as a character, as it always did
}

TEST(PersonalDataTest, ReportsTheFirstFieldThatFails)
{
    SetTodaySource([] { return 46362.0; });
    const std::string date = ShortDateText(46362.0);
    struct Case {
        std::string first, second, date;
        std::optional<double> day;
        PersonalDataField failed;
    };
    const Case cases[] = {
        {" ", " ", "nonsense", std::nullopt, PersonalDataField::FirstName},
        {"Anna", "\t", "nonsense", std::nullopt, PersonalDataField::SecondName},
        {"Anna", "Ben", "nonsense", std::nullopt, PersonalDataField::Date},
        {"Anna", "Ben", date, 46362.0, PersonalDataField::Date},
    };
    for (const Case& c : cases) {
        const PersonalDataResult result = CheckPersonalData(c.first, c.second, c.date);
        EXPECT_EQ(result.date, c.day) << c.first << "|" << c.second << "|" << c.date;
        if (!c.day) {
            EXPECT_EQ(result.failed, c.failed) << c.first << "|" << c.second << "|" << c.date;
        }
    }
    SetTodaySource({});
}
