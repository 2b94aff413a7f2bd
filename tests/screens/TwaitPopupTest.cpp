#include "screens/ScreenTestSupport.h"

#include "model/ProgressBar.h"
#include "platform/Errors.h"
#include "screens/TwaitPopup.h"

#include <QProgressBar>

using namespace screentest;

namespace {

class TwaitPopupTest : public SkinTest {};

} // namespace

TEST_F(TwaitPopupTest, ChainedStepsShareOneWindow)
{
    TwaitPopup popup;
    EXPECT_FALSE(popup.isModal());

    bool first = popup.Run("Help 93", [&](ProgressBar& progress) {
        EXPECT_TRUE(popup.isVisible());
        EXPECT_EQ(popup.GetProgress(), 0);
        EXPECT_EQ(popup.labelInfo->Caption(), "Help 93");
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        progress.SetPosition(30);
        EXPECT_EQ(popup.GetProgress(), 30);
        return false;
    });
    EXPECT_FALSE(first);
    // The first step's false keeps the window up at 100 % until the next step begins.
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.GetProgress(), 100);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    bool last = popup.Run("Help 215", [&](ProgressBar& progress) {
        EXPECT_EQ(popup.GetProgress(), 0);
        EXPECT_EQ(popup.labelInfo->Caption(), "Help 215");
        progress.SetPosition(250); // kept within the bar
        EXPECT_EQ(popup.GetProgress(), 100);
        progress.SetPosition(40);
        return true;
    });
    EXPECT_TRUE(last);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(popup.GetProgress(), 100);
}

TEST_F(TwaitPopupTest, AFailingStepLeavesTheWindowToTheCaller)
{
    TwaitPopup popup;
    EXPECT_THROW(popup.Run("Help 94",
                           [](ProgressBar& progress) -> bool {
                               progress.SetPosition(50);
                               throw EReadError("damaged");
                           }),
                 EReadError);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.GetProgress(), 50);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    popup.hide();
}
