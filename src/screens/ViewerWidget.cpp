#include "screens/ViewerWidget.h"

#include "screens/PanelView.h"

#include <QCursor>

ViewerWidget::ViewerWidget(QWidget* parent, const Geometry::ControlRect& rect) : ViewerWidgetBase(parent, "Preview")
{
    setGeometry(rect.x, rect.y, rect.w, rect.h);
}

void ViewerWidget::SetPicture(Bitmap picture, Placement placement)
{
    m_picture = std::move(picture);
    m_placement = placement;
    update();
}

QRect ViewerWidget::PictureArea() const
{
    const QSize size(m_picture.Width(), m_picture.Height());
    if (m_placement == Placement::TopLeft || size.isEmpty())
        return QRect(QPoint(0, 0), size);
    const QSize shown =
        size.width() <= width() && size.height() <= height() ? size : size.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void ViewerWidget::ClearPicture() { SetPicture(Bitmap()); }

TPoint ViewerWidget::ToPicture(QPoint point) const
{
    const QRect area = PictureArea();
    if (area.isEmpty() || area.size() == QSize(m_picture.Width(), m_picture.Height()))
        return TPoint{point.x() - area.x(), point.y() - area.y()};
    const int64_t x = static_cast<int64_t>(point.x() - area.x()) * m_picture.Width() / area.width();
    const int64_t y = static_cast<int64_t>(point.y() - area.y()) * m_picture.Height() / area.height();
    return TPoint{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

// The panel may be shown enlarged by a view, where the widget's own mapping from the screen does not hold.
TPoint ViewerWidget::PointerPosition() const { return ToPicture(PanelView::MapFromGlobal(this, QCursor::pos())); }
