#include "screens/SkinnedScreen.h"

#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "screens/SkinService.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>

SkinnedScreen::SkinnedScreen(Kind kind, QWidget* parent) : QDialog(parent), m_kind(kind)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::FramelessWindowHint;
    if (kind == Kind::Popup)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setModal(true);
    m_panel = new QWidget(this);
    if (kind == Kind::Popup) {
        setFixedSize(Geometry::PopupWidth, Geometry::PopupHeight);
        m_panel->setGeometry(0, 0, Geometry::PopupWidth, Geometry::PopupHeight);
    } else {
        m_panel->resize(Geometry::PanelWidth, Geometry::PanelHeight);
    }
    m_panel->setMouseTracking(true);
    SetColor(kColorBlack);
    PlaceOnScreen();
}

namespace {
int g_screensInFront = 0;
std::function<void()>& FrontObserver()
{
    static std::function<void()> observer;
    return observer;
}
} // namespace

SkinnedScreen::~SkinnedScreen() { SetInFront(false); }

int SkinnedScreen::ScreensInFront() { return g_screensInFront; }

void SkinnedScreen::SetFrontObserver(std::function<void()> observer) { FrontObserver() = std::move(observer); }

void SkinnedScreen::SetInFront(bool inFront)
{
    if (!m_countsInFront || inFront == m_inFront)
        return;
    m_inFront = inFront;
    g_screensInFront += inFront ? 1 : -1;
    if (FrontObserver())
        FrontObserver()();
}

void SkinnedScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    SetInFront(true);
}

void SkinnedScreen::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    SetInFront(false);
}

void SkinnedScreen::SetColor(TColor colour)
{
    m_colour = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    setPalette(palette);
    setAutoFillBackground(true);
}

void SkinnedScreen::AddSkin(TImage* image, int32_t index) { m_skin.push_back({image, index}); }

void SkinnedScreen::LoadSkin()
{
    for (const SkinEntry& entry : m_skin) {
        try {
            entry.image->SetPicture(SkinPicture(entry.index));
        } catch (const EVelloraError& e) {
            entry.image->ClearPicture();
            ktLogs::LogLine(std::string("Skin picture not loaded: ") + e.what());
        }
    }
    ReleaseSkinImage();
}

void SkinnedScreen::ClearSkin()
{
    for (const SkinEntry& entry : m_skin)
        entry.image->ClearPicture();
}

void SkinnedScreen::BeginRun()
{
    m_closeRequested = false;
    LoadSkin();
}

void SkinnedScreen::EndRun() { ClearSkin(); }

void SkinnedScreen::ShowModal()
{
    if (m_closeRequested)
        return;
    PlaceOnScreen();
    // Shown and raised before the modal loop, so that a screen opened from inside another one's handler comes up in
    // front of it also when no window manager orders the windows.
    show();
    raise();
    activateWindow();
    exec();
}

void SkinnedScreen::Close()
{
    m_closeRequested = true;
    done(QDialog::Accepted);
}

LabelStyle SkinnedScreen::PopupTextStyle(TColor colour, Qt::Alignment alignment)
{
    LabelStyle style;
    style.family = "MS Sans Serif";
    style.pixelSize = PointsToPixels(10);
    style.bold = true;
    style.colour = colour;
    style.alignment = alignment;
    style.wordWrap = true;
    return style;
}

void SkinnedScreen::PlaceOnScreen()
{
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    if (m_kind == Kind::Popup) {
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
        return;
    }
    setGeometry(area);
    setWindowState(windowState() | Qt::WindowMaximized);
    CentrePanel();
}

TImage* SkinnedScreen::AddImage(const Geometry::ControlRect& rect, TImage::Role role)
{
    return new TImage(m_panel, rect, role);
}

TLabel* SkinnedScreen::AddLabel(const Geometry::ControlRect& rect, const LabelStyle& style)
{
    return new TLabel(m_panel, rect, style);
}

TImage* SkinnedScreen::AddSkinImage(const Geometry::ControlRect& rect, int32_t skinIndex)
{
    TImage* image = AddImage(rect, TImage::Role::Decoration);
    AddSkin(image, skinIndex);
    return image;
}

TImage* SkinnedScreen::AddHoverImage(const Geometry::ControlRect& rect, int32_t skinIndex)
{
    TImage* image = AddImage(rect, TImage::Role::Hover);
    AddSkin(image, skinIndex);
    return image;
}

void SkinnedScreen::reject() {}

void SkinnedScreen::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    CentrePanel();
}

void SkinnedScreen::CentrePanel()
{
    if (m_kind == Kind::FullScreen)
        m_panel->move(width() / 2 - Geometry::PanelWidth / 2, height() / 2 - Geometry::PanelHeight / 2);
}

void SkinnedScreen::keyPressEvent(QKeyEvent* event)
{
    const bool leave =
        event->key() == Qt::Key_Escape || (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier));
    if (leave && m_leaveKeyHandler)
        m_leaveKeyHandler(event->key(), event->modifiers());
    else
        QDialog::keyPressEvent(event);
}
