#include "screens/TextAlign.h"

Qt::Alignment ToQtAlignment(TTextAlign align)
{
    switch (align) {
    case TTextAlign::Right: return Qt::AlignRight;
    case TTextAlign::Center: return Qt::AlignHCenter;
    case TTextAlign::Left: break;
    }
    return Qt::AlignLeft;
}
