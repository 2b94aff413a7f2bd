#pragma once
// A multi-line edit that can lie over the skin: when transparent, the picture under it shows through as its
// background (no fill, no frame), also while its text scrolls. Typing, selection, undo, the clipboard and
// input methods are the text edit's own.

#include "screens/TextAlign.h"

#include <QPlainTextEdit>

class TTransMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TTransMemo(QWidget* parent = nullptr);

    // Applies to every paragraph, the ones typed later included.
    TTextAlign GetAlignText() const { return m_alignText; }
    void SetAlignText(TTextAlign align);
    // False after creation.
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool transparent);

private:
    void ApplyAlignment();
    void ApplyLook();

    TTextAlign m_alignText = TTextAlign::Left;
    bool m_transparent = false;
};
