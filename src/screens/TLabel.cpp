#include "screens/TLabel.h"

#include <QFontMetrics>
#include <QPalette>

TLabel::TLabel(QWidget* parent, const Geometry::ControlRect& rect, const LabelStyle& style) : QLabel(parent)
{
    setGeometry(rect.x, rect.y, rect.w, rect.h);
    QFont font(style.family);
    font.setPixelSize(style.pixelSize);
    font.setBold(style.bold);
    setFont(font);
    setAlignment(style.alignment);
    setWordWrap(style.wordWrap);
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(false);
    SetFontColour(style.colour);
}

void TLabel::SetCaption(const QString& caption)
{
    m_caption = caption;
    setText(DisplayedText(caption));
}

void TLabel::SetFontColour(TColor colour)
{
    m_colour = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    setPalette(palette);
}

QString TLabel::DisplayedText(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&') {
            shown += caption[i];
            continue;
        }
        if (i + 1 < caption.size() && caption[i + 1] == u'&') {
            shown += u'&';
            ++i;
        }
    }
    return shown;
}

// Binary search for the fewest dropped characters; a label never shows more than a few hundred characters, so a
// text of any length from a damaged file costs only a few measurements.
QString TLabel::Shortened(const QString& text, const QFont& font, int width, Keep keep)
{
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const bool keepStart = keep == Keep::Start;
    const QString part = keepStart ? text.left(4 * width + 4) : text.right(4 * width + 4);
    const qsizetype skipped = text.size() - part.size();
    const auto shown = [&part, keepStart](qsizetype dropped) {
        return keepStart ? part.left(part.size() - dropped) + "..." : "..." + part.mid(dropped);
    };
    qsizetype low = skipped == 0 ? 1 : 0;
    qsizetype high = part.size();
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (metrics.horizontalAdvance(shown(middle)) <= width)
            high = middle;
        else
            low = middle + 1;
    }
    return shown(low);
}

QString TLabel::ShortenedAtWord(const QString& text, const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString ellipsis(QChar(0x2026));
    QString shown = text;
    for (qsizetype blank = shown.lastIndexOf(u' '); blank > 0; blank = shown.lastIndexOf(u' ')) {
        shown = shown.left(blank);
        if (metrics.horizontalAdvance(shown + ellipsis) <= width)
            return shown + ellipsis;
    }
    return metrics.elidedText(text, Qt::ElideRight, width);
}

LabelStyle HintLabelStyle(const QString& family)
{
    LabelStyle style;
    style.family = family;
    style.pixelSize = 15;
    style.wordWrap = true;
    return style;
}
