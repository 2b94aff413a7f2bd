#pragma once
// The preview's picture control: a 1024 x 768 widget that is the page viewer's control. For the viewer it shows
// its picture unscaled from the top-left corner and hands the pointer's moves and clicks on (in its own pixels,
// which are the page's). A single picture can instead be shown in the middle, reduced to fit when it is larger.

#include "platform/Bitmap.h"
#include "presentation/ViewerControl.h"
#include "screens/ScreenGeometry.h"

#include <QWidget>

#include <functional>

class ViewerWidget : public QWidget, public ViewerControl {
public:
    ViewerWidget(QWidget* parent, const Geometry::ControlRect& rect);

    // Where the pointer's moves and clicks go; empty handlers ignore them.
    void SetPointerHandlers(std::function<void(int32_t, int32_t)> onMove, std::function<void()> onClick);
    enum class Placement { TopLeft, Centred };
    void SetPicture(Bitmap picture, Placement placement = Placement::TopLeft);
    // Where the picture is drawn, in the widget's pixels.
    QRect PictureArea() const;
    void ClearPicture();

    Bitmap& Picture() override { return m_picture; }
    void Changed() override { update(); }
    int Width() const override { return width(); }
    int Height() const override { return height(); }
    void SetCursor(ViewerCursor cursor) override;
    TPoint PointerPosition() const override;
    std::unique_ptr<ViewerTimer> CreateTimer(int intervalMs, std::function<void()> onTick) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The handlers run from the event loop, where no failure may arrive.
    void Guarded(const std::function<void()>& step);

    Bitmap m_picture;
    Placement m_placement = Placement::TopLeft;
    std::function<void(int32_t, int32_t)> m_onMove;
    std::function<void()> m_onClick;
};
