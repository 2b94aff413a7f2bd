#pragma once
// The preview's picture control: a 1024 x 768 widget that is the page viewer's control. For the viewer it shows
// its picture unscaled from the top-left corner and hands the pointer's moves and clicks on (in its own pixels,
// which are the page's). A single picture can instead be shown in the middle, reduced to fit when it is larger.
// A page can also be viewed in a smaller widget: the viewer then works on a page of its own size, shown in the
// middle reduced to fit, and the pointer's places are turned into the page's pixels.

#include "platform/PanelScale.h"
#include "presentation/ViewerWidgetBase.h"
#include "screens/ScreenGeometry.h"

class ViewerWidget : public ViewerWidgetBase {
public:
    ViewerWidget(QWidget* parent, const Geometry::ControlRect& rect);

    enum class Placement { TopLeft, Centred };
    void SetPicture(Bitmap picture, Placement placement = Placement::TopLeft);
    QRect PictureArea() const override;
    void ClearPicture();
    // The size of the page the viewer works on; an empty size means the widget's own size.
    void SetPageSize(QSize size) { m_pageSize = size; }
    // A point of the widget in pixels of the picture as it is shown.
    TPoint ToPicture(QPoint point) const;

    void Changed() override { update(); }
    int Width() const override { return m_pageSize.isEmpty() ? width() : m_pageSize.width(); }
    int Height() const override { return m_pageSize.isEmpty() ? height() : m_pageSize.height(); }
    TPoint PointerPosition() const override;

protected:
    TPoint ToPage(QPointF position) const override { return ToPicture(PixelAt(position)); }

private:
    Placement m_placement = Placement::TopLeft;
    QSize m_pageSize;
};
