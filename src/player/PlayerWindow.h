#pragma once
// The player's full-screen window: the presentation's background colour with the page centred on it, as large
// as the screen allows. Escape ends the show, as does a navigation to target -1; Right, Space and Page Down go
// to the next page, Left and Page Up back, Home to the first page, and the mouse wheel turns the pages.

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
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetSoundOn(bool on);
    void PlaceView();

    PresentationFile& m_presentation;
    evMusic* m_music = nullptr;
    PlayerView* m_view = nullptr;
    std::unique_ptr<PresentationPlayer> m_player;
    int m_wheel = 0;
    static constexpr int kWheelNotch = 120;
};
