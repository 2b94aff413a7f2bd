// The screens' table of named indexes (src/screens/DataIndexes.h) against the data it names: every help-text name
// is the name data-src/help-texts.txt gives that line, and the skin names are exactly the pictures the skin
// painter paints. The table is read as text, so that a name added without its data (or data without its name)
// fails here and not on a screen.
#include "screens/DataIndexes.h"
#include "DataKit.h"
#include "HelpTextSource.h"
#include "SkinPainter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string SourceFolder() { return std::string(VELLORA_DATA_SRC_DIR) + "/.."; }

// The constants of one namespace of the table, name to index. Inside the namespace every line must be a
// constant, a comment or blank, so that no differently written line escapes the checks.
std::map<std::string, int> TableNamespace(const std::string& space)
{
    std::ifstream file(SourceFolder() + "/src/screens/DataIndexes.h");
    EXPECT_TRUE(file) << "the table cannot be read";
    const std::regex constant(R"(inline constexpr int32_t (\w+) = (\d+);( +//.*)?)");
    std::map<std::string, int> names;
    bool inside = false;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line == "namespace " + space + " {") {
            inside = true;
            continue;
        }
        if (!inside)
            continue;
        if (line.rfind('}', 0) == 0)
            break;
        std::smatch m;
        if (std::regex_match(line, m, constant))
            EXPECT_TRUE(names.emplace(m[1], std::stoi(m[2])).second) << m[1] << " is defined twice";
        else
            EXPECT_TRUE(line.empty() || line.rfind("//", 0) == 0) << "line " << number << ": " << line;
    }
    EXPECT_TRUE(inside) << "no namespace " << space;
    return names;
}

} // namespace

TEST(DataIndexesTest, EveryHelpNameIsTheNameTheHelpTextFileGivesItsIndex)
{
    const std::map<std::string, int> table = TableNamespace("Help");
    const std::vector<IndexedText> texts =
        HelpTextSource::Load(std::string(VELLORA_DATA_SRC_DIR) + "/help-texts.txt", DataKit::kHelpTextCount);
    // The table read as text is the table the screens compile.
    ASSERT_EQ(table.at("ImageEditTakenOn"), Help::ImageEditTakenOn);
    ASSERT_EQ(table.size(), texts.size()) << "every help text has a name, and no name more";
    for (const auto& [name, index] : table) {
        ASSERT_GE(index, 0) << name;
        ASSERT_LT(index, static_cast<int>(texts.size())) << name;
        EXPECT_EQ(texts[static_cast<size_t>(index)].name, name) << "help text " << index;
    }
}

TEST(DataIndexesTest, TheSkinNamesAreExactlyThePaintedPictures)
{
    const std::map<std::string, int> table = TableNamespace("Skin");
    ASSERT_EQ(table.at("WaitCancel"), Skin::WaitCancel);
    std::map<int, std::string> byIndex;
    for (const auto& [name, index] : table) {
        EXPECT_TRUE(byIndex.emplace(index, name).second) << name << " and " << byIndex[index] << " share " << index;
        EXPECT_TRUE(SkinPainter::IsUsed(index)) << name << " (" << index << ") is no painted picture";
    }
    for (int index = 0; index < SkinPainter::Count(); ++index)
        EXPECT_EQ(byIndex.count(index), SkinPainter::IsUsed(index) ? 1u : 0u) << "skin picture " << index;
}
