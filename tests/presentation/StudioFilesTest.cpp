// The studio design and record as the project menu and finishing read them: a record built from the marks of
// the page layout "STUDIO", a stored record brought into line with it, and files that cannot be used.
#include "presentation/FinishTestAlbum.h"

#include "model/evCategoryEntry.h"
#include "presentation/StudioFiles.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace finishtest;

namespace {

constexpr int32_t kStudio = 30;

// Seven free text fields (1 to 7) marked by the studio actions, the studio name only through its first slot as
// older designs have it; a fixed logo slot (8) drawn by action 24; three free sample slots (9 to 11) and a
// fixed one (12) in between.
std::unique_ptr<evLayout> StudioDesign(const std::string& key = "STUDIO")
{
    auto design = WithID(std::make_unique<evLayout>("Studio", "", kPageWidth, kPageHeight), 1);
    evPageLayout& layout = *AddPageLayout(*design, kStudio, 4, key);
    const int32_t marks[] = {atStudioIntro, atStudioAddress,     atStudioName, atStudioPhone,
                             atStudioEmail, atStudioInformation, atStudioWeb};
    for (int n = 1; n <= 7; ++n) {
        const TRect rect = Rect(10, 20 * n, 200, 20 * n + 18);
        AddLabel(layout, n, rect, "text " + std::to_string(n), 0);
        const ActionSlots parts = marks[n - 1] == atStudioName ? ActionSlots{.first = n} : ActionSlots{.label = n};
        AddAction(layout, n, marks[n - 1], rect, parts);
    }
    AddSlot(layout, 8, Rect(220, 10, 300, 60));
    AddAction(layout, 8, atExtraPicture, Rect(220, 10, 300, 60), {.first = 8});
    AddSlot(layout, 9, Rect(220, 70, 250, 110), 0);
    AddSlot(layout, 12, Rect(220, 120, 250, 160), 1);
    AddSlot(layout, 10, Rect(260, 70, 290, 110), 0);
    AddSlot(layout, 11, Rect(260, 120, 290, 160), 0);
    return design;
}

class StudioFilesTest : public TempFolderTest {
protected:
    std::string Write(const evObject& object, const std::string& name)
    {
        MemoryStream stream;
        object.SaveToStream(stream);
        stream.SaveToFile(TempPath(name));
        return TempPath(name);
    }
};

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string TextIn(const evPhotograph& record, int32_t slot)
{
    const auto* field = dynamic_cast<const evUserTextfield*>(record.FindUserElement(slot));
    return field ? field->GetText() : "(none)";
}

} // namespace

TEST_F(StudioFilesTest, ANewRecordTakesItsSlotsFromTheMarksOfThePageLayout)
{
    const std::unique_ptr<evLayout> design = StudioDesign();
    evPageLayout& layout = *design->FindPageLayoutByKey("STUDIO");
    const std::unique_ptr<evPhotograph> record = BuildStudioRecord(layout);

    EXPECT_EQ(record->GetPageLayout(), &layout);
    const std::pair<int32_t, int> textSlots[] = {
        {record->GetIntroSlot(), 1}, {record->GetAddressSlot(), 2}, {record->GetStudioSlot(), 3},
        {record->GetPhoneSlot(), 4}, {record->GetEmailSlot(), 5},   {record->GetInfoSlot(), 6},
        {record->GetWebSlot(), 7},
    };
    for (const auto& [slot, n] : textSlots) {
        EXPECT_EQ(slot, FieldId(kStudio, n)) << n;
        EXPECT_EQ(TextIn(*record, slot), "text " + std::to_string(n));
        EXPECT_NE(record->FindUserElement(slot), layout.FindByID(slot)) << "a copy, not the design's field";
    }
    EXPECT_EQ(record->GetUserElements().Count(), 7);
    EXPECT_EQ(record->GetLogoSlot(), ActionId(kStudio, 8));
    // The fixed slot is skipped; of three free ones the third takes the second sample's place.
    EXPECT_EQ(record->GetSampleSlot(1), FieldId(kStudio, 9));
    EXPECT_EQ(record->GetSampleSlot(2), FieldId(kStudio, 11));
}

TEST_F(StudioFilesTest, AStoredRecordKeepsItsContentAndGetsWhatItLacks)
{
    const std::string designFile = Write(*StudioDesign(), "studio.evb");
    evPhotograph stored(nullptr);
    stored.SetLogoSlot(99);
    stored.SetIntroSlot(FieldId(kStudio, 1));
    stored.AddUserElement(FieldId(kStudio, 1), std::make_unique<evUserTextfield>("intro", "Our studio", "Arial", 0, 8,
                                                                                 false, false, false, 0, 5, 5));
    stored.SetAddressSlot(FieldId(kStudio, 2)); // names a text field the record does not hold
    const std::string recordFile = Write(stored, "studio.evd");

    const std::unique_ptr<StudioBranding> studio = LoadStudioForEditing(designFile, recordFile);
    evPhotograph& record = studio->GetRecord();
    EXPECT_EQ(record.GetPageLayout(), StudioBranding::FindStudioPageLayout(studio->GetDesign()));
    EXPECT_EQ(TextIn(record, record.GetIntroSlot()), "Our studio");
    EXPECT_EQ(TextIn(record, record.GetAddressSlot()), "text 2");
    EXPECT_EQ(record.GetUserElements().Count(), 7);
    EXPECT_EQ(record.GetLogoSlot(), 99);
    EXPECT_EQ(record.GetSampleSlot(1), FieldId(kStudio, 9));
}

TEST_F(StudioFilesTest, UnreadableFilesGiveANewRecordAnErrorOrNoStudioPage)
{
    const std::string designFile = Write(*StudioDesign(), "studio.evb");
    const std::string recordFile = Write(evPhotograph(nullptr), "studio.evd");
    std::ofstream(TempPath("damaged.evd")) << "PQ";
    // Editing builds a new record when there is no record file, and refuses a damaged one (which then stays as it
    // is); finishing needs both files.
    EXPECT_EQ(LoadStudioForEditing(designFile, TempPath("missing.evd"))->GetRecord().GetUserElements().Count(), 7);
    EXPECT_THROW(LoadStudioForEditing(designFile, TempPath("damaged.evd")), EStudioRecordError);
    EXPECT_THROW(LoadStudioForEditing(designFile, TempPath("")), EStudioRecordError) << "a folder is no record";
    for (const std::string& unreadable : {TempPath("damaged.evd"), TempPath("missing.evd")})
        EXPECT_EQ(LoadStudioForFinishing(designFile, unreadable), nullptr);
    EXPECT_NE(LoadStudioForFinishing(designFile, recordFile), nullptr);

    std::vector<uint8_t> bytes = SavedBody(*StudioDesign());
    bytes.resize(bytes.size() / 2);
    MemoryStream cut;
    cut.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    cut.SaveToFile(TempPath("cut.evb"));
    const std::string withoutStudio = Write(*StudioDesign("OTHER"), "other.evb");
    for (const std::string& design : {withoutStudio, TempPath("cut.evb"), TempPath("missing.evb")}) {
        EXPECT_THROW(LoadStudioForEditing(design, recordFile), EVelloraError) << design;
        EXPECT_EQ(LoadStudioForFinishing(design, recordFile), nullptr) << design;
    }
}

// The record goes back to its file as its body alone, byte for byte as it is read; a write that fails keeps the
// previous file.
TEST_F(StudioFilesTest, AWrittenRecordReadsBackByteForByte)
{
    const std::unique_ptr<evLayout> design = StudioDesign();
    const std::unique_ptr<evPhotograph> record = BuildStudioRecord(*design->FindPageLayoutByKey("STUDIO"));
    record->GetStudioText()->SetText("Studio Lumi\xC3\xA8re\r\nPortraits");
    record->AddUserElement(record->GetLogoSlot(), SolidPicture(30, 20, 0x00336699));
    const std::string path = TempPath("studio.evd");
    WriteStudioRecord(*record, path);
    EXPECT_EQ(ReadAll(path), SavedBody(*record));

    const std::unique_ptr<evPhotograph> read = ReadStudioRecord(path);
    EXPECT_EQ(read->GetStudioText()->GetText(), "Studio Lumi\xC3\xA8re\r\nPortraits");
    EXPECT_EQ(SavedBody(*read), SavedBody(*record));

    EXPECT_THROW(WriteStudioRecord(evPhotograph(nullptr), TempPath("no folder/studio.evd")), EStreamError);
    EXPECT_THROW(WriteStudioRecord(evPhotograph(nullptr), TempPath("")), EStreamError);
    EXPECT_EQ(ReadAll(path), SavedBody(*record));
}
