#pragma once
// What the player program does with a presentation, apart from its window: the studio page first for its
// duration when there is one, then page 0; navigation targets 0 .. N-1 go to that page, -2 switches the sound
// (kinds 4 and 5 follow it), -1 ends the show. Targets outside the presentation are ignored.

#include "model/ViewerControl.h"

#include <cstdint>
#include <functional>
#include <memory>

class evProjectorPage;
class PresentationFile;

class PresentationPlayer {
public:
    // The player's window: switch the music, end the show.
    struct Host {
        std::function<void(bool on)> setSoundOn;
        std::function<void()> quit;
    };

    // The presentation and the control outlive the player. soundOn is the state at the start (music playing).
    PresentationPlayer(PresentationFile& presentation, ViewerControl& control, Host host, bool soundOn);
    ~PresentationPlayer();
    PresentationPlayer(const PresentationPlayer&) = delete;
    PresentationPlayer& operator=(const PresentationPlayer&) = delete;

    // Shows the studio page (and starts its timer) or page 0; a presentation without pages shows its background.
    void Begin();
    // A navigation target of the page shown.
    void GoTo(int32_t target);
    void ToggleSound();
    // Keys and the mouse wheel: the next page (from the studio page: page 0; nothing after the last one), the
    // page before (nothing before page 0), page 0.
    void Next();
    void Back();
    void First();
    bool IsSoundOn() const { return m_soundOn; }

    // The pointer on the control, in page pixels.
    void MouseMove(int32_t x, int32_t y);
    void Click();

    evProjectorPage* CurrentPage() const { return m_current; }
    // The index of the page shown; -1 while the studio page (or nothing) is shown.
    int32_t CurrentPageIndex() const { return m_currentIndex; }
    bool IsShowingStudio() const;

private:
    void Show(evProjectorPage* page, int32_t index);
    void StudioTimeUp();
    void ShowFirstPage();
    void ClearControl();

    PresentationFile& m_presentation;
    ViewerControl& m_control;
    Host m_host;
    bool m_soundOn;
    evProjectorPage* m_current = nullptr;
    int32_t m_currentIndex = -1;
    std::unique_ptr<ViewerTimer> m_studioTimer;
};
