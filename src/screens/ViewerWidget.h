#pragma once
// The preview's picture control: a 1024 x 768 widget that is the page viewer's control. For the viewer it shows
// its picture unscaled from the top-left corner and hands the pointer's moves and clicks on (in its own pixels,
// which are the page's). A single picture can instead be shown in the middle, reduced to fit when it is larger.
// A page can also be viewed in a smaller widget: the viewer then works on a page of its own size, shown in the
// middle reduced to fit, and the pointer's places are turned into the page's pixels.

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
    // The size of the page the viewer works on; an empty size means the widget's own size.
    void SetPageSize(QSize size) { m_pageSize = size; }
    // A point of the widget in pixels of the picture as it is shown.
    TPoint ToPicture(QPoint point) const;

    Bitmap& Picture() override { return m_picture; }
    void Changed() override { update(); }
    int Width() const override { return m_pageSize.isEmpty() ? width() : m_pageSize.width(); }
    int Height() const override { return m_pageSize.isEmpty() ? height() : m_pageSize.height(); }
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
    QSize m_pageSize;
    std::function<void(int32_t, int32_t)> m_onMove;
    std::function<void()> m_onClick;
};
