// The player's course through a presentation: the studio page for its time, then page 0; navigation, the
// sound switch and the end; presentations without pages; damaged numbers anywhere in the file.
#include "presentation/PresentationPlayer.h"
#include "FakeViewerControl.h"
#include "ViewerPageParts.h"
#include "model/evFade.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Color.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "presentation/PresentationFile.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr TColor kBackground = RGBColor(10, 20, 30);

// A page of 30 x 20 in one colour (the control is larger), with a sound look at (0, 15) and the given targets
// in 5-pixel columns along the top.
std::unique_ptr<evProjectorPage> MakePage(TColor colour, std::initializer_list<int32_t> targets, int32_t type = 0)
{
    auto page = std::make_unique<evProjectorPage>();
    page->SetPageType(type);
    page->SetSlideInterval(100);
    AddPicture(*page, 0, 0, 30, 20, colour, 0);
    AddPicture(*page, 0, 15, 4, 4, kGreen, 4);
    AddPicture(*page, 0, 15, 4, 4, kBlue, 5);
    int32_t left = 0;
    for (int32_t target : targets) {
        AddNavi(*page, TRect{left, 0, left + 4, 4}, target);
        left += 5;
    }
    return page;
}

class PlayerTest : public ::testing::Test {
protected:
    PlayerTest()
    {
        presentation.background = kBackground;
        // Page 0: to page 1, the end, page 5 (not there), the sound, a negative target of no meaning.
        presentation.pages.push_back(MakePage(kRed, {1, -1, 5, -2, -9}));
        presentation.pages.push_back(MakePage(kYellow, {0}, 1));
        presentation.studio = MakePage(kBlue, {1});
        presentation.studioDuration = 3;
    }
    ~PlayerTest() override { evFade::Allow(); }

    std::unique_ptr<PresentationPlayer> MakePlayer(bool soundOn = true)
    {
        PresentationPlayer::Host host;
        host.setSoundOn = [this](bool on) { soundSwitches.push_back(on); };
        host.quit = [this] { ++quits; };
        return std::make_unique<PresentationPlayer>(presentation, control, host, soundOn);
    }

    void ClickAt(PresentationPlayer& player, int32_t x, int32_t y)
    {
        control.pointer = TPoint{x, y};
        player.Click();
    }

    int32_t At(int x, int y) const { return control.picture.Pixel(x, y); }

    FakeClock clock{1000};
    FakeViewerControl control{40, 30};
    PresentationFile presentation;
    std::vector<bool> soundSwitches;
    int quits = 0;
};

} // namespace

TEST_F(PlayerTest, StudioPageFirstForItsDurationThenPageZero)
{
    auto player = MakePlayer();
    player->Begin();
    EXPECT_TRUE(player->IsShowingStudio());
    EXPECT_EQ(player->CurrentPageIndex(), -1);
    EXPECT_TRUE(Near(At(10, 10), kBlue));
    EXPECT_EQ(At(35, 25), kBackground);
    ASSERT_NE(control.TimerOf(3000), nullptr);

    ASSERT_TRUE(control.Fire(3000));
    EXPECT_FALSE(player->IsShowingStudio());
    EXPECT_EQ(player->CurrentPageIndex(), 0);
    EXPECT_TRUE(Near(At(10, 10), kRed));
    EXPECT_FALSE(control.TimerOf(3000)->enabled);
    EXPECT_FALSE(presentation.studio->IsViewing());
}

TEST_F(PlayerTest, TargetsLeadToPagesTheSoundAndTheEnd)
{
    presentation.studio.reset();
    auto player = MakePlayer();
    player->Begin();
    EXPECT_TRUE(Near(At(1, 16), kGreen));

    ClickAt(*player, 12, 2); // page 5 does not exist
    ClickAt(*player, 22, 2); // no meaning
    EXPECT_EQ(player->CurrentPageIndex(), 0);

    ClickAt(*player, 17, 2); // the sound
    EXPECT_FALSE(player->IsSoundOn());
    EXPECT_EQ(soundSwitches, std::vector<bool>{false});
    EXPECT_TRUE(Near(At(1, 16), kBlue));

    // Page 1 is a slide show; its timer stops when the player leaves it.
    ClickAt(*player, 2, 2);
    EXPECT_EQ(player->CurrentPageIndex(), 1);
    EXPECT_TRUE(Near(At(10, 10), kYellow));
    EXPECT_TRUE(Near(At(1, 16), kBlue)); // the page shows the sound as it is
    ASSERT_NE(control.TimerOf(evProjectorPage::kSlideTimerMs), nullptr);
    ClickAt(*player, 2, 2);
    EXPECT_EQ(player->CurrentPageIndex(), 0);
    EXPECT_EQ(control.TimerOf(evProjectorPage::kSlideTimerMs), nullptr);
    EXPECT_FALSE(presentation.pages[1]->IsViewing());

    EXPECT_EQ(quits, 0);
    ClickAt(*player, 7, 2);
    EXPECT_EQ(quits, 1);
}

namespace {

// A presentation with every part a file can hold, small enough to damage at every place.
std::vector<uint8_t> RichPresentationBytes()
{
    PresentationFile file;
    file.background = kBackground;
    auto page = MakePage(kRed, {1, -1, -2, 99});
    page->SetPageType(1);
    page->SetSlideInterval(50);
    AddPicture(*page, 5, 5, 2, 2, kYellow, 3);
    AddPicture(*page, 6, 6, 2, 2, kGreen, 1);
    auto items = std::make_unique<evObjectCollection>();
    items->Add(Picture(20, 20, 2, 2, kBlue, 0));
    page->AddElement(std::make_unique<evProjectorSliderElement>(TRect{0, 25, 16, 29}, 2, 500, std::move(items), 1, 4, 4,
                                                                Solid(16, 4, kRed)));
    AddMouse(*page, TRect{5, 5, 9, 9}, 0, 4);
    AddMouse(*page, TRect{0, 15, 4, 19}, 1, 1, 2);
    AddMouse(*page, TRect{0, 25, 16, 29}, 2, 0);
    file.pages.push_back(std::move(page));
    file.pages.push_back(MakePage(kGreen, {0}));
    file.studio = MakePage(kBlue, {1});
    file.studioDuration = 1;
    MemoryStream bytes;
    file.Write(bytes);
    return bytes.Data();
}

// Shows the presentation as the player does, with the pointer over every action and every timer firing.
void ShowEverything(PresentationFile& presentation, FakeViewerControl& control, FakeClock& clock)
{
    PresentationPlayer::Host host;
    PresentationPlayer player(presentation, control, host, true);
    player.Begin();
    for (int round = 0; round < 3 && player.CurrentPage(); ++round) {
        evProjectorPage& page = *player.CurrentPage();
        std::vector<TRect> areas;
        for (int32_t i = 0; i < page.GetMouseActions().Count(); ++i)
            if (auto* action = page.GetMouseActions().GetItemAs<evProjectorMouseAction>(i))
                areas.push_back(action->GetRect());
        for (int32_t i = 0; i < page.GetNaviActions().Count(); ++i)
            if (auto* action = page.GetNaviActions().GetItemAs<evProjectorNaviAction>(i))
                areas.push_back(action->GetRect());
        // The timers fire with the pointer resting on each area in turn (film strips test it themselves).
        for (const TRect& area : areas) {
            control.pointer = TPoint{area.Left, area.Top};
            player.MouseMove(area.Left, area.Top);
            clock.Advance(700);
            const std::vector<FakeViewerTimer*> timers = control.timers;
            for (FakeViewerTimer* timer : timers)
                if (std::find(control.timers.begin(), control.timers.end(), timer) != control.timers.end())
                    control.Fire(timer->interval);
            player.Click();
            if (player.CurrentPage() != &page)
                break;
        }
        if (player.CurrentPage() == &page)
            break;
    }
}

} // namespace

TEST_F(PlayerTest, KeysTurnToTheNextPageBackAndToTheFirst)
{
    presentation.pages.push_back(MakePage(kGreen, {}));
    auto player = MakePlayer();
    player->Begin();
    // From the studio page Back stays, Next and First go to page 0.
    player->Back();
    EXPECT_TRUE(player->IsShowingStudio());
    player->Next();
    EXPECT_EQ(player->CurrentPageIndex(), 0);
    struct Step {
        void (PresentationPlayer::*key)();
        int32_t page;
        TColor colour;
    };
    const Step steps[] = {
        {&PresentationPlayer::Back, 0, kRed},    {&PresentationPlayer::Next, 1, kYellow},
        {&PresentationPlayer::Next, 2, kGreen},  {&PresentationPlayer::Next, 2, kGreen},
        {&PresentationPlayer::Back, 1, kYellow}, {&PresentationPlayer::First, 0, kRed},
    };
    for (const Step& step : steps) {
        (player.get()->*step.key)();
        EXPECT_EQ(player->CurrentPageIndex(), step.page);
        EXPECT_TRUE(Near(At(10, 10), step.colour)) << step.page;
    }
    EXPECT_EQ(quits, 0);
    player.reset();
    // A presentation without pages shows its background whatever the keys say.
    presentation.pages.clear();
    presentation.studio.reset();
    auto empty = MakePlayer();
    empty->Begin();
    for (auto key : {&PresentationPlayer::Next, &PresentationPlayer::Back, &PresentationPlayer::First}) {
        (empty.get()->*key)();
        EXPECT_EQ(empty->CurrentPageIndex(), -1);
        EXPECT_EQ(At(10, 10), kBackground);
    }
}

TEST_F(PlayerTest, DamagedNumbersAnywhereNeverBreakTheShow)
{
    const std::vector<uint8_t> good = RichPresentationBytes();
    {
        MemoryStream s(good);
        auto presentation = PresentationFile::Read(s);
        ShowEverything(*presentation, control, clock);
    }
    // The pictures' own bytes are left alone (damaged pictures have tests of their own); every number around
    // them is replaced in turn by a few hostile values.
    std::vector<bool> inPicture(good.size(), false);
    for (size_t i = 0; i + 1 < good.size(); ++i) {
        if (good[i] != 0xFF || good[i + 1] != 0xD8)
            continue;
        size_t end = i + 2;
        while (end + 1 < good.size() && !(good[end] == 0xFF && good[end + 1] == 0xD9))
            ++end;
        std::fill(inPicture.begin() + static_cast<long>(i), inPicture.begin() + static_cast<long>(end + 2), true);
        i = end;
    }
    int shown = 0;
    for (size_t at = 0; at + 4 <= good.size(); ++at) {
        if (inPicture[at] && inPicture[at + 3])
            continue;
        for (int32_t value : {-1, 0, 0x7FFFFFFF, INT32_MIN, 3}) {
            std::vector<uint8_t> bytes = good;
            std::memcpy(bytes.data() + at, &value, 4);
            MemoryStream s(bytes);
            std::unique_ptr<PresentationFile> presentation;
            try {
                presentation = PresentationFile::Read(s);
            } catch (const EVelloraError&) {
                continue;
            }
            ShowEverything(*presentation, control, clock);
            ++shown;
        }
    }
    EXPECT_GT(shown, 100);
}
