#pragma once
// The player's full-screen window: the presentation's background colour with the page centred on it.
// Escape ends the show, as does a navigation to target -1.

#include <QWidget>

#include <memory>

class PlayerView;
class PresentationFile;
class PresentationPlayer;
class evMusic;

class PlayerWindow : public QWidget {
public:
    // The presentation outlives the window. Its music (when it is a playable track) starts with the show.
    explicit PlayerWindow(PresentationFile& presentation);
    ~PlayerWindow() override;

    // Shows the studio page or page 0 and starts the music.
    void Begin();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetSoundOn(bool on);
    void PlaceView();

    PresentationFile& m_presentation;
    evMusic* m_music = nullptr;
    PlayerView* m_view = nullptr;
    std::unique_ptr<PresentationPlayer> m_player;
};
