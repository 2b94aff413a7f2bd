#include "screens/SkinnedScreen.h"

#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "screens/DataIndexes.h"
#include "screens/PanelView.h"
#include "screens/SkinService.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>

#include <cmath>

SkinnedScreen::SkinnedScreen(Kind kind, QWidget* parent) : QDialog(parent), m_kind(kind)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::FramelessWindowHint;
    if (kind == Kind::Popup)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setModal(true);
    m_panel = new QWidget;
    if (kind == Kind::Popup)
        m_panel->resize(Geometry::PopupWidth, Geometry::PopupHeight);
    else
        m_panel->resize(Geometry::PanelWidth, Geometry::PanelHeight);
    m_panel->setMouseTracking(true);
    m_view = new PanelView(this, m_panel);
    m_view->viewport()->installEventFilter(this);
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
    m_view->ShowPanel(true);
    QDialog::showEvent(event);
    // A field given the focus while the screen was hidden gets it now that its panel can take it.
    m_view->FocusPanel();
    SetInFront(true);
}

void SkinnedScreen::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    m_view->ShowPanel(false);
    SetInFront(false);
}

void SkinnedScreen::SetColor(TColor colour)
{
    m_colour = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    setPalette(palette);
    setAutoFillBackground(true);
    // The panel is a window of its own inside the view; it shows the same colour where no control covers it.
    m_panel->setPalette(palette);
    m_panel->setAutoFillBackground(true);
    m_view->SetColour(ToQColor(colour));
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
    ClearPointerLooks();
    LoadSkin();
}

void SkinnedScreen::WatchHints(TLabel* label, int32_t* remembered) { m_hintLabels.emplace_back(label, remembered); }

void SkinnedScreen::ShowSaveResult(bool saved)
{
    if (saved && !m_hintLabels.empty())
        m_hintLabels.front().first->SetCaption(HelpText(Help::SavedNotice));
}

void SkinnedScreen::ClearPointerLooks()
{
    for (TImage* image : m_panel->findChildren<TImage*>()) {
        if (image->IsLit())
            image->hide();
    }
    for (const auto& [label, remembered] : m_hintLabels) {
        label->SetCaption(QString());
        if (remembered)
            *remembered = -1;
    }
}

// The pointer leaving the panel (for the space around it, another window or a pop-up) takes its looks along.
bool SkinnedScreen::eventFilter(QObject* watched, QEvent* event)
{
    const bool leaving = watched == m_view->viewport() && event->type() == QEvent::Leave;
    if (leaving && QGuiApplication::mouseButtons() == Qt::NoButton)
        ClearPointerLooks();
    return QDialog::eventFilter(watched, event);
}

void SkinnedScreen::EndRun() { ClearSkin(); }

void SkinnedScreen::ShowModal()
{
    if (m_closeRequested)
        return;
    PlaceOnScreen();
    // The screen behind no longer has the pointer: the button that opened this one goes dark.
    if (auto* behind = qobject_cast<SkinnedScreen*>(QApplication::activeWindow()); behind && behind != this)
        behind->ClearPointerLooks();
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

PanelPlacement SkinnedScreen::ScreenPlacement(QSize screen)
{
    return PlacePanel(screen, QSize(Geometry::PanelWidth, Geometry::PanelHeight), PanelFit::GrowOnly);
}

double SkinnedScreen::Scale() const { return m_view->Placement().scale; }

void SkinnedScreen::RepaintNow(const QWidget* widget) { m_view->RepaintNow(widget); }

// A pop-up is enlarged as much as the full screens are, so it keeps its size beside them.
void SkinnedScreen::PlaceOnScreen()
{
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    if (m_kind == Kind::Popup) {
        const double scale = ScreenPlacement(area.size()).scale;
        const QSize panel(Geometry::PopupWidth, Geometry::PopupHeight);
        const QSize shown(int(std::lround(panel.width() * scale)), int(std::lround(panel.height() * scale)));
        setFixedSize(shown);
        m_view->SetPlacement(PanelPlacement{panel, scale, QRect(QPoint(0, 0), shown)});
        move(area.x() + (area.width() - shown.width()) / 2, area.y() + (area.height() - shown.height()) / 2);
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

void SkinnedScreen::SetKeyHandlers(std::function<void()> onReturn, std::function<void()> onEscape)
{
    m_onReturn = std::move(onReturn);
    m_onEscape = std::move(onEscape);
}

// A screen the user may leave by key hears of Escape and Alt+F4 first; Return and Escape then go to the key
// handlers, and every other key its usual way.
void SkinnedScreen::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int key = event->key();
    const bool leave = key == Qt::Key_Escape || (key == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier));
    if (leave && m_leaveKeyHandler) {
        m_leaveKeyHandler(key, event->modifiers());
        return;
    }
    const std::function<void()>* handler = nullptr;
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter))
        handler = &m_onReturn;
    else if (plain && key == Qt::Key_Escape)
        handler = &m_onEscape;
    if (!handler) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (*handler && !IsCloseRequested())
        (*handler)();
}

void SkinnedScreen::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    CentrePanel();
}

void SkinnedScreen::CentrePanel()
{
    if (m_kind == Kind::FullScreen)
        m_view->SetPlacement(ScreenPlacement(size()));
}
