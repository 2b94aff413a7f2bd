#include "AlbumTestSupport.h"

#include "model/PageOrder.h"
#include "model/evCategory.h"
#include "model/evHelptext.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "platform/Errors.h"

#include <cmath>

namespace {

constexpr double kDate = 37622.5; // 1 January 2003, noon

std::unique_ptr<evCategory> SmallTree()
{
    auto first = std::make_unique<evCategory>("Welcome", "", false, 3);
    first->AddChild(std::make_unique<evCategory>("Church", "x", true, 3));
    first->GetSub()->AddUserElement(10, SolidPicture(4, 2, 0x0000FF));
    first->AppendSibling(std::make_unique<evCategory>("Menu", "", false, 3));
    first->AppendSibling(std::make_unique<evCategory>("End", "", false, 3));
    return first;
}

void WriteCategory(MemoryStream& s, const std::string& title)
{
    evCategory category(title, "", false, 3);
    WriteObject(s, &category);
}

// The fields up to the design file name of a body of the given version.
void WriteProjectHead(MemoryStream& s, int32_t version, bool withTexts)
{
    WriteHeader(s, version, 5);
    s.WriteString("Anna");
    s.WriteString("Ben");
    if (withTexts) {
        s.WriteString("third");
        s.WriteString("fourth");
    }
    s.WriteDouble(kDate);
    s.WriteString("r1");
    s.WriteString("r2");
    s.WriteString("Rose.evl");
}

} // namespace

TEST(evProjectTest, CurrentVersionRoundTripsByteForByte)
{
    evProject project("Anna", "Ben", kDate, "Rose.evl", SmallTree());
    project.SetDiscLabelCategory(std::make_unique<evCategory>("cd label", "", true, 3));
    const std::vector<uint8_t> bytes = SavedBody(project);
    MemoryStream in(bytes);
    evProject read(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(SavedBody(read), bytes);
    EXPECT_EQ(read.GetTitle(), "Anna & Ben");
    EXPECT_EQ(read.GetDate(), kDate);
    ASSERT_NE(read.GetDiscLabelCategory(), nullptr);
    EXPECT_EQ(read.GetDiscLabelCategory()->GetProject(), &read);
    std::vector<evCategory*> all;
    PageOrder::Flatten(read.GetFirstCategory(), all, false);
    ASSERT_EQ(all.size(), 4u);
    for (evCategory* category : all)
        EXPECT_EQ(category->GetProject(), &read);
}

TEST(evProjectTest, Version1HasNoTextsNorDiscLabelAndIsWrittenAsVersion3)
{
    MemoryStream in;
    WriteProjectHead(in, 1, false);
    WriteCategory(in, "W");
    in.WriteString("NP");
    in.SetPosition(0);
    evProject project(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(project.GetThirdText(), "");
    EXPECT_EQ(project.GetFourthText(), "");
    EXPECT_EQ(project.GetDiscLabelCategory(), nullptr);
    EXPECT_EQ(project.GetReservedText1(), "r1");

    MemoryStream expected;
    WriteHeader(expected, 3, 5);
    for (const char* text : {"Anna", "Ben", "", ""})
        expected.WriteString(text);
    expected.WriteDouble(kDate);
    for (const char* text : {"r1", "r2", "Rose.evl"})
        expected.WriteString(text);
    WriteCategory(expected, "W");
    expected.WriteString("NP");
    expected.WriteString("NP");
    EXPECT_EQ(SavedBody(project), expected.Data());
}

TEST(evProjectTest, Version0SkipsTheCollectionBehindTheTree)
{
    MemoryStream in;
    WriteProjectHead(in, 0, false);
    WriteCategory(in, "W");
    evObjectCollection dropped;
    dropped.Add(std::make_unique<evHelptext>("h", 1, "t"));
    dropped.SaveToStream(in);
    in.WriteString("NP");
    in.SetPosition(0);
    evProject project(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(project.GetFirstCategory()->GetTitle(), "W");
    EXPECT_EQ(project.GetMusic(), nullptr);
}

TEST(evProjectTest, Version2KeepsItsTexts)
{
    MemoryStream in;
    WriteProjectHead(in, 2, true);
    WriteCategory(in, "W");
    in.WriteString("NP");
    in.SetPosition(0);
    evProject project(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(project.GetThirdText(), "third");
    EXPECT_EQ(project.GetFourthText(), "fourth");
}

TEST(evProjectTest, EveryCutOfASmallProjectIsAReadError)
{
    evProject project("Anna", "Ben", kDate, "Rose.evl", SmallTree());
    project.SetDiscLabelCategory(std::make_unique<evCategory>("cd label", "", true, 3));
    const std::vector<uint8_t> bytes = SavedBody(project);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        MemoryStream in(bytes.data(), static_cast<int64_t>(cut));
        EXPECT_THROW(evProject(in, nullptr), EVelloraError) << "cut at " << cut;
    }
}

class ProjectLifetimeTest : public TempFolderTest {};

TEST_F(ProjectLifetimeTest, DestroyingAProjectDestroysEveryCategory)
{
    auto design = std::make_unique<evLayout>("Rose", "", 8, 6);
    AddPageLayout(*design, 1000, 0);
    auto project = std::make_unique<evProject>("A", "B", 0.0, "Rose.evl", SmallTree());
    project->SetDesign(std::move(design));
    project->SetDiscLabelCategory(std::make_unique<evCategory>("cd label", "", true, 3));
    std::vector<evCategory*> all;
    PageOrder::Flatten(project->GetFirstCategory(), all, false);
    all.push_back(project->GetDiscLabelCategory());
    for (evCategory* category : all) {
        category->SetPageLayoutID(1000);
        ASSERT_TRUE(category->Render(nullptr, true));
    }
    EXPECT_EQ(CountTempFiles(), 6); // five category previews and the page layout's own
    project.reset();
    EXPECT_EQ(CountTempFiles(), 0);
}
