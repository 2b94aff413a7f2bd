#pragma once
// The widget a page viewer draws into, shared by the player and the screens' previews: it holds the viewer's
// picture, draws it into the area the subclass chooses (smoothly when that area has another size), turns the
// pointer's places into page pixels and hands moves and left clicks on. The handlers run from the event loop,
// where no failure may arrive: a failing step is logged and the viewer goes on.

#include "model/ViewerControl.h"
#include "platform/Bitmap.h"

#include <QWidget>

#include <functional>
#include <string>

class ViewerWidgetBase : public QWidget, public ViewerControl {
public:
    // Where the pointer's moves (page pixels) and clicks go; empty handlers ignore them.
    void SetPointerHandlers(std::function<void(int32_t, int32_t)> onMove, std::function<void()> onClick);
    // Where the picture is drawn, in the widget's pixels.
    virtual QRect PictureArea() const = 0;

    Bitmap& Picture() override { return m_picture; }
    void SetCursor(ViewerCursor cursor) override;
    TPoint PointerPosition() const override;
    std::unique_ptr<ViewerTimer> CreateTimer(int intervalMs, std::function<void()> onTick) override;

protected:
    // logName starts the log line of a failed step ("Player", "Preview").
    ViewerWidgetBase(QWidget* parent, std::string logName);

    // A point of the widget in page pixels.
    virtual TPoint ToPage(QPointF position) const = 0;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    Bitmap m_picture;

private:
    void Guarded(const std::function<void()>& step);

    std::string m_logName;
    std::function<void(int32_t, int32_t)> m_onMove;
    std::function<void()> m_onClick;
};
