#pragma once
// A small design and album made in the tests of action elements, disc production and `vellora-cli finish`.
//
// The design (320 x 240 pages) has one page layout per purpose, each with fixed label fields placed by entries:
//   10 "W", 17 "M", 18 "E", 19 "cd"  navigation: Exit, Back, Sound, Next sibling, chapter menu
//   12  slide show through one slot       13  film strip (cell slot and item slot)
//   14  enlarge on hover                  15  extra picture                16  title, names, date, user label
// Identifiers: page layouts 10..19; per page layout p, fields p*100+1.., their entries p*100+51.., actions
// p*100+81.. (so every identifier of the design is different).

#include "model/AlbumTestSupport.h"
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPhotograph.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "presentation/StudioBranding.h"

#include <memory>
#include <string>

namespace finishtest {

constexpr int kPageWidth = 320;
constexpr int kPageHeight = 240;
constexpr TColor kBackground = 0x00204060;
constexpr TColor kTextColour = 0x0000C0FF;

// Navigation page layouts: the places of their labels and actions.
constexpr TRect kExitRect{10, 206, 70, 230};
constexpr TRect kBackRect{80, 206, 140, 230};
constexpr TRect kSoundRect{150, 206, 240, 230};
constexpr TRect kNextRect{250, 206, 310, 230};
constexpr TRect kMenuRect{10, 10, 200, 200};

inline int32_t FieldId(int32_t layout, int n) { return layout * 100 + n; }
inline int32_t EntryId(int32_t layout, int n) { return layout * 100 + 50 + n; }
inline int32_t ActionId(int32_t layout, int n) { return layout * 100 + 80 + n; }

inline evUserTextfield* AddLabel(evPageLayout& layout, int n, const TRect& rect, const std::string& text = "",
                                 int32_t fixed = 1)
{
    const int32_t id = layout.GetID();
    auto field = WithID(std::make_unique<evUserTextfield>("label" + std::to_string(n), text, "DejaVu Sans", 0, 10,
                                                          false, false, false, 0, rect.Width(), rect.Height()),
                        FieldId(id, n));
    field->SetFixed(fixed);
    return PlaceOwnElement(layout, std::move(field), EntryId(id, n), rect.Left, rect.Top);
}

inline evUserPicture* AddSlot(evPageLayout& layout, int n, const TRect& rect, int32_t fixed = 1)
{
    auto slot = WithID(std::make_unique<evUserPicture>("slot" + std::to_string(n), rect.Width(), rect.Height()),
                       FieldId(layout.GetID(), n));
    slot->SetFixed(fixed);
    return PlaceOwnElement(layout, std::move(slot), EntryId(layout.GetID(), n), rect.Left, rect.Top);
}

struct ActionSlots {
    int label = 0; // numbers of the fields (n), 0 = none
    int first = 0;
    int second = 0;
    int32_t valueA = 0;
    int32_t valueB = 0;
};

inline evActionElement* AddAction(evPageLayout& layout, int n, int32_t type, const TRect& rect, ActionSlots parts = {})
{
    const int32_t id = layout.GetID();
    auto action = std::make_unique<evActionElement>("action" + std::to_string(n), type, rect.Left, rect.Top,
                                                    rect.Width(), rect.Height());
    action->SetLabel(parts.label ? EntryId(id, parts.label) : 0);
    action->SetFirstSlot(parts.first ? EntryId(id, parts.first) : 0);
    action->SetSecondSlot(parts.second ? EntryId(id, parts.second) : 0);
    action->SetValueA(parts.valueA);
    action->SetValueB(parts.valueB);
    auto withId = WithID(std::move(action), ActionId(id, n));
    evActionElement* raw = withId.get();
    layout.AddActionElement(std::move(withId));
    return raw;
}

inline void AddNavigationLayout(evLayout& design, int32_t id, const std::string& key, const std::string& menuText)
{
    evPageLayout& layout = *AddPageLayout(design, id, 2, key);
    AddLabel(layout, 1, kExitRect);
    AddLabel(layout, 2, kBackRect);
    AddLabel(layout, 3, kSoundRect);
    AddLabel(layout, 4, kMenuRect, menuText);
    AddAction(layout, 1, atExit, kExitRect, {.label = 1});
    AddAction(layout, 2, atBack, kBackRect, {.label = 2});
    AddAction(layout, 3, atSound, kSoundRect, {.label = 3});
    AddAction(layout, 4, atNextSibling, kNextRect);
    AddAction(layout, 5, atChapterMenu, kMenuRect, {.label = 4});
}

// The picture page layouts of the header comment.
inline void AddPictureLayouts(evLayout& design)
{
    evPageLayout& slides = *AddPageLayout(design, 12, 4);
    AddSlot(slides, 1, Rect(20, 20, 100, 80));
    AddAction(slides, 1, atSlideShow, Rect(20, 20, 100, 80), {.first = 1, .valueA = 2500});

    evPageLayout& film = *AddPageLayout(design, 13, 4);
    AddSlot(film, 1, Rect(0, 0, 30, 20));
    AddSlot(film, 2, Rect(100, 100, 200, 180));
    AddAction(film, 1, atFilmStrip, Rect(10, 200, 210, 220), {.first = 1, .second = 2, .valueA = 40, .valueB = 0});

    evPageLayout& enlarge = *AddPageLayout(design, 14, 4);
    AddSlot(enlarge, 1, Rect(10, 10, 50, 40), 0);
    AddSlot(enlarge, 2, Rect(100, 50, 260, 170));
    AddAction(enlarge, 1, atEnlargeOnHover, Rect(10, 10, 50, 40), {.first = 1, .second = 2});

    evPageLayout& extra = *AddPageLayout(design, 15, 4);
    AddSlot(extra, 1, Rect(30, 30, 80, 80));
    AddAction(extra, 1, atExtraPicture, Rect(30, 30, 80, 80), {.first = 1});

    evPageLayout& labels = *AddPageLayout(design, 16, 0);
    AddLabel(labels, 1, Rect(10, 10, 310, 40), "own title");
    AddLabel(labels, 2, Rect(10, 50, 310, 80), "Names");
    AddLabel(labels, 3, Rect(10, 90, 310, 120), "Date");
    AddLabel(labels, 4, Rect(10, 130, 310, 160), "Own", 0);
    AddAction(labels, 1, atPageTitle, Rect(10, 10, 310, 40), {.label = 1});
    AddAction(labels, 2, atProjectTitle, Rect(10, 50, 310, 80), {.label = 2});
    AddAction(labels, 3, atProjectDate, Rect(10, 90, 310, 120), {.label = 3});
    AddAction(labels, 4, atUserLabel, Rect(10, 130, 310, 160), {.label = 4});
}

inline std::unique_ptr<evLayout> MakeDesign(const std::string& menuText = "space2")
{
    auto design =
        WithID(std::make_unique<evLayout>("Finish Test", "a design made by the tests", kPageWidth, kPageHeight), 1);
    design->SetTextColour(kTextColour);
    design->SetBackgroundColour(kBackground);
    AddNavigationLayout(*design, 10, "W", menuText);
    AddNavigationLayout(*design, 17, "M", menuText);
    AddNavigationLayout(*design, 18, "E", menuText);
    AddNavigationLayout(*design, 19, "cd", menuText);
    AddPictureLayouts(*design);
    return design;
}

inline std::unique_ptr<evCategory> Page(const std::string& title, int32_t layoutId, int32_t kind = 3,
                                        bool optional = false)
{
    auto category = std::make_unique<evCategory>(title, "", optional, kind);
    category->SetPageLayoutID(layoutId);
    return category;
}

// The album of the navigation tests, in page order:
//   0 Welcome            (top, "W")
//   1   Chapter one
//   2     Section
//   -   Skipped          (optional, not selected)
//   3   Chapter three
//   4 Menu               (top, "M")
//   5 The end            (top, "E", kind 2 unless endKind says otherwise)
inline std::unique_ptr<evProject> MakeAlbum(const std::string& menuText = "space2", int32_t endKind = 2)
{
    auto welcome = Page("Welcome", 10);
    auto one = Page("Chapter one", 10);
    one->AddChild(Page("Section", 10));
    auto skipped = Page("Skipped", 10, 3, true);
    skipped->SetSelected(false);
    welcome->AddChild(std::move(one));
    welcome->AddChild(std::move(skipped));
    welcome->AddChild(Page("Chapter three", 10));
    welcome->AppendSibling(Page("Menu", 17));
    welcome->AppendSibling(Page("The end", 18, endKind));
    auto project = std::make_unique<evProject>("Anna", "Ben", 38000.0, "Finish Test.evl", std::move(welcome));
    project->SetDesign(MakeDesign(menuText));
    return project;
}

// The studio page layout 30 "STUDIO" as the studio screen edits it: seven free text fields (1 to 7, "text n")
// marked by the studio actions in the order intro, studio, address, phone, e-mail, web address, information;
// a fixed logo slot (8) drawn by action 24; two free sample slots (9, 10).
constexpr int32_t kStudioLayout = 30;

inline std::unique_ptr<evLayout> MakeStudioDesign()
{
    auto design = WithID(std::make_unique<evLayout>("Studio", "", kPageWidth, kPageHeight), 1);
    design->SetBackgroundColour(kBackground);
    evPageLayout& layout = *AddPageLayout(*design, kStudioLayout, 4, "STUDIO");
    const int32_t marks[] = {atStudioIntro, atStudioName, atStudioAddress,    atStudioPhone,
                             atStudioEmail, atStudioWeb,  atStudioInformation};
    for (int n = 1; n <= 7; ++n) {
        const TRect rect = Rect(10, 28 * n, 180, 28 * n + 26);
        AddLabel(layout, n, rect, "text " + std::to_string(n), 0);
        AddAction(layout, n, marks[n - 1], rect, {.label = n});
    }
    AddSlot(layout, 8, Rect(200, 10, 300, 60));
    AddAction(layout, 8, atExtraPicture, Rect(200, 10, 300, 60), {.first = 8});
    AddSlot(layout, 9, Rect(200, 80, 240, 140), 0);
    AddSlot(layout, 10, Rect(250, 80, 290, 140), 0);
    return design;
}

// The studio files: the design above and a record whose logo (slot 8, drawn by action 8) is a picture.
inline void WriteStudioFiles(const std::string& dataFolder)
{
    MemoryStream designFile;
    MakeStudioDesign()->SaveToStream(designFile);
    designFile.SaveToFile(dataFolder + "/" + StudioBranding::kDesignFile);
    evPhotograph record(nullptr);
    record.SetLogoSlot(ActionId(kStudioLayout, 8));
    record.AddUserElement(ActionId(kStudioLayout, 8), SolidPicture(100, 50, 0x00FF0000));
    MemoryStream recordFile;
    record.SaveToStream(recordFile);
    recordFile.SaveToFile(dataFolder + "/" + StudioBranding::kRecordFile);
}

} // namespace finishtest
