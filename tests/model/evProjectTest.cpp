#include "AlbumTestSupport.h"

#include "model/PageOrder.h"
#include "model/evCategory.h"
#include "model/evHelptext.h"
#include "model/evProject.h"
#include "platform/Errors.h"

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

// The fields up to the design file name of a body of the given version (from version 2 on with two more texts).
void WriteProjectHead(MemoryStream& s, int32_t version, const std::string& third = "third",
                      const std::string& fourth = "fourth")
{
    WriteHeader(s, version, 5);
    s.WriteString("Anna");
    s.WriteString("Ben");
    if (version >= 2) {
        s.WriteString(third);
        s.WriteString(fourth);
    }
    s.WriteDouble(kDate);
    s.WriteString("r1");
    s.WriteString("r2");
    s.WriteString("Rose.evl");
}

} // namespace

TEST(evProjectTest, CurrentVersionRoundTripsByteForByteAndEveryCutFails)
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
    ExpectEveryCutFails<EVelloraError>(bytes, [](Stream& s) { evProject(s, nullptr); });
}

// Version 0 has a collection behind the tree that is skipped; versions before 2 have no third and fourth text,
// versions before 3 no disc label. Each is written back as version 3.
TEST(evProjectTest, OlderVersionsAreReadAndWrittenAsVersion3)
{
    for (int32_t version : {0, 1, 2}) {
        SCOPED_TRACE(version);
        MemoryStream in;
        WriteProjectHead(in, version);
        WriteCategory(in, "W");
        if (version == 0) {
            evObjectCollection dropped;
            dropped.Add(std::make_unique<evHelptext>("h", 1, "t"));
            dropped.SaveToStream(in);
        }
        in.WriteString("NP");
        in.SetPosition(0);
        evProject project(in, nullptr);
        EXPECT_EQ(in.Remaining(), 0);
        EXPECT_EQ(project.GetFirstCategory()->GetTitle(), "W");
        EXPECT_EQ(project.GetThirdText(), version >= 2 ? "third" : "");
        EXPECT_EQ(project.GetFourthText(), version >= 2 ? "fourth" : "");
        EXPECT_EQ(project.GetDiscLabelCategory(), nullptr);
        EXPECT_EQ(project.GetMusic(), nullptr);
        EXPECT_EQ(project.GetReservedText1(), "r1");

        MemoryStream expected;
        WriteProjectHead(expected, 3, project.GetThirdText(), project.GetFourthText());
        WriteCategory(expected, "W");
        expected.WriteString("NP");
        expected.WriteString("NP");
        EXPECT_EQ(SavedBody(project), expected.Data());
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
