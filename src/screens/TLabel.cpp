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

QString TLabel::ShortenedToWidth(const QString& text, const QFont& font, int width)
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
