#pragma once
// Simple line icons drawn with painter paths on a 24 x 24 grid and scaled into any square.

#include <QColor>
#include <QRectF>

class QPainter;

enum class Icon {
    None,
    Plus,
    Folder,
    Door,
    Info,
    Pages,
    Chapters,
    Couple,
    Music,
    NoMusic,
    Disc,
    Save,
    Camera,
    Label,
    Back,
    Home,
    Speaker,
    SpeakerOff,
    SpeakerMuted,
    Fullscreen,
    Layout,
    Picture,
    Text,
    Scanner,
    File,
    Gallery,
    Trash,
    Check,
    CrossMark,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Play,
    Stop,
    Bold,
    Italic,
    Underline,
    Larger,
    Smaller,
    Font,
    Next,
    Undo,
    Greyscale,
    Magic,
    Rings,
    Lock,
    Printer,
    Reset,
    Eye,
    Pencil,
    NewSub,
    Heart,
    Warning,
    Calendar,
};

class SkinIcons {
public:
    // Draws the icon centred in `box` (the larger of its sides is filled) with line width `stroke` in grid units.
    static void Draw(QPainter& p, Icon icon, const QRectF& box, const QColor& color, qreal stroke = 1.7);
};
