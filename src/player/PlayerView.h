#pragma once
// The player's picture of the page. The page is always 1024 x 768 pixels; the widget shows it scaled smoothly
// to its own size (the largest that fits the screen) and hands on pointer positions in page pixels.

#include "presentation/ViewerWidgetBase.h"

class PlayerView : public ViewerWidgetBase {
public:
    static constexpr int kPageWidth = 1024;
    static constexpr int kPageHeight = 768;
    static constexpr int kRepaintMs = 16;

    explicit PlayerView(QWidget* parent = nullptr);

    QRect PictureArea() const override { return rect(); }
    // Repaints at most about 60 times a second: the film strip's timer changes the picture every few
    // milliseconds, faster than any screen shows it.
    void Changed() override;
    int Width() const override { return kPageWidth; }
    int Height() const override { return kPageHeight; }

protected:
    TPoint ToPage(QPointF position) const override;

private:
    bool m_repaintPending = false;
};
