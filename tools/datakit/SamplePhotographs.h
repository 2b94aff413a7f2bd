#pragma once
// Stand-ins for a couple's photographs, painted so that the kit's previews and the designs' sample pictures show
// filled pages: a sunset with the couple, a bouquet, the rings, the sea, an arch of flowers and candlelight. Each
// scene is drawn to any size, landscape or portrait.

#include <QImage>
#include <QSize>

class SamplePhotographs {
public:
    static constexpr int kSceneCount = 6;
    // Scene index modulo kSceneCount, painted to the size.
    static QImage Paint(int scene, QSize size);
};
