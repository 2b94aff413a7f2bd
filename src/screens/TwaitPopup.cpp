#include "screens/TwaitPopup.h"

#include "model/ProgressBar.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "screens/DataIndexes.h"
#include "screens/HourglassCursor.h"
#include "screens/SkinService.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressBar>

namespace G = Geometry::WaitPopup;

// What the steps report to: the pop-up's bar, repainted at once because no event loop runs meanwhile. While a
// step may be cancelled, the events waiting are handled at most every kEventsMs, so a click on Cancel arrives.
class TwaitPopup::Bar : public ProgressBar {
public:
    static constexpr int kEventsMs = 100;

    Bar(TwaitPopup& popup, QProgressBar* bar) : m_popup(popup), m_bar(bar) {}
    void SetPosition(int percent) override
    {
        if (m_responsive && m_sinceEvents.elapsed() >= kEventsMs) {
            m_sinceEvents.restart();
            QCoreApplication::processEvents();
        }
        const int clamped = percent < 0 ? 0 : percent > 100 ? 100 : percent;
        if (clamped == m_bar->value())
            return;
        m_bar->setValue(clamped);
        if (m_bar->isVisible())
            m_popup.RepaintNow(m_bar);
    }
    void SetResponsive(bool responsive)
    {
        m_responsive = responsive;
        m_sinceEvents.start();
    }

private:
    TwaitPopup& m_popup;
    QProgressBar* m_bar;
    bool m_responsive = false;
    QElapsedTimer m_sinceEvents;
};

TwaitPopup::TwaitPopup() : SkinnedScreen(Kind::Popup)
{
    setModal(false);
    setCursor(Qt::WaitCursor);
    m_background = AddImage(G::ImgBG);
    pb = new QProgressBar(Panel());
    pb->setGeometry(G::pb.x, G::pb.y, G::pb.w, G::pb.h);
    pb->setRange(0, 100);
    pb->setTextVisible(false);
    pb->setStyleSheet("QProgressBar { border: none; background: rgb(232, 232, 232); }"
                      "QProgressBar::chunk { background: rgb(128, 0, 0); }");
    labelInfo = AddLabel(G::labelInfo, PopupTextStyle(kColorBlack, Qt::AlignHCenter | Qt::AlignTop));
    imgCancel = AddImage(G::imgCancel, TImage::Role::Button);
    imgCancel->hide();
    connect(imgCancel, &TImage::clicked, this, [this] { imgCancelClick(); });
    SetKeyHandlers({}, [this] {
        if (imgCancel->isVisibleTo(Panel()))
            imgCancelClick();
    });
    m_bar = std::make_unique<Bar>(*this, pb);
    try {
        m_background->SetPicture(SkinPicture(Skin::PopupBackground));
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Wait pop-up without background: ") + e.what());
    }
    ReleaseSkinImage();
}

TwaitPopup::~TwaitPopup() = default;

bool TwaitPopup::Run(const QString& text, const Step& step)
{
    pb->setValue(0);
    labelInfo->SetCaption(text);
    HourglassCursor hourglass;
    if (!isVisible()) {
        PlaceOnScreen();
        show();
        raise();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
    const bool done = step(*m_bar);
    pb->setValue(100);
    if (done)
        hide();
    else
        repaint();
    return done;
}

// Modal to the whole program while it runs, so that nothing but Cancel takes the pointer meanwhile.
bool TwaitPopup::RunCancellable(const QString& text, const Step& step)
{
    m_cancelled = false;
    try {
        imgCancel->SetPicture(SkinPicture(Skin::WaitCancel));
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Wait pop-up without its Cancel button's picture: ") + e.what());
    }
    imgCancel->show();
    const bool wasVisible = isVisible();
    if (!wasVisible)
        setWindowModality(Qt::ApplicationModal);
    m_bar->SetResponsive(true);
    struct Restore {
        TwaitPopup& popup;
        ~Restore()
        {
            popup.m_bar->SetResponsive(false);
            popup.imgCancel->hide();
            popup.hide();
            popup.setWindowModality(Qt::NonModal);
        }
    } restore{*this};
    return Run(text, step);
}

void TwaitPopup::imgCancelClick() { m_cancelled = true; }

int TwaitPopup::GetProgress() const { return pb->value(); }
