#include "screens/TformPreview.h"

#include "audio/evMusic.h"
#include "model/PageOrder.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/SkinService.h"
#include "screens/ViewerWidget.h"

namespace G = Geometry::Preview;

namespace {

// Without its skin picture the close button is drawn plainly: a page is never shown with Escape as its only way
// out.
Bitmap PlainCloseButton()
{
    Bitmap button(G::imgClose.w, G::imgClose.h);
    Canvas& canvas = button.GetCanvas();
    canvas.SetBrushColor(RGBColor(60, 60, 60));
    canvas.SetPenColor(kColorWhite);
    canvas.Rectangle(Rect(0, 0, button.Width(), button.Height()));
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetFont(CanvasFont{"DejaVu Sans", 12, fsBold, kColorWhite});
    const std::string caption = "Close";
    canvas.TextOut((button.Width() - canvas.TextWidth(caption)) / 2, (button.Height() - canvas.TextHeight(caption)) / 2,
                   caption);
    return button;
}

} // namespace

TformPreview::TformPreview() : SkinnedScreen(Kind::FullScreen)
{
    imgPreview = new ViewerWidget(Panel(), G::imgPreview);
    imgClose = AddImage(G::imgClose, TImage::Role::Button);
    imgClose->hide();
    imgClose->setEnabled(false);
    try {
        const JpegImage& picture = SkinPicture(Skin::PreviewClose);
        imgClose->SetPicture(picture);
        m_closePicture = picture.Decode();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Preview close button drawn plainly: ") + e.what());
        m_closePicture = PlainCloseButton();
        imgClose->SetPicture(m_closePicture.ToQImage());
    }
    ReleaseSkinImage();
    connect(imgClose, &TImage::clicked, this, [this] { imgCloseClick(); });
    // Escape ends the preview as its close button does.
    SetKeyHandlers({}, [this] { imgCloseClick(); });
    imgPreview->SetPointerHandlers(
        [this](int32_t x, int32_t y) {
            if (m_page)
                m_page->MouseMove(x, y);
        },
        [this] {
            if (m_page)
                m_page->Click();
        });
}

TformPreview::~TformPreview() = default;

void TformPreview::ShowPicture(const JpegImage& picture, QSize size)
{
    PreparePicture(picture, size);
    ShowModal();
    FinishPicture();
}

void TformPreview::PreparePicture(const JpegImage& picture, QSize size)
{
    BeginRun();
    imgClose->move(G::imgCloseOnPage.x, G::imgCloseOnPage.y);
    imgClose->setEnabled(true);
    imgClose->show();
    imgClose->raise();
    try {
        Bitmap shown = picture.IsEmpty() ? Bitmap() : picture.Decode();
        const QSize panel(Geometry::PanelWidth, Geometry::PanelHeight);
        if (!shown.IsEmpty() && size.isValid() && !size.isEmpty()) {
            const QSize fitted = size.width() > panel.width() || size.height() > panel.height()
                                     ? size.scaled(panel, Qt::KeepAspectRatio)
                                     : size;
            shown = Bitmap(shown.ToQImage().scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        imgPreview->SetPicture(std::move(shown), ViewerWidget::Placement::Centred);
    } catch (const EVelloraError& e) {
        imgPreview->ClearPicture();
        ktLogs::LogLine(std::string("Preview picture not shown: ") + e.what());
    }
}

void TformPreview::FinishPicture()
{
    imgClose->setEnabled(false);
    imgClose->hide();
    imgPreview->ClearPicture();
    EndRun();
}

void TformPreview::ShowPage(std::unique_ptr<evProjectorPage> page)
{
    PreparePage(std::move(page));
    ShowModal();
    FinishPage();
}

// The page starts silent, so its sound button shows the sound as off; the first click on it starts the music.
void TformPreview::PreparePage(std::unique_ptr<evProjectorPage> page)
{
    BeginRun();
    m_soundOn = false;
    m_page = std::move(page);
    if (!m_page)
        return;
    ktLogs::LogLine(m_page->ToString());
    imgPreview->SetPicture(Bitmap(imgPreview->Width(), imgPreview->Height()));
    StartPage();
}

void TformPreview::ShowPageInArea(std::unique_ptr<evProjectorPage> page, const Geometry::ControlRect& area)
{
    PreparePageInArea(std::move(page), area);
    ShowModal();
    FinishPage();
}

// The page is drawn at its full size and shown reduced; the close button lies beside the page, not on it.
void TformPreview::PreparePageInArea(std::unique_ptr<evProjectorPage> page, const Geometry::ControlRect& area)
{
    BeginRun();
    m_soundOn = false;
    m_page = std::move(page);
    imgPreview->setGeometry(area.x, area.y, area.w, area.h);
    imgPreview->SetPageSize(QSize(G::imgPreview.w, G::imgPreview.h));
    imgClose->move(G::imgClose.x, G::imgClose.y);
    imgClose->setEnabled(true);
    imgClose->show();
    imgClose->raise();
    if (!m_page)
        return;
    ktLogs::LogLine(m_page->ToString());
    imgPreview->SetPicture(Bitmap(imgPreview->Width(), imgPreview->Height()), ViewerWidget::Placement::Centred);
    m_page->Start(*imgPreview, nullptr, PageCallbacks());
}

ViewerCallbacks TformPreview::PageCallbacks()
{
    ViewerCallbacks callbacks;
    callbacks.goToTarget = [this](int32_t target) { GoToTarget(target); };
    callbacks.toggleSound = [this] { ToggleSound(); };
    callbacks.isSoundOn = [this] { return IsSoundOn(); };
    return callbacks;
}

void TformPreview::StartPage()
{
    ViewerCallbacks callbacks = PageCallbacks();
    if (m_closePicture.IsEmpty()) {
        m_page->Start(*imgPreview, nullptr, std::move(callbacks));
        return;
    }
    // The close button lies on the page, where a click on it ends the preview: in its top right corner, clear of
    // the page's own buttons.
    const ViewerOverlay overlay{m_closePicture, TPoint{G::imgCloseOnPage.x, G::imgCloseOnPage.y}};
    m_page->Start(*imgPreview, &overlay, std::move(callbacks));
}

void TformPreview::FinishPage()
{
    m_page.reset();
    imgPreview->setGeometry(G::imgPreview.x, G::imgPreview.y, G::imgPreview.w, G::imgPreview.h);
    imgPreview->SetPageSize(QSize());
    imgClose->setEnabled(false);
    imgClose->hide();
    if (evMusic* music = ProjectMusic())
        music->Stop();
    m_soundOn = false;
    imgPreview->ClearPicture();
    EndRun();
}

evMusic* TformPreview::ProjectMusic() const
{
    const ApplicationContext* context = AppContext();
    const evProject* project = context ? context->GetCurrentProject() : nullptr;
    return project ? dynamic_cast<evMusic*>(project->GetMusic()) : nullptr;
}

void TformPreview::ToggleSound()
{
    if (evMusic* music = ProjectMusic()) {
        if (m_soundOn)
            music->Stop();
        else
            music->Play();
    }
    m_soundOn = !m_soundOn;
}

void TformPreview::GoToTarget(int32_t target)
{
    if (target == -1) {
        Close();
        return;
    }
    const ApplicationContext* context = AppContext();
    evProject* project = context ? context->GetCurrentProject() : nullptr;
    if (target < 0 || !m_page || !project || !project->GetFirstCategory())
        return;
    try {
        evCategory* category = PageOrder::CategoryAt(project->GetFirstCategory(), target, true);
        std::unique_ptr<evProjectorPage> next = category->CreatePresentationPage();
        m_page->StopViewing();
        m_page = std::move(next);
        ktLogs::LogLine(m_page->ToString());
        StartPage();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Preview page not shown: ") + e.what());
    }
}

void TformPreview::imgCloseClick() { Close(); }
