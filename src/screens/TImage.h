#pragma once
// An image control of the skinned screens: shows its picture unscaled from its top-left corner and reports the
// mouse. Mouse positions are in the control's own coordinates, as the handlers of the screens expect them. A
// click is a left press and release both inside the control.

#include "screens/ScreenGeometry.h"

#include <QImage>
#include <QWidget>

class JpegImage;

class TImage : public QWidget {
    Q_OBJECT

public:
    enum class Role {
        Decoration, // a picture only: the mouse passes through it to what lies below
        Background, // a picture that reports the mouse (the screen's background)
        Button,     // a click area with the hand cursor
        Hover,      // the active look of a button: hidden until the mouse is over it, hand cursor
    };

    TImage(QWidget* parent, const Geometry::ControlRect& rect, Role role = Role::Decoration);

    // Decodes the JPEG into the control; a damaged picture leaves the control empty and raises EImageError.
    void SetPicture(const JpegImage& jpeg);
    void SetPicture(const QImage& picture);
    void ClearPicture();
    const QImage& Picture() const { return m_picture; }
    bool HasPicture() const { return !m_picture.isNull(); }

    Geometry::ControlRect Rect() const { return {x(), y(), width(), height()}; }

    // The active look of a button, shown while the pointer is over it (see HoverShow). Showing or hiding the
    // control in any other way makes it a state of the screen instead, which the pointer leaving leaves alone.
    void SetLit(bool lit);
    bool IsLit() const { return m_lit; }
    void setVisible(bool visible) override;

signals:
    void clicked();
    void doubleClicked(Qt::KeyboardModifiers modifiers);
    void mouseDown(int x, int y);
    void mouseUp(int x, int y);
    void mouseMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    bool m_pressed = false;
    bool m_lit = false;
};
