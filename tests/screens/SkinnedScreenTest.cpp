#include "screens/ScreenTestSupport.h"

#include "screens/SkinnedScreen.h"
#include "screens/TImage.h"
#include "screens/TLabel.h"

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
    }
    TImage* background;
    TImage* button;
    TImage* missing;
};

} // namespace

TEST_F(SkinnedScreenTest, PicturesAreHeldOnlyDuringARun)
{
    ThreePictureScreen screen;
    EXPECT_FALSE(screen.background->HasPicture());
    screen.BeginRun();
    EXPECT_EQ(screen.background->Picture().width(), 2);
    EXPECT_EQ(screen.button->Picture().width(), 93);
    EXPECT_FALSE(screen.missing->HasPicture());
    EXPECT_FALSE(screen.button->isVisibleTo(screen.Panel()));
    EXPECT_EQ(screen.button->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(screen.background->testAttribute(Qt::WA_TransparentForMouseEvents));
    screen.EndRun();
    EXPECT_FALSE(screen.background->HasPicture());
    EXPECT_FALSE(screen.button->HasPicture());
}

TEST_F(SkinnedScreenTest, ThePanelStaysCentred)
{
    ThreePictureScreen screen;
    EXPECT_EQ(screen.Panel()->size(), QSize(1024, 768));
    screen.resize(1280, 1024);
    QResizeEvent event(QSize(1280, 1024), QSize());
    QApplication::sendEvent(&screen, &event);
    EXPECT_EQ(screen.Panel()->pos(), QPoint(128, 128));
    screen.resize(1025, 769);
    QResizeEvent odd(QSize(1025, 769), QSize());
    QApplication::sendEvent(&screen, &odd);
    EXPECT_EQ(screen.Panel()->pos(), QPoint(0, 0));
    EXPECT_TRUE(screen.windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(SkinnedScreenTest, PopupsAreSmallAndOnTop)
{
    SkinnedScreen popup(SkinnedScreen::Kind::Popup);
    EXPECT_EQ(popup.size(), QSize(500, 250));
    EXPECT_EQ(popup.Panel()->geometry(), QRect(0, 0, 500, 250));
    EXPECT_TRUE(popup.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(popup.windowFlags() & Qt::FramelessWindowHint);
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

TEST_F(SkinnedScreenTest, ImagesReportClicksAndMovesInTheirOwnCoordinates)
{
    QWidget parent;
    parent.resize(300, 300);
    TImage image(&parent, {50, 60, 100, 100}, TImage::Role::Button);
    parent.show();
    QSignalSpy clicks(&image, &TImage::clicked);
    QSignalSpy moves(&image, &TImage::mouseMoved);
    QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 7));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(5, 7));
    EXPECT_EQ(clicks.count(), 1);
    // Pressed inside, released outside: no click.
    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(5, 7));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(150, 7));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseMove(&image, QPoint(12, 13));
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last().at(0).toInt(), 12);
    EXPECT_EQ(moves.last().at(1).toInt(), 13);
}

TEST(TLabelTest, CaptionsFollowTheAcceleratorConvention)
{
    EXPECT_EQ(TLabel::DisplayedText("Anna && Ben"), "Anna & Ben");
    EXPECT_EQ(TLabel::DisplayedText("&Open"), "Open");
    EXPECT_EQ(TLabel::DisplayedText("end&"), "end");
    EXPECT_EQ(TLabel::DisplayedText("a&&&b"), "a&b");
    EXPECT_EQ(TLabel::DisplayedText(""), "");

    QWidget parent;
    LabelStyle style;
    style.family = "Arial";
    style.pixelSize = 13;
    style.bold = true;
    style.colour = RGBColor(0, 128, 0);
    TLabel label(&parent, {384, 664, 257, 49}, style);
    label.SetCaption("Rose && Lily");
    EXPECT_EQ(label.Caption(), "Rose && Lily");
    EXPECT_EQ(label.text(), "Rose & Lily");
    EXPECT_EQ(label.font().pixelSize(), 13);
    EXPECT_TRUE(label.font().bold());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(label.geometry(), QRect(384, 664, 257, 49));
}
