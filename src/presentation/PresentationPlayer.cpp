#include "presentation/PresentationPlayer.h"

#include "model/evProjectorPage.h"
#include "platform/Canvas.h"
#include "presentation/PresentationFile.h"

#include <algorithm>
#include <climits>

PresentationPlayer::PresentationPlayer(PresentationFile& presentation, ViewerControl& control, Host host, bool soundOn)
    : m_presentation(presentation), m_control(control), m_host(std::move(host)), m_soundOn(soundOn)
{}

PresentationPlayer::~PresentationPlayer()
{
    if (m_current)
        m_current->StopViewing();
}

bool PresentationPlayer::IsShowingStudio() const { return m_current && m_current == m_presentation.studio.get(); }

void PresentationPlayer::Begin()
{
    if (m_presentation.studio && m_presentation.studioDuration > 0) {
        const int64_t ms = std::min<int64_t>(int64_t{m_presentation.studioDuration} * 1000, INT_MAX);
        m_studioTimer = m_control.CreateTimer(static_cast<int>(ms), [this] { StudioTimeUp(); });
        m_studioTimer->SetEnabled(true);
        Show(m_presentation.studio.get(), -1);
        return;
    }
    ShowFirstPage();
}

// The studio page gives way to page 0 unless the viewer has already left it.
void PresentationPlayer::StudioTimeUp()
{
    m_studioTimer->SetEnabled(false);
    if (IsShowingStudio())
        ShowFirstPage();
}

// A presentation without pages shows its background.
void PresentationPlayer::ShowFirstPage()
{
    if (m_presentation.pages.empty())
        Show(nullptr, -1);
    else
        GoTo(0);
}

void PresentationPlayer::GoTo(int32_t target)
{
    if (target == evProjectorPage::kTargetNone) {
        if (m_host.quit)
            m_host.quit();
        return;
    }
    if (target == evProjectorPage::kTargetSound) {
        ToggleSound();
        if (m_current)
            m_current->Render(m_control.Picture().GetCanvas());
        return;
    }
    if (target >= 0 && target < static_cast<int64_t>(m_presentation.pages.size()))
        Show(m_presentation.pages[static_cast<size_t>(target)].get(), target);
}

void PresentationPlayer::Next()
{
    if (m_currentIndex < 0)
        ShowFirstPage();
    else
        GoTo(m_currentIndex + 1);
}

void PresentationPlayer::Back()
{
    if (m_currentIndex > 0)
        GoTo(m_currentIndex - 1);
}

void PresentationPlayer::First() { ShowFirstPage(); }

void PresentationPlayer::ToggleSound()
{
    m_soundOn = !m_soundOn;
    if (m_host.setSoundOn)
        m_host.setSoundOn(m_soundOn);
}

// The old page lets the control go before the next one takes it, so its timers and fades end first. A page
// that does not cover the whole control leaves the background, not the previous page, around it.
void PresentationPlayer::Show(evProjectorPage* page, int32_t index)
{
    if (m_current)
        m_current->StopViewing();
    m_current = page;
    m_currentIndex = index;
    ClearControl();
    if (!page)
        return;
    ViewerCallbacks callbacks;
    callbacks.goToTarget = [this](int32_t target) { GoTo(target); };
    callbacks.toggleSound = [this] { ToggleSound(); };
    callbacks.isSoundOn = [this] { return m_soundOn; };
    page->Start(m_control, nullptr, std::move(callbacks));
}

void PresentationPlayer::ClearControl()
{
    Canvas& canvas = m_control.Picture().GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(m_presentation.background);
    canvas.FillRect(TRect{0, 0, m_control.Width(), m_control.Height()});
    m_control.Changed();
}

void PresentationPlayer::MouseMove(int32_t x, int32_t y)
{
    if (m_current)
        m_current->MouseMove(x, y);
}

void PresentationPlayer::Click()
{
    if (m_current)
        m_current->Click();
}
