#pragma once
// A one-line edit that can lie over the skin: when transparent, the picture under it shows through as its
// background (no fill, no frame) and it repaints cleanly on every change. Typing, selection, undo, the
// clipboard and input methods are the line edit's own.

#include "screens/TextAlign.h"

#include <QLineEdit>

class TTransEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TTransEdit(QWidget* parent = nullptr);

    TTextAlign GetAlignText() const { return m_alignText; }
    void SetAlignText(TTextAlign align);
    // False after creation.
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool transparent);

private:
    void ApplyLook();

    TTextAlign m_alignText = TTextAlign::Left;
    bool m_transparent = false;
};
