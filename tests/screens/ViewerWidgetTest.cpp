#include "screens/ScreenTestSupport.h"

#include "platform/Errors.h"
#include "screens/ViewerWidget.h"

#include <QTest>

TEST(ViewerWidgetTest, PointerReportsReachTheViewerAndItsFailuresStayThere)
{
    QWidget panel;
    panel.resize(1024, 768);
    ViewerWidget viewer(&panel, {0, 0, 1024, 768});
    panel.show();
    int moves = 0;
    int clicks = 0;
    viewer.SetPointerHandlers(
        [&](int32_t x, int32_t y) {
            ++moves;
            EXPECT_EQ(x, 100);
            EXPECT_EQ(y, 200);
            throw EReadError("a damaged page");
        },
        [&] {
            ++clicks;
            throw EImageError("a damaged picture");
        });
    QTest::mouseMove(&viewer, QPoint(100, 200));
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(100, 200));
    QTest::mouseClick(&viewer, Qt::RightButton, {}, QPoint(100, 200));
    EXPECT_GE(moves, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(viewer.Width(), 1024);
    EXPECT_EQ(viewer.Height(), 768);

    viewer.SetCursor(ViewerCursor::HandPoint);
    EXPECT_EQ(viewer.cursor().shape(), Qt::PointingHandCursor);
    viewer.SetCursor(ViewerCursor::Default);
    EXPECT_EQ(viewer.cursor().shape(), Qt::ArrowCursor);
}
