#include "player/PlayerWindow.h"

#include "audio/evMusic.h"
#include "platform/Color.h"
#include "platform/PanelScale.h"
#include "player/PlayerView.h"
#include "presentation/PresentationFile.h"
#include "presentation/PresentationPlayer.h"

#include <QKeyEvent>
#include <QPalette>
#include <QTimer>
#include <QWheelEvent>

PlayerWindow::PlayerWindow(PresentationFile& presentation)
    : m_presentation(presentation), m_music(dynamic_cast<evMusic*>(presentation.music.get()))
{
    setWindowTitle(QStringLiteral("Vellora"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(presentation.background));
    setPalette(colours);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    m_view = new PlayerView(this);
    PresentationPlayer::Host host;
    host.setSoundOn = [this](bool on) { SetSoundOn(on); };
    // Ending from inside a click: the window closes once the click has been handled.
    host.quit = [this] { QTimer::singleShot(0, this, [this] { close(); }); };
    m_player = std::make_unique<PresentationPlayer>(presentation, *m_view, std::move(host), m_music != nullptr);
    m_view->SetPointerHandlers([this](int32_t x, int32_t y) { m_player->MouseMove(x, y); },
                               [this] { m_player->Click(); });
}

// The page viewer goes before the view it draws on.
PlayerWindow::~PlayerWindow()
{
    m_player.reset();
    if (m_music)
        m_music->Stop();
}

void PlayerWindow::Begin()
{
    if (m_music)
        m_music->Play();
    m_player->Begin();
}

void PlayerWindow::SetSoundOn(bool on)
{
    if (!m_music)
        return;
    if (on)
        m_music->Play();
    else
        m_music->Stop();
}

void PlayerWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: close(); return;
    case Qt::Key_Right:
    case Qt::Key_Space:
    case Qt::Key_PageDown: m_player->Next(); return;
    case Qt::Key_Left:
    case Qt::Key_PageUp: m_player->Back(); return;
    case Qt::Key_Home: m_player->First(); return;
    default: QWidget::keyPressEvent(event);
    }
}

// One page a notch of the wheel, turning down for the next page; the small steps of a touchpad add up.
void PlayerWindow::wheelEvent(QWheelEvent* event)
{
    m_wheel += event->angleDelta().y();
    while (m_wheel <= -kWheelNotch) {
        m_wheel += kWheelNotch;
        m_player->Next();
    }
    while (m_wheel >= kWheelNotch) {
        m_wheel -= kWheelNotch;
        m_player->Back();
    }
    event->accept();
}

void PlayerWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceView();
}

// The page at the largest size that fits the screen, keeping its proportions, centred.
void PlayerWindow::PlaceView()
{
    const QSize page(PlayerView::kPageWidth, PlayerView::kPageHeight);
    m_view->setGeometry(PlacePanel(size(), page, PanelFit::GrowAndShrink).area);
}
