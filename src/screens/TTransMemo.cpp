#include "screens/TTransMemo.h"

#include <QApplication>
#include <QPalette>
#include <QTextDocument>
#include <QTextOption>

TTransMemo::TTransMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    // The viewport scrolls by repainting: it is not opaque, so the backing store paints the skin under it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, false);
    ApplyLook();
    ApplyAlignment();
}

void TTransMemo::SetAlignText(TTextAlign align)
{
    m_alignText = align;
    ApplyAlignment();
}

void TTransMemo::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    ApplyLook();
}

void TTransMemo::ApplyAlignment()
{
    // The document's default option covers every block, also the ones typed later; setting it lays the text
    // out anew.
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(ToQtAlignment(m_alignText));
    document()->setDefaultTextOption(option);
    viewport()->update();
}

void TTransMemo::ApplyLook()
{
    // Only the background changes: a text colour the screen chose stays.
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Base, m_transparent ? QBrush(Qt::transparent) : QApplication::palette(this).base());
    setPalette(palette);
    setFrameShape(m_transparent ? QFrame::NoFrame : QFrame::StyledPanel);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(!m_transparent);
    viewport()->update();
}
