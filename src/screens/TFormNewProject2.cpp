#include "screens/TFormNewProject2.h"

#include "model/evLayoutPreview.h"
#include "model/evObjectCollection.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormNewProject3.h"
#include "screens/TformPreview.h"
#include "screens/WizardLook.h"

#include <QMouseEvent>

#include <algorithm>

namespace G = Geometry::NewProject2;

TFormNewProject2::TFormNewProject2() : SkinnedScreen(Kind::FullScreen)
{
    setWindowTitle("New album - design");
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::Backdrop);
    imgTop = AddSkinImage(G::imgTop, Skin::DesignHeader);
    imgCnt = AddSkinImage(G::imgCnt, Skin::DesignList);
    Image3 = AddImage(G::Image3, TImage::Role::Background);
    ImgUp = AddImage(G::ImgUp, TImage::Role::Button);
    ImgDown = AddImage(G::ImgDown, TImage::Role::Button);
    imgLayoutPreview = AddImage(G::imgLayoutPreview, TImage::Role::Button);
    ImgFullscreen = AddSkinImage(G::ImgFullscreen, Skin::DesignFullscreen);
    ImgFullScreenActive = AddHoverImage(G::ImgFullScreenActive, Skin::DesignFullscreenActive);
    Image1 = AddImage(G::Image1, TImage::Role::Button);
    Image2 = AddImage(G::Image2, TImage::Role::Button);
    imgHelpBox = AddSkinImage(G::imgHelpBox, Skin::HelpBox);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
    WatchHints(labelHelp, &m_hint);

    connect(ImgBG, &TImage::mouseMoved, this, [this](int x, int y) { ImgBGMouseMove(x, y); });
    connect(Image3, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintDesignList); });
    for (TImage* image : {imgLayoutPreview, ImgFullScreenActive})
        connect(image, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintDesignPreview); });
    connect(Image2, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintDesignNext); });
    connect(Image1, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintDesignCancel); });
    connect(ImgUp, &TImage::mouseDown, this, [this] { ImgUpMouseDown(); });
    connect(ImgDown, &TImage::mouseDown, this, [this] { ImgDownMouseDown(); });
    connect(imgLayoutPreview, &TImage::clicked, this, [this] { ShowFullScreen(); });
    connect(ImgFullScreenActive, &TImage::clicked, this, [this] { ShowFullScreen(); });
    connect(Image2, &TImage::clicked, this, [this] { Image2Click(); });
    connect(Image1, &TImage::clicked, this, [this] { Image1Click(); });
    // The names were typed on the page before, so Escape asks first.
    SetKeyHandlers([this] { Image2Click(); },
                   [this] {
                       if (ConfirmLeaving(Help::LeaveWizardQuestion))
                           Image1Click();
                   });
}

TFormNewProject2::~TFormNewProject2() = default;

std::unique_ptr<evProject> TFormNewProject2::Run(const std::string& firstName, const std::string& secondName,
                                                 double date)
{
    if (!AppContext())
        return nullptr;
    Prepare(AppContext()->GetDesigns());
    ShowModal();
    const std::string designFileName = GetSelectedFileName();
    Finish();
    if (!m_accepted || designFileName.empty() || !Screens().formNewProject3)
        return nullptr;
    return Screens().formNewProject3->Run(firstName, secondName, designFileName, date);
}

void TFormNewProject2::Prepare(const evObjectCollection& designs)
{
    BeginRun();
    FreeLabels();
    m_designs = &designs;
    m_selected = -1;
    m_hint = -1;
    m_firstVisible = 0;
    m_accepted = false;
    labelHelp->SetCaption(QString());
    ImgFullScreenActive->hide();
    CreateLabels();
    if (!m_labels.empty())
        SelectDesign(0);
    PlaySpeech(4);
}

void TFormNewProject2::Finish()
{
    EndRun();
    imgLayoutPreview->ClearPicture();
    m_previewJpeg = JpegImage();
    FreeLabels();
    m_designs = nullptr;
}

const evLayoutPreview* TFormNewProject2::PreviewAt(int32_t index) const
{
    if (!m_designs || index < 0 || index >= m_designs->Count())
        return nullptr;
    return m_designs->GetItemAs<evLayoutPreview>(index);
}

void TFormNewProject2::CreateLabels()
{
    for (int32_t i = 0; i < m_designs->Count(); ++i) {
        const evLayoutPreview* preview = PreviewAt(i);
        const QString caption = preview ? DoubleAmpersands(ToDisplay(preview->GetName())) : QString();
        TLabel* label = AddListLabel(Panel(), G::DesignLabel(i), caption);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        m_labels.push_back(label);
    }
    PlaceLabels();
}

void TFormNewProject2::FreeLabels()
{
    for (TLabel* label : m_labels)
        delete label;
    m_labels.clear();
}

// Row i lies 17 pixels below row i - 1, counted from the first visible row; 16 rows show at a time.
void TFormNewProject2::PlaceLabels()
{
    for (size_t i = 0; i < m_labels.size(); ++i) {
        const int row = static_cast<int>(i) - m_firstVisible;
        m_labels[i]->move(G::DesignLabel(row).x, G::DesignLabel(row).y);
        m_labels[i]->setVisible(row >= 0 && row < G::ListMaxRows);
    }
}

void TFormNewProject2::SelectDesign(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(m_labels.size()))
        return;
    for (size_t i = 0; i < m_labels.size(); ++i)
        SetListLabelChosen(m_labels[i], static_cast<int32_t>(i) == index);
    m_selected = index;
    if (const evLayoutPreview* preview = PreviewAt(index))
        ShowPreviewOf(*preview);
}

// A design without a sample picture (or with a damaged one) shows an empty preview rather than the previous one.
void TFormNewProject2::ShowPreviewOf(const evLayoutPreview& preview)
{
    imgLayoutPreview->ClearPicture();
    m_previewJpeg = JpegImage();
    const evPicture* sample = preview.GetSamplePicture();
    if (!sample || sample->GetImageStream().empty())
        return;
    try {
        m_previewJpeg = JpegImage::FromBytes(sample->GetImageStream());
        const QImage picture = m_previewJpeg.Decode().ToQImage();
        imgLayoutPreview->SetPicture(picture.scaled(G::imgLayoutPreview.w, G::imgLayoutPreview.h, Qt::IgnoreAspectRatio,
                                                    Qt::SmoothTransformation));
    } catch (const EVelloraError& e) {
        m_previewJpeg = JpegImage();
        imgLayoutPreview->ClearPicture();
        ktLogs::LogLine(std::string("Design preview not shown: ") + e.what());
    }
}

void TFormNewProject2::ImgUpMouseDown()
{
    if (m_firstVisible <= 0)
        return;
    --m_firstVisible;
    PlaceLabels();
}

void TFormNewProject2::ImgDownMouseDown()
{
    if (static_cast<int32_t>(m_labels.size()) - m_firstVisible <= G::ListMaxRows)
        return;
    ++m_firstVisible;
    PlaceLabels();
}

void TFormNewProject2::ShowFullScreen()
{
    if (m_selected < 0 || m_previewJpeg.IsEmpty() || !Screens().formPreview)
        return;
    // The sample at the size of the design's page, whatever size the design file keeps it in.
    const evLayoutPreview* preview = PreviewAt(m_selected);
    const QSize page = preview ? QSize(preview->GetPageWidth(), preview->GetPageHeight()) : QSize();
    Screens().formPreview->ShowPicture(m_previewJpeg, page);
}

void TFormNewProject2::Image2Click()
{
    StopSpeech();
    m_accepted = true;
    Close();
}

void TFormNewProject2::Image1Click()
{
    StopSpeech();
    Close();
}

void TFormNewProject2::ImgBGMouseMove(int x, int y)
{
    ShowHelpHint(labelHelp, m_hint, Help::DesignInstruction);
    HoverShow(x, y, ImgFullScreenActive, ImgBG);
}

std::string TFormNewProject2::GetSelectedFileName() const
{
    const evLayoutPreview* preview = PreviewAt(m_selected);
    return preview ? preview->GetFileName() : std::string();
}

bool TFormNewProject2::eventFilter(QObject* watched, QEvent* event)
{
    const auto label = std::find(m_labels.begin(), m_labels.end(), watched);
    if (label == m_labels.end())
        return SkinnedScreen::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        SelectDesign(static_cast<int32_t>(label - m_labels.begin()));
        return true;
    }
    if (event->type() == QEvent::MouseMove)
        ShowHelpHint(labelHelp, m_hint, Help::HintDesignList);
    return false;
}
