#include "screens/ScreenTestSupport.h"

#include "screens/SkinService.h"
#include "screens/SkinnedScreen.h"
#include "screens/TImage.h"
#include "screens/TLabel.h"

#include <QGraphicsView>
#include <QSignalSpy>
#include <QTest>

using namespace screentest;

namespace {

class SkinnedScreenTest : public SkinTest {};

// A screen with three skin pictures, one of them at an index the bundle does not have.
class ThreePictureScreen : public SkinnedScreen {
public:
    ThreePictureScreen() : SkinnedScreen(Kind::FullScreen)
    {
        background = AddSkinImage({0, 0, 1024, 768}, 1);
        button = AddHoverImage({10, 10, 50, 20}, 92);
        missing = AddSkinImage({100, 10, 50, 20}, 5000);
        chosen = AddHoverImage({10, 40, 50, 20}, 93);
        hint = AddLabel({10, 700, 400, 20}, LabelStyle());
        WatchHints(hint, &remembered);
    }
    TImage* background;
    TImage* button;
    TImage* missing;
    TImage* chosen;
    TLabel* hint;
    int32_t remembered = -1;
};

} // namespace

TEST_F(SkinnedScreenTest, PicturesAreHeldOnlyDuringARun)
{
    ThreePictureScreen screen;
    EXPECT_FALSE(screen.background->HasPicture());
    screen.BeginRun();
    EXPECT_EQ(screen.button->Picture().width(), 93);
    EXPECT_FALSE(screen.missing->HasPicture());
    EXPECT_FALSE(screen.button->isVisibleTo(screen.Panel()));
    EXPECT_EQ(screen.button->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(screen.background->testAttribute(Qt::WA_TransparentForMouseEvents));
    screen.EndRun();
    EXPECT_FALSE(screen.background->HasPicture());
    EXPECT_FALSE(screen.button->HasPicture());
}

TEST_F(SkinnedScreenTest, WhenThePointerLeavesOrAnotherScreenComesUpTheLitButtonAndTheHintGo)
{
    ThreePictureScreen screen;
    screen.BeginRun();
    const auto light = [&screen] {
        HoverShow(15, 15, screen.button, screen.background);
        ShowHelpHint(screen.hint, screen.remembered, 7);
        // A state of the screen shown by the screen itself, not by the pointer.
        screen.chosen->show();
        ASSERT_TRUE(screen.button->isVisibleTo(screen.Panel()));
        ASSERT_EQ(screen.hint->Caption(), "Help 7");
    };
    const auto expectDark = [&screen] {
        EXPECT_FALSE(screen.button->isVisibleTo(screen.Panel()));
        EXPECT_TRUE(screen.chosen->isVisibleTo(screen.Panel()));
        EXPECT_EQ(screen.hint->Caption(), "");
        EXPECT_EQ(screen.remembered, -1);
    };
    light();
    screen.ClearPointerLooks();
    expectDark();

    // The pointer leaves the panel.
    light();
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    QWidget* viewport = screen.findChild<QGraphicsView*>()->viewport();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(viewport, &leave);
    expectDark();

    // Another screen comes up in front of it.
    light();
    SkinnedScreen popup(SkinnedScreen::Kind::Popup);
    popup.BeginRun();
    QTimer::singleShot(20, &popup, [&popup] { popup.Close(); });
    popup.ShowModal();
    expectDark();
    screen.EndRun();
}

TEST_F(SkinnedScreenTest, CloseEndsTheModalShowOrPreventsIt)
{
    SkinnedScreen screen(SkinnedScreen::Kind::Popup);
    screen.BeginRun();
    screen.Close();
    EXPECT_TRUE(screen.IsCloseRequested());
    screen.ShowModal(); // returns at once
    EXPECT_FALSE(screen.isVisible());

    screen.BeginRun();
    EXPECT_FALSE(screen.IsCloseRequested());
    QTimer::singleShot(20, &screen, [&screen] {
        EXPECT_TRUE(screen.isVisible());
        // Escape does not close a screen; only its own buttons do.
        QTest::keyClick(&screen, Qt::Key_Escape);
        EXPECT_TRUE(screen.isVisible());
        screen.Close();
    });
    screen.ShowModal();
    EXPECT_FALSE(screen.isVisible());
}
