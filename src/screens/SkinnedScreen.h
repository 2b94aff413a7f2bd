#pragma once
// The shared base of every screen. A full screen is a frameless, maximised modal window whose 1024 x 768 panel
// stays centred whatever the screen's size, on a background colour (black unless a screen sets another). A
// pop-up is a frameless 500 x 250 window, always on top and centred on the screen. On a screen larger than the
// panel, the panel (and a pop-up with it) is shown enlarged to the largest size that fits, keeping its
// proportions; every control keeps its coordinates in panel pixels (see PanelView).
//
// A screen lists which image control shows which skin picture; BeginRun loads them all and EndRun releases
// them again, so a screen holds its pictures only while it is shown. Every Run of a screen is BeginRun, the
// screen's own preparation, ShowModal and EndRun: tests prepare a screen, call its handlers and read its state
// without showing it, and ShowModal is the only part that needs a person (or a timer).

#include "platform/Color.h"
#include "platform/PanelScale.h"
#include "screens/ScreenGeometry.h"
#include "screens/TImage.h"
#include "screens/TLabel.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class PanelView;

class SkinnedScreen : public QDialog {
    Q_OBJECT

public:
    enum class Kind { FullScreen, Popup };

    explicit SkinnedScreen(Kind kind, QWidget* parent = nullptr);
    ~SkinnedScreen() override;

    Kind GetKind() const { return m_kind; }
    // The 1024 x 768 panel of a full screen, the whole window of a pop-up; every control lies on it.
    QWidget* Panel() const { return m_panel; }

    // The colour around the panel.
    void SetColor(TColor colour);
    TColor GetColor() const { return m_colour; }

    // Skin pictures by index: loaded into their controls by LoadSkin, released by ClearSkin. A picture that
    // cannot be loaded leaves its control empty; the screen still works.
    void AddSkin(TImage* image, int32_t index);
    void LoadSkin();
    void ClearSkin();

    // Loads the skin pictures and forgets an earlier close request.
    void BeginRun();
    // Releases the skin pictures.
    void EndRun();
    // Shows the screen modally until Close; returns at once when Close was already requested.
    void ShowModal();
    // Ends the modal show; outside one it only hides the screen and records the request.
    void Close();
    bool IsCloseRequested() const { return m_closeRequested; }

    // Empties the watched hint labels and hides every lit button (see TImage::SetLit), as when the pointer has
    // left the screen. Done when the pointer leaves the panel and at the start of every Run.
    void ClearPointerLooks();

    // After a save from the screen's save button: a short notice in the screen's help box (its first watched
    // hint label) when it worked, which stays until the pointer moves on to another control. A failed save has
    // said what went wrong already.
    void ShowSaveResult(bool saved);

    // What Return (or Enter) and Escape do: a screen sets the handler of its confirming and of its cancelling
    // button; without one the key does nothing. A field that uses the key itself (a memo's Return) keeps it.
    void SetKeyHandlers(std::function<void()> onReturn, std::function<void()> onEscape);

    // The text of the pop-ups: "MS Sans Serif" 10 point bold, word-wrapped.
    static LabelStyle PopupTextStyle(TColor colour, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

    // Places the window over the whole screen (full screens) or in its middle (pop-ups).
    void PlaceOnScreen();
    // Where the 1024 x 768 panel goes on a screen of that size: enlarged to fit, never reduced.
    static PanelPlacement ScreenPlacement(QSize screen);
    // Screen pixels a panel pixel.
    double Scale() const;
    // Paints a control of the panel at once, for steps that run without an event loop.
    void RepaintNow(const QWidget* widget);

    // The screens shown in front of the main window: the modal screens and the wait pop-up while they are up.
    // The observer (the main window) hears of every change.
    static int ScreensInFront();
    static void SetFrontObserver(std::function<void()> observer);

protected:
    TImage* AddImage(const Geometry::ControlRect& rect, TImage::Role role = TImage::Role::Decoration);
    // A decoration with its skin picture.
    TImage* AddSkinImage(const Geometry::ControlRect& rect, int32_t skinIndex);
    TLabel* AddLabel(const Geometry::ControlRect& rect, const LabelStyle& style);
    // A hover image: hidden, hand cursor, with its skin picture.
    TImage* AddHoverImage(const Geometry::ControlRect& rect, int32_t skinIndex);
    // A hint label and the index it remembers (nullptr when it remembers none), emptied by ClearPointerLooks.
    void WatchHints(TLabel* label, int32_t* remembered);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The window manager's close button does nothing: every screen closes through its own buttons, which decide
    // what closing means. Escape and Return go to the key handlers.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // The main window is behind every other screen and does not count as one in front.
    void SetCountsInFront(bool counts) { m_countsInFront = counts; }
    // Screens that the user may leave by key get Escape and Alt+F4 here; every other key goes its usual way.
    void SetLeaveKeyHandler(std::function<void(int key, Qt::KeyboardModifiers modifiers)> handler)
    {
        m_leaveKeyHandler = std::move(handler);
    }

private:
    struct SkinEntry {
        TImage* image;
        int32_t index;
    };

    std::function<void(int, Qt::KeyboardModifiers)> m_leaveKeyHandler;

    void CentrePanel();
    void SetInFront(bool inFront);

    Kind m_kind;
    QWidget* m_panel = nullptr;
    PanelView* m_view = nullptr;
    TColor m_colour = kColorBlack;
    std::vector<SkinEntry> m_skin;
    std::vector<std::pair<TLabel*, int32_t*>> m_hintLabels;
    std::function<void()> m_onReturn;
    std::function<void()> m_onEscape;
    bool m_closeRequested = false;
    bool m_countsInFront = true;
    bool m_inFront = false;
};
