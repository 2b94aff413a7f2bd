#include "DataKit.h"
#include "ChapterTreeSource.h"
#include "ErrorOf.h"
#include "HelpTextSource.h"
#include "MusicScore.h"
#include "OggVorbis.h"
#include "SkinPainter.h"
#include "WriteLeftovers.h"
#include "audio/evMusic.h"
#include "model/evActionElement.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evFont.h"
#include "model/evHelptext.h"
#include "model/evLayout.h"
#include "model/evLayoutPreview.h"
#include "model/evObjectCollection.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"
#include "presentation/DiscLabel.h"
#include "presentation/Preflight.h"
#include "screens/ScreenGeometry.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QRawFont>
#include <QTemporaryDir>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string SourceFolder() { return VELLORA_DATA_SRC_DIR; }

std::string Read(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

template <class T>
std::unique_ptr<T> ReadBody(const std::string& path)
{
    FileStream file(path, FileStream::Mode::OpenRead);
    return std::make_unique<T>(file, nullptr);
}

// The element an entry of the page layout places, looked up as the program does (through the design).
evObject* EntryElement(evPageLayout& layout, int32_t entryId)
{
    auto* entry = dynamic_cast<evPageLayoutEntry*>(layout.FindByID(entryId));
    return entry ? layout.GetDesign()->FindByID(entry->GetElementID()) : nullptr;
}

// The items of a list that are of class T.
template <class T>
std::vector<T*> Items(const evObjectCollection& list)
{
    std::vector<T*> items;
    for (int32_t i = 0; i < list.Count(); ++i)
        if (T* item = list.GetItemAs<T>(i))
            items.push_back(item);
    return items;
}

} // namespace

// The whole data is built once, with the music cut to a second per piece, and every test reads what was written.
class DataKitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_output = std::make_unique<QTemporaryDir>();
        DataKitOptions options;
        options.sourceFolder = SourceFolder();
        options.outputFolder = s_output->path().toStdString();
        options.musicSeconds = 1;
        DataKit kit(options);
        kit.BuildAll();
        s_data = kit.DataFolder();
        s_designs = kit.DesignsFolder();
    }
    static void TearDownTestSuite() { s_output.reset(); }

    static std::vector<std::string> DesignFiles()
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(s_designs))
            if (entry.path().extension() == ".evl")
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    static inline std::unique_ptr<QTemporaryDir> s_output;
    static inline std::string s_data;
    static inline std::string s_designs;
};

TEST_F(DataKitTest, MainFileHoldsEveryListAtItsIndex)
{
    const auto branding = ReadBody<evBranding>(s_data + "/main.evb");
    EXPECT_EQ(branding->GetStoredVersion(), 4);

    const std::vector<IndexedText> texts =
        HelpTextSource::Load(SourceFolder() + "/help-texts.txt", DataKit::kHelpTextCount);
    ASSERT_EQ(branding->GetHelpTexts().Count(), DataKit::kHelpTextCount);
    for (int i = 0; i < DataKit::kHelpTextCount; ++i) {
        const auto* text = branding->GetHelpTexts().GetItemAs<evHelptext>(i);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetNumber(), i);
        EXPECT_EQ(text->GetText(), texts[i].text);
    }

    SkinPainter painter;
    ASSERT_EQ(branding->GetPictures().Count(), SkinPainter::Count());
    for (int i = 0; i < SkinPainter::Count(); ++i) {
        const auto* picture = branding->GetPictures().GetItemAs<evPicture>(i);
        ASSERT_NE(picture, nullptr);
        const QSize size = painter.Paint(i).size();
        EXPECT_EQ(QSize(picture->GetWidth(), picture->GetHeight()), size) << "skin picture " << i;
    }

    const auto tree = ChapterTreeSource::Load(SourceFolder() + "/chapters.txt");
    ASSERT_NE(branding->GetChapterTree(), nullptr);
    EXPECT_TRUE(branding->GetChapterTree()->IsEqual(tree.get()));
}

TEST_F(DataKitTest, MusicAndSpeechAreInMainFileAndSoundLists)
{
    const auto branding = ReadBody<evBranding>(s_data + "/main.evb");
    const auto music = evObjectCollection::CreateFromFile(s_data + "/music.evb");
    const auto speech = evObjectCollection::CreateFromFile(s_data + "/speaker.evb");
    EXPECT_TRUE(music->IsEqual(branding->GetMusic()));
    EXPECT_TRUE(speech->IsEqual(branding->GetSpeech()));

    std::vector<std::string> titles;
    for (const auto& entry : fs::directory_iterator(SourceFolder() + "/music"))
        if (entry.path().extension() == ".score")
            titles.push_back(entry.path().string());
    std::sort(titles.begin(), titles.end());
    ASSERT_EQ(music->Count(), static_cast<int32_t>(titles.size()));
    ASSERT_GE(music->Count(), 3);
    for (int32_t i = 0; i < music->Count(); ++i) {
        const auto* track = music->GetItemAs<evMusic>(i);
        EXPECT_EQ(track->GetTitle(), MusicScore::Load(titles[i]).Title());
        EXPECT_EQ(track->GetPlayMode(), 1);
        const OggVorbis::Info info = OggVorbis::Inspect(track->GetFile());
        EXPECT_EQ(info.channels, 2);
        EXPECT_NEAR(info.seconds, 1.5, 0.1); // one second and the short tail of a cut rendering
        EXPECT_GT(info.peak, 0.3f);
        EXPECT_LT(info.peak, 1.0f);
    }
    ASSERT_EQ(speech->Count(), DataKit::kSpeechClipCount);
    for (int32_t i = 0; i < speech->Count(); ++i) {
        const auto* clip = speech->GetItemAs<evMusic>(i);
        EXPECT_EQ(clip->GetPlayMode(), 0);
        const OggVorbis::Info info = OggVorbis::Inspect(clip->GetFile());
        EXPECT_EQ(info.channels, 1);
        const bool unused = i >= 10 && i <= 12;
        EXPECT_EQ(info.peak == 0.0f, unused) << "speech clip " << i;
        EXPECT_LT(info.peak, 1.0f);
    }
}

TEST_F(DataKitTest, DesignsReadBackWithTheirSpecialPagesAndSamplePicture)
{
    const std::vector<std::string> files = DesignFiles();
    ASSERT_GE(files.size(), 2u);
    std::set<std::string> names;
    for (const std::string& path : files) {
        FileStream head(path, FileStream::Mode::OpenRead);
        const evLayoutPreview preview(head, fs::path(path).filename().string());
        EXPECT_EQ(preview.GetName() + ".evl", fs::path(path).filename().string());
        EXPECT_EQ(preview.GetPageWidth(), 1024);
        EXPECT_EQ(preview.GetPageHeight(), 768);
        ASSERT_NE(preview.GetSamplePicture(), nullptr);
        // The sample shows the page at its own size.
        EXPECT_EQ(preview.GetSamplePicture()->GetWidth(), preview.GetPageWidth());
        EXPECT_EQ(preview.GetSamplePicture()->GetHeight(), preview.GetPageHeight());
        names.insert(preview.GetName());

        const auto design = ReadBody<evLayout>(path);
        EXPECT_NE(design->GetTextColour(), design->GetBackgroundColour());
        for (const char* key : {"W", "M", "E", "cd"}) {
            const evPageLayout* layout = design->FindPageLayoutByKey(key);
            ASSERT_NE(layout, nullptr) << path << " has no page layout " << key;
            EXPECT_NE(layout->GetID(), 0);
        }
    }
    EXPECT_EQ(names.size(), files.size());
}

// Text in bold or italic must never fall back to another font for a letter: every family a design (or the studio
// page) embeds comes with its bold and italic faces, every face writes the letters of Western European names and
// the euro sign, and the face the font system picks for each style is the family's own.
TEST_F(DataKitTest, EveryDesignFontWritesEveryLetterInBoldAndItalic)
{
    const QString letters = QString::fromUtf8("ÄÖÜäöüßçéèëêàâîïôûùÿñÅøæ€");
    const auto lacking = [&letters](const QRawFont& font) {
        std::string missing;
        for (const QChar letter : letters)
            if (!font.supportsCharacter(letter))
                missing += QString(letter).toStdString();
        return missing;
    };
    // A script is slanted already; it has no italic face, and an italic style only leans it further.
    const std::set<QString> slantedScripts = {"Dancing Script"};
    std::vector<std::string> files = DesignFiles();
    files.push_back(s_data + "/studio.evb");
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const auto design = ReadBody<evLayout>(path);
        std::map<QString, std::set<std::pair<bool, bool>>> facesOfFamily;
        for (const evFont* font : Items<evFont>(design->GetElementsB())) {
            const QRawFont raw(QByteArray(reinterpret_cast<const char*>(font->GetData().data()),
                                          static_cast<qsizetype>(font->GetData().size())),
                               20);
            ASSERT_TRUE(raw.isValid()) << font->GetFileName();
            EXPECT_EQ(raw.familyName().toStdString(), font->GetFaceName()) << font->GetFileName();
            EXPECT_EQ(lacking(raw), "") << font->GetFileName();
            facesOfFamily[raw.familyName()].insert({raw.weight() >= QFont::Bold, raw.style() != QFont::StyleNormal});
        }
        EXPECT_FALSE(facesOfFamily.empty());
        for (const auto& [family, faces] : facesOfFamily) {
            const bool needsItalic = slantedScripts.count(family) == 0;
            for (const bool bold : {false, true}) {
                for (const bool italic : {false, true}) {
                    SCOPED_TRACE(family.toStdString() + (bold ? " bold" : "") + (italic ? " italic" : ""));
                    if (bold || (italic && needsItalic)) {
                        EXPECT_EQ(faces.count({bold, italic && needsItalic}), 1u) << "no such face";
                    }
                    QFont wanted(family);
                    wanted.setPixelSize(20);
                    wanted.setBold(bold);
                    wanted.setItalic(italic);
                    const QRawFont used = QRawFont::fromFont(wanted);
                    EXPECT_EQ(used.familyName(), family);
                    EXPECT_EQ(used.weight() >= QFont::Bold, bold);
                    EXPECT_EQ(lacking(used), "");
                }
            }
        }
    }
}

// The preview's close button lies over a page that fills the panel; nothing of a page that answers the pointer
// (buttons, menus, photographs that grow, strips) may be under it. Titles and other labels may.
TEST_F(DataKitTest, NoButtonOfAPageLiesUnderThePreviewsCloseButton)
{
    const std::set<int32_t> answering = {atExit,           atBack, atSound,       atChapterMenu,
                                         atEnlargeOnHover, atEnd,  atNextSibling, atFilmStrip};
    const Geometry::ControlRect close = Geometry::Preview::imgCloseOnPage;
    const TRect closeRect = Rect(close.x, close.y, close.Right(), close.Bottom());
    for (const std::string& path : DesignFiles()) {
        const auto design = ReadBody<evLayout>(path);
        for (evPageLayout* layout : Items<evPageLayout>(design->GetPageLayouts())) {
            for (const evActionElement* action : Items<evActionElement>(layout->GetActionElements())) {
                const TRect r = action->GetRect();
                const bool apart = r.Right <= closeRect.Left || r.Left >= closeRect.Right ||
                                   r.Bottom <= closeRect.Top || r.Top >= closeRect.Bottom;
                EXPECT_TRUE(apart || answering.count(action->GetActionType()) == 0)
                    << path << " / " << layout->GetName() << " action " << action->GetID();
            }
        }
    }
}

TEST_F(DataKitTest, EveryPageLayoutResolvesItsReferencesAndRenders)
{
    for (const std::string& path : DesignFiles()) {
        const auto design = ReadBody<evLayout>(path);
        for (evPageLayout* layout : Items<evPageLayout>(design->GetPageLayouts())) {
            const std::string where = path + " / " + layout->GetName();
            EXPECT_NO_THROW(layout->RenderPreview()) << where;
            EXPECT_GT(fs::file_size(layout->GetPreviewFile()), 1024u * 768u * 3u) << where;
            for (const evPageLayoutEntry* entry : Items<evPageLayoutEntry>(layout->GetEntries()))
                EXPECT_NE(dynamic_cast<evDrawableElement*>(design->FindByID(entry->GetElementID())), nullptr) << where;
            for (const evUserPicture* slot : Items<evUserPicture>(layout->GetOwnElements())) {
                for (int32_t frameId : {slot->GetFrameID(), slot->GetAlternateFrameID()}) {
                    if (frameId == 0)
                        continue;
                    const auto* frame = dynamic_cast<evPicture*>(EntryElement(*layout, frameId));
                    ASSERT_NE(frame, nullptr) << where << " / " << slot->GetName();
                    EXPECT_NE(frame->GetPlaceholder(), 0) << where << " / " << slot->GetName();
                }
            }
            for (const evActionElement* action : Items<evActionElement>(layout->GetActionElements())) {
                const int type = action->GetActionType();
                const auto placed = [&layout](int32_t entryId) { return EntryElement(*layout, entryId); };
                const bool needsLabel = type <= 2 || type == 8 || type == 9 || type == 11 || type == 12 || type == 25;
                const bool needsSlot = type == 10 || type == 15 || type == 16 || type == 24;
                const bool needsTwoSlots = type == 10 || type == 15;
                SCOPED_TRACE(where + " action " + std::to_string(type));
                EXPECT_EQ(action->GetLabel() != 0, needsLabel);
                EXPECT_TRUE(action->GetLabel() == 0 || dynamic_cast<evUserTextfield*>(placed(action->GetLabel())));
                EXPECT_TRUE(!needsSlot || dynamic_cast<evUserPicture*>(placed(action->GetFirstSlot())));
                EXPECT_TRUE(!needsTwoSlots || dynamic_cast<evUserPicture*>(placed(action->GetSecondSlot())));
            }
        }
    }
}

// Every page layout a user can choose for a page with sub-pages lets the player reach those sub-pages: one album
// holds each offered layout as a chapter with The bride (same layout, with a page of its own below) and Rings.
TEST_F(DataKitTest, EveryOfferedLayoutReachesItsSubPages)
{
    const auto page = [](const std::string& title, int32_t layoutId) {
        auto category = std::make_unique<evCategory>(title, "", false, 3);
        category->SetPageLayoutID(layoutId);
        return category;
    };
    for (const std::string& path : DesignFiles()) {
        SCOPED_TRACE(path);
        std::unique_ptr<evLayout> design = ReadBody<evLayout>(path);
        std::unique_ptr<evCategory> first;
        int offered = 0;
        for (evPageLayout* layout : Items<evPageLayout>(design->GetPageLayouts())) {
            if (layout->GetKind() < pkTextOnly || layout->GetKind() > pkAnimation)
                continue;
            ++offered;
            auto chapter = page(layout->GetEnglishTitle(), layout->GetID());
            auto bride = page("The bride", layout->GetID());
            bride->AddChild(page("Her dress", layout->GetID()));
            chapter->AddChild(std::move(bride));
            chapter->AddChild(page("Rings", layout->GetID()));
            if (first)
                first->AppendSibling(std::move(chapter)); // the chapters follow each other (Next)
            else
                first = std::move(chapter);
        }
        ASSERT_GE(offered, 10);
        evProject project("Anna", "Ben", 38000.0, "design.evl", std::move(first));
        project.SetDesign(std::move(design));
        for (const PreflightFinding& finding : PreflightCheck(project).Run())
            EXPECT_NE(finding.GetSeverity(), PreflightSeverity::CannotBeSeen) << finding.ToLine();
    }
}

// The disc labels are round: 118 mm across in the 120 mm square with a marked hole of 41 mm, white paper outside
// the disc and in the hole, and a photo and a text for the user.
TEST_F(DataKitTest, DiscLabelsAreRoundWithAMarkedHole)
{
    // White within what JPEG leaves of it next to a coloured edge.
    const auto paper = [](int32_t colour) {
        return (colour & 0xFF) >= 232 && ((colour >> 8) & 0xFF) >= 232 && ((colour >> 16) & 0xFF) >= 232;
    };
    for (const std::string& path : DesignFiles()) {
        SCOPED_TRACE(path);
        std::unique_ptr<evLayout> design = ReadBody<evLayout>(path);
        const evPageLayout* layout = design->FindPageLayoutByKey("cd");
        ASSERT_NE(layout, nullptr);
        EXPECT_NE(FreePictureSlot(*layout), nullptr);
        EXPECT_NE(FreeTextSlot(*layout), nullptr);
        auto label = std::make_unique<evCategory>("cd label", "", true, 3);
        label->SetPageLayoutID(layout->GetID());
        evProject project("Anna", "Ben", 38000.0, "design.evl", std::make_unique<evCategory>("W", "", false, 3));
        project.SetDesign(std::move(design));
        project.SetDiscLabelCategory(std::move(label));
        const Bitmap rendered = RenderDiscLabel(project);
        ASSERT_EQ(rendered.Width(), 768);
        // Whether the pixel at the distance (millimetres) from the centre in the direction (degrees) is paper.
        const auto paperAt = [&](double mm, double degrees) {
            const double pixels = mm * 768 / 120, radians = degrees * M_PI / 180;
            return paper(rendered.Pixel(static_cast<int>(std::lround(384 + pixels * std::cos(radians))),
                                        static_cast<int>(std::lround(384 + pixels * std::sin(radians)))));
        };
        for (double degrees = 0; degrees < 360; degrees += 15) {
            SCOPED_TRACE(degrees);
            EXPECT_TRUE(paperAt(59.6, degrees)) << "outside the disc";
            EXPECT_FALSE(paperAt(57.5, degrees)) << "on the disc's edge";
            EXPECT_TRUE(paperAt(18.5, degrees + 7)) << "in the hole";
            bool marked = false; // a line drawn somewhere between 20 and 21 mm: the hole's edge
            for (double mm = 20; mm <= 21; mm += 0.05)
                marked = marked || !paperAt(mm, degrees);
            EXPECT_TRUE(marked) << "the hole's edge";
        }
        EXPECT_TRUE(paper(rendered.Pixel(2, 2)));
        EXPECT_TRUE(paper(rendered.Pixel(765, 765)));
    }
}

TEST(DataKitBrokenSourceTest, AMistakeStopsTheBuildAndKeepsTheFilesBefore)
{
    QTemporaryDir folder;
    const fs::path json = fs::path(folder.path().toStdString()) / "src" / "designs" / "garden-party.json";
    fs::create_directories(json.parent_path());
    fs::copy_file(SourceFolder() + "/designs/garden-party.json", json);
    DataKitOptions options;
    options.sourceFolder = json.parent_path().parent_path().string();
    options.outputFolder = folder.path().toStdString() + "/out";
    DataKit kit(options);
    const std::vector<std::string> written = kit.BuildDesigns();
    ASSERT_EQ(written.size(), 1u);
    const std::string good = Read(written[0]);

    std::string text = Read(json);
    const std::string from = R"("type": "slide show")";
    text.replace(text.find(from), from.size(), R"("type": "slideshow")");
    std::ofstream(json) << text;
    const std::string message = ErrorOf([&] { kit.BuildDesigns(); });
    EXPECT_NE(message.find("garden-party.json: pageLayouts[17] \"slideShow\" / actions[0] \"show\" / type: "
                           "unknown action type"),
              std::string::npos)
        << message;
    EXPECT_TRUE(Read(written[0]) == good);
    EXPECT_TRUE(TemporariesIn(fs::path(written[0]).parent_path()).empty());
}
