// The enlarged panel of the screens: a click on the screen reaches the control shown under it, and pictures that
// meet on the panel still meet on the screen, with no hairline of the background between them.
#include "screens/PanelView.h"
#include "screens/TImage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QSize kPanel(1024, 768);

struct Scaled {
    explicit Scaled(QSize screen)
    {
        host.resize(screen);
        panel = new QWidget;
        panel->resize(kPanel);
        view = new PanelView(&host, panel);
        view->SetColour(Qt::black);
        QPalette black = panel->palette();
        black.setColor(QPalette::Window, Qt::black);
        panel->setPalette(black);
        panel->setAutoFillBackground(true);
    }
    void Show(const PanelPlacement& placement)
    {
        view->SetPlacement(placement);
        view->ShowPanel(true);
        host.show();
    }

    QWidget host;
    QWidget* panel;
    PanelView* view;
};

// Straight to the view, as the window system would hand them on (the test screen is smaller than these panels).
void Send(QWidget* viewport, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), QPointF(viewport->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

void Click(QWidget* viewport, QPoint at)
{
    Send(viewport, QEvent::MouseMove, at);
    Send(viewport, QEvent::MouseButtonPress, at, Qt::LeftButton);
    Send(viewport, QEvent::MouseButtonRelease, at, Qt::LeftButton);
}

TEST(PanelViewTest, AClickOnTheEnlargedPanelReachesTheControlShownUnderIt)
{
    // A whole scale and one that is not; where a screen point lies on the panel is PanelScaleTest's.
    for (const QSize screen : {QSize(2048, 1536), QSize(3840, 2160)}) {
        SCOPED_TRACE(screen.width());
        Scaled scaled(screen);
        auto* button = new TImage(scaled.panel, {300, 400, 50, 30}, TImage::Role::Button);
        int clicks = 0;
        QPoint lastMove;
        QObject::connect(button, &TImage::clicked, [&] { ++clicks; });
        QObject::connect(button, &TImage::mouseMoved, [&](int x, int y) { lastMove = QPoint(x, y); });
        const PanelPlacement placement = PlacePanel(screen, kPanel, PanelFit::GrowOnly);
        scaled.Show(placement);
        // The viewport's pixels start at the placement's area; the panel point (x, y) lies at (x, y) * scale.
        const auto at = [&](double x, double y) { return QPoint(int(x * placement.scale), int(y * placement.scale)); };
        QWidget* viewport = scaled.view->viewport();
        Send(viewport, QEvent::MouseMove, at(310.5, 405.5));
        EXPECT_EQ(lastMove, QPoint(10, 5));
        Click(viewport, at(349.5, 429.5));
        EXPECT_EQ(clicks, 1);
        Click(viewport, at(350.5, 415));
        EXPECT_EQ(clicks, 1);
    }
}

TEST(PanelViewTest, PicturesThatMeetOnThePanelMeetOnTheScreen)
{
    // Three pictures stacked at places that fall between screen pixels at 2.8125 and 1.5625.
    for (const QSize screen : {QSize(3840, 2160), QSize(1920, 1200)}) {
        SCOPED_TRACE(screen.width());
        Scaled scaled(screen);
        QImage red(200, 500, QImage::Format_RGB32);
        red.fill(Qt::red);
        for (const Geometry::ControlRect& rect :
             {Geometry::ControlRect{101, 170, 133, 334}, Geometry::ControlRect{101, 504, 133, 76},
              Geometry::ControlRect{234, 170, 97, 410}})
            (new TImage(scaled.panel, rect))->SetPicture(red);
        const PanelPlacement placement = PlacePanel(screen, kPanel, PanelFit::GrowOnly);
        scaled.Show(placement);
        const QImage shown = scaled.view->viewport()->grab().toImage();
        const QRect inside = QRectF(101 * placement.scale + 2, 170 * placement.scale + 2, 230 * placement.scale - 4,
                                    410 * placement.scale - 4)
                                 .toAlignedRect();
        int notRed = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                notRed += QColor(shown.pixel(x, y)).red() < 250;
        EXPECT_EQ(notRed, 0);
        EXPECT_EQ(QColor(shown.pixel(int(90 * placement.scale), int(300 * placement.scale))), QColor(Qt::black));
    }
}

} // namespace
