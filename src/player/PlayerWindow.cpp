#include "player/PlayerWindow.h"

#include "audio/evMusic.h"
#include "platform/Color.h"
#include "player/PlayerView.h"
#include "presentation/PresentationFile.h"
#include "presentation/PresentationPlayer.h"

#include <QKeyEvent>
#include <QPalette>
#include <QTimer>

#include <algorithm>

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
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PlayerWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceView();
}

// The page at its own size, or scaled down (keeping its proportions) to fit a smaller screen, centred.
void PlayerWindow::PlaceView()
{
    const double scale = std::min({1.0, static_cast<double>(width()) / PlayerView::kPageWidth,
                                   static_cast<double>(height()) / PlayerView::kPageHeight});
    const int viewWidth = std::max(1, static_cast<int>(PlayerView::kPageWidth * scale));
    const int viewHeight = std::max(1, static_cast<int>(PlayerView::kPageHeight * scale));
    m_view->setGeometry((width() - viewWidth) / 2, (height() - viewHeight) / 2, viewWidth, viewHeight);
}
