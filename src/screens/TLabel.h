#pragma once
// A text label of the skinned screens: transparent, in a font chosen by name, size, style and colour. Its
// caption follows the accelerator convention of the screens' labels: "&&" shows one "&" and a single "&" marks
// the next character (shown without the mark), which is why texts with "&" are passed through DoubleAmpersands.

#include "platform/Canvas.h"
#include "platform/Color.h"
#include "screens/ScreenGeometry.h"

#include <QLabel>
#include <QString>

struct LabelStyle {
    QString family = "MS Sans Serif";
    int pixelSize = 13;
    bool bold = false;
    TColor colour = kColorBlack;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = false;
};

// The hint line of every screen: 15 pixels, black, wrapped; the wizard pages write it in Arial.
LabelStyle HintLabelStyle(const QString& family = "MS Sans Serif");

class TLabel : public QLabel {
    Q_OBJECT

public:
    TLabel(QWidget* parent, const Geometry::ControlRect& rect, const LabelStyle& style);

    void SetCaption(const QString& caption);
    // The caption as it was set, accelerator marks included.
    const QString& Caption() const { return m_caption; }
    void SetFontColour(TColor colour);
    TColor FontColour() const { return m_colour; }

    // The text a caption shows: "&&" becomes "&", a single "&" disappears.
    static QString DisplayedText(const QString& caption);
    // The text as it fits the width in the font, with "..." where characters were dropped: at the end (keeping the
    // start) or at the start (keeping the end, as for a path).
    enum class Keep { Start, End };
    static QString Shortened(const QString& text, const QFont& font, int width, Keep keep);
    // The text as it fits the width in the font: whole words are dropped from its end for an ellipsis ("Two
    // photographs and…"); only a first word too long alone is cut within itself.
    static QString ShortenedAtWord(const QString& text, const QFont& font, int width);

private:
    QString m_caption;
    TColor m_colour = kColorBlack;
};
