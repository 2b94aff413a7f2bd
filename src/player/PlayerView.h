#pragma once
// The player's picture of the page: a widget that is the viewer's control. The page is always 1024 x 768
// pixels; the widget shows it at its own size (smaller on a small screen) and hands on pointer positions in
// page pixels.

#include "platform/Bitmap.h"
#include "presentation/ViewerControl.h"

#include <QWidget>

#include <functional>

class PlayerView : public QWidget, public ViewerControl {
public:
    static constexpr int kPageWidth = 1024;
    static constexpr int kPageHeight = 768;
    static constexpr int kRepaintMs = 16;

    explicit PlayerView(QWidget* parent = nullptr);

    // Where the pointer's moves (page pixels) and clicks go.
    void SetPointerHandlers(std::function<void(int32_t, int32_t)> onMove, std::function<void()> onClick);

    Bitmap& Picture() override { return m_picture; }
    // Repaints at most about 60 times a second: the film strip's timer changes the picture every few
    // milliseconds, faster than any screen shows it.
    void Changed() override;
    int Width() const override { return kPageWidth; }
    int Height() const override { return kPageHeight; }
    void SetCursor(ViewerCursor cursor) override;
    TPoint PointerPosition() const override;
    std::unique_ptr<ViewerTimer> CreateTimer(int intervalMs, std::function<void()> onTick) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TPoint ToPage(const QPointF& position) const;
    // The pointer handlers run from the event loop, where no failure may arrive.
    void Guarded(const std::function<void()>& step);

    Bitmap m_picture;
    std::function<void(int32_t, int32_t)> m_onMove;
    std::function<void()> m_onClick;
    bool m_repaintPending = false;
};
