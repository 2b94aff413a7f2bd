#include "screens/TTransEdit.h"

#include <QApplication>
#include <QPalette>

TTransEdit::TTransEdit(QWidget* parent) : QLineEdit(parent)
{
    // The backing store paints the parent under a widget that is not opaque, so the skin shows through without
    // flicker once the edit fills nothing itself.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    ApplyLook();
    SetAlignText(TTextAlign::Left);
}

void TTransEdit::SetAlignText(TTextAlign align)
{
    m_alignText = align;
    setAlignment(ToQtAlignment(align) | Qt::AlignVCenter);
    update();
}

void TTransEdit::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    ApplyLook();
}

void TTransEdit::ApplyLook()
{
    // Only the background changes: a text colour the screen chose stays.
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Base, m_transparent ? QBrush(Qt::transparent) : QApplication::palette(this).base());
    setPalette(palette);
    setFrame(!m_transparent);
    setAutoFillBackground(false);
    update();
}
