#pragma once
// The horizontal alignment of the text in the transparent edits.

#include <Qt>

enum class TTextAlign { Left, Right, Center };

Qt::Alignment ToQtAlignment(TTextAlign align);
