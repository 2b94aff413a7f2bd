#include "screens/TFormImageEdit.h"

#include "imaging/BoxShrink.h"
#include "imaging/GrayBitmap.h"
#include "imaging/OptimizeBitmap.h"
#include "imaging/PhotographFile.h"
#include "imaging/ResampleBilinear.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "screens/DataIndexes.h"
#include "screens/HourglassCursor.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TokPopup.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <new>

namespace G = Geometry::ImageEdit;

namespace {

constexpr int32_t kSpeechClip = 2;
constexpr int kMinimumFrame = 10;
constexpr int kNewFrame = 15;

int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// num / den rounded to the nearest integer, halves to the even neighbour; den > 0. Kept exact, because a value
// such as 609 / 300 * 200 comes out just below 406 in floating point.
int32_t RoundRatio(int64_t num, int64_t den)
{
    const int64_t q = FloorDiv(num, den);
    const int64_t twice = 2 * (num - q * den);
    if (twice > den || (twice == den && (q & 1) != 0))
        return static_cast<int32_t>(q + 1);
    return static_cast<int32_t>(q);
}

// "Taken on" and the capture date ("YYYY-MM-DD HH:MM:SS") in the user's own short form; empty without a date.
QString TakenOnCaption(const std::string& captureDate)
{
    const QDateTime taken =
        QDateTime::fromString(QString::fromStdString(captureDate), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!taken.isValid())
        return {};
    return HelpText(Help::ImageEditTakenOn) + QLatin1Char(' ') + QLocale().toString(taken, QLocale::ShortFormat);
}

void ShowMessage(const QString& text)
{
    ktLogs::LogLine("Image edit: " + text.toStdString());
    if (TokPopup* popup = Screens().okPopup.get())
        popup->Run(text);
}

} // namespace

TFormImageEdit::TFormImageEdit() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG1 = AddControl(G::ImgBG1, TImage::Role::Background, Help::ImageEditInstruction);
    ImgBG2 = AddControl(G::ImgBG2, TImage::Role::Background, Help::ImageEditInstruction);
    ImgBG3 = AddControl(G::ImgBG3, TImage::Role::Background, Help::ImageEditInstruction);
    ImgBG4 = AddControl(G::ImgBG4, TImage::Role::Background, Help::ImageEditInstruction);
    AddSkin(ImgBG1, Skin::ImageEditTop);
    AddSkin(ImgBG2, Skin::ImageEditLeft);
    AddSkin(ImgBG3, Skin::ImageEditBottom);
    AddSkin(ImgBG4, Skin::ImageEditRight);
    imgLogo = AddImage(G::imgLogo);
    Image = AddImage(G::Image, TImage::Role::Background);
    Image->setCursor(Qt::CrossCursor);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle());
    WatchHints(labelHelp, &m_helpNumber);
    labelTitle = AddLabel(G::labelTitle, PopupTextStyle(kColorWhite));
    ImgPositiv = AddControl(G::ImgPositiv, TImage::Role::Background, Help::ResolutionGood);
    ImgNeutral = AddControl(G::ImgNeutral, TImage::Role::Background, Help::ResolutionBorderline);
    ImgNegativ = AddControl(G::ImgNegativ, TImage::Role::Background, Help::ResolutionLow);
    AddSkin(ImgNegativ, Skin::ResolutionLow);
    AddSkin(ImgNeutral, Skin::ResolutionBorderline);
    AddSkin(ImgPositiv, Skin::ResolutionGood);
    ImgCancel = AddControl(G::ImgCancel, TImage::Role::Button, Help::HintImageCancel);
    ImgApply = AddControl(G::ImgApply, TImage::Role::Button, Help::HintImageApply);
    ImageOriginal = AddControl(G::ImageOriginal, TImage::Role::Button, Help::HintImageOriginal);
    ImageGray = AddControl(G::ImageGray, TImage::Role::Button, Help::HintImageGrey);
    ImageOptimize = AddControl(G::ImageOptimize, TImage::Role::Button, Help::HintImageOptimise);

    connect(Image, &TImage::mouseDown, this, [this](int x, int y) { ImageMouseDown(x, y); });
    connect(Image, &TImage::mouseMoved, this, [this](int x, int y) { ImageMouseMove(x, y); });
    connect(Image, &TImage::mouseUp, this, [this](int x, int y) { ImageMouseUp(x, y); });
    connect(ImgCancel, &TImage::clicked, this, [this] { ImgCancelClick(); });
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
    connect(ImageOriginal, &TImage::clicked, this, [this] { ImageOriginalClick(); });
    connect(ImageGray, &TImage::clicked, this, [this] { ImageGrayClick(); });
    connect(ImageOptimize, &TImage::clicked, this, [this] { ImageOptimizeClick(); });
}

TFormImageEdit::~TFormImageEdit() = default;

TImage* TFormImageEdit::AddControl(const Geometry::ControlRect& rect, TImage::Role role, int32_t helpIndex)
{
    TImage* image = AddImage(rect, role);
    connect(image, &TImage::mouseMoved, this,
            [this, helpIndex](int, int) { ShowHelpHint(labelHelp, m_helpNumber, helpIndex); });
    return image;
}

bool TFormImageEdit::Run(const std::string& fileName, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation,
                         Bitmap& result)
{
    if (!PrepareFile(fileName, slotWidth, slotHeight, fixedOrientation, result))
        return false;
    ShowModal();
    EndRun();
    return m_applied;
}

bool TFormImageEdit::Run(const Bitmap& source, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation,
                         Bitmap& result)
{
    if (!PrepareBitmap(source, slotWidth, slotHeight, fixedOrientation, result))
        return false;
    ShowModal();
    EndRun();
    return m_applied;
}

// The photograph is read before anything of the screen changes, so a file that fails leaves the screen as it was.
bool TFormImageEdit::PrepareFile(const std::string& fileName, int32_t slotWidth, int32_t slotHeight,
                                 bool fixedOrientation, Bitmap& result)
{
    QString failure;
    {
        HourglassCursor hourglass;
        ReducedPhotograph read;
        try {
            // Enough for the image area and for the slot's pixels in either orientation.
            const int32_t slot = std::max(slotWidth, slotHeight);
            read = ReadPhotographReduced(fileName, std::max(G::Image.w, slot), std::max(G::Image.h, slot));
        } catch (const EVelloraError& e) {
            failure = QString::fromUtf8(e.what());
        } catch (const std::bad_alloc&) {
            failure = QStringLiteral("There is not enough memory for this picture.");
        }
        if (failure.isEmpty()) {
            m_file = fileName;
            m_reduction = read.factor;
            m_full = TPoint{read.fullWidth, read.fullHeight};
            Start(std::move(read.photograph.bitmap), slotWidth, slotHeight, fixedOrientation, result);
            labelTitle->SetCaption(TakenOnCaption(read.photograph.captureDate));
            return true;
        }
    }
    ShowMessage(failure);
    return false;
}

bool TFormImageEdit::PrepareBitmap(const Bitmap& source, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation,
                                   Bitmap& result)
{
    if (source.IsEmpty()) {
        ShowMessage(QStringLiteral("There is no picture to edit."));
        return false;
    }
    HourglassCursor hourglass;
    m_file.clear();
    m_reduction = 1;
    m_full = TPoint{source.Width(), source.Height()};
    Start(source, slotWidth, slotHeight, fixedOrientation, result);
    labelTitle->SetCaption(QString());
    return true;
}

void TFormImageEdit::Start(Bitmap photograph, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation,
                           Bitmap& result)
{
    photograph.SetPixelFormat(PixelFormat::pf24bit);
    BeginRun();
    m_applied = false;
    m_fixedOrientation = fixedOrientation;
    m_result = &result;
    // A slot of no size (a damaged design) is treated as one pixel, so no proportion divides by zero.
    const int32_t width = std::max(slotWidth, 1);
    const int32_t height = std::max(slotHeight, 1);
    m_base = (width > height || fixedOrientation) ? TPoint{width, height} : TPoint{height, width};
    m_target = m_base;
    m_loaded = std::move(photograph);
    m_working = m_loaded;
    m_edits.clear();
    m_display = Bitmap(G::Image.w, G::Image.h, PixelFormat::pf24bit);
    m_display.GetCanvas().SetBrushColor(SkinColourBesideImage());
    m_display.GetCanvas().SetBrushStyle(BrushStyle::Solid);
    m_display.GetCanvas().FillRect(Rect(0, 0, G::Image.w, G::Image.h));
    m_shown = TPoint{G::Image.w, G::Image.h};
    FitDisplay();
    PlaceInitialFrame();
    m_dragging = false;
    m_activeZone = zWholeImage;
    Image->setCursor(Qt::CrossCursor);
    m_helpNumber = -1;
    UpdateIndicator();
    Draw();
    ShowHelpHint(labelHelp, m_helpNumber, Help::ImageEditInstruction);
    PlaySpeech(kSpeechClip);
}

// The part of the image area that the photograph leaves free takes the colour of the skin just left of the
// area, so that it reads as background and not as a white part of the photograph.
TColor TFormImageEdit::SkinColourBesideImage() const
{
    const QImage& skin = ImgBG2->Picture();
    if (skin.width() < 1 || skin.height() < 1)
        return kColorBlack;
    return FromQColor(QColor(skin.pixel(skin.width() - 1, skin.height() / 2)));
}

// The photograph as large as it fits, with its proportions, at the top left. The shown size stays within the
// image area even where rounding would give one pixel more, and is never 0 for a photograph of extreme shape.
void TFormImageEdit::FitDisplay()
{
    if (m_working.IsEmpty())
        return;
    const int pw = m_working.Width();
    const int ph = m_working.Height();
    const int bw = G::Image.w;
    const int bh = G::Image.h;
    const int fittedWidth = std::clamp(RoundRatio(int64_t{pw} * bh, ph), 1, bw);
    const int fittedHeight = std::max(RoundRatio(int64_t{ph} * bw, pw), 1);
    if (fittedHeight < bh) {
        DrawShown(Rect(0, 0, bw, fittedHeight));
        m_shown.Y = fittedHeight;
    } else {
        DrawShown(Rect(0, 0, fittedWidth, bh));
        m_shown.X = fittedWidth;
    }
}

// A photograph of many megapixels is first averaged down by a whole factor to less than twice the shown size;
// stretching it all the way in one step costs many times as long.
void TFormImageEdit::DrawShown(const TRect& rect)
{
    const int factor = std::min(m_working.Width() / rect.Width(), m_working.Height() / rect.Height());
    Canvas& canvas = m_display.GetCanvas();
    if (factor < 2)
        canvas.StretchDraw(rect, m_working);
    else
        canvas.StretchDraw(rect, BoxShrink(m_working, factor));
}

// The largest frame of the target's proportions in the top-left corner of the shown photograph; a portrait
// photograph gets an upright frame when the orientation is free.
void TFormImageEdit::PlaceInitialFrame()
{
    const int64_t a = m_base.X;
    const int64_t b = m_base.Y;
    const int dw = m_shown.X;
    const int dh = m_shown.Y;
    const bool upright = !m_fixedOrientation && dh > dw;
    if (upright)
        m_target = TPoint{m_base.Y, m_base.X};
    const int64_t across = upright ? b : a; // the target's width and height
    const int64_t down = upright ? a : b;
    const auto h0 = static_cast<int32_t>(dw * down / across);
    if (h0 < dh)
        m_frame = Rect(0, 0, dw, h0);
    else
        m_frame = Rect(0, 0, static_cast<int32_t>(dh * across / down), dh);
}

void TFormImageEdit::Draw()
{
    m_imageCanvas = m_display;
    Canvas& canvas = m_imageCanvas.GetCanvas();
    m_zones.assign(1, DragZone{Rect(0, 0, Image->width(), Image->height()), zWholeImage});
    const TRect& f = m_frame;
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenColor(kColorWhite);
    canvas.Rectangle(f);
    canvas.SetPenStyle(PenStyle::Dot);
    canvas.SetPenColor(kColorBlack);
    canvas.Rectangle(f);
    m_zones.push_back({f, zInside});
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(kColorWhite);
    canvas.SetPenStyle(PenStyle::Solid);
    const DragZone handles[] = {
        {Rect(f.Left - 3, f.Top - 3, f.Left + 5, f.Top + 5), zTopLeft},
        {Rect(f.Right - 5, f.Top - 3, f.Right + 3, f.Top + 5), zTopRight},
        {Rect(f.Right - 5, f.Bottom - 5, f.Right + 3, f.Bottom + 3), zBottomRight},
        {Rect(f.Left - 3, f.Bottom - 5, f.Left + 5, f.Bottom + 3), zBottomLeft},
    };
    for (const DragZone& handle : handles) {
        canvas.Rectangle(handle.rect);
        m_zones.push_back(handle);
    }
    Image->SetPicture(m_imageCanvas.Image());
}

void TFormImageEdit::ImageMouseDown(int x, int y)
{
    m_dragging = false;
    for (const DragZone& zone : m_zones) {
        const TRect& r = zone.rect;
        if (r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom) {
            m_activeZone = zone.zone;
            m_dragging = true;
            m_last = TPoint{x, y};
        }
    }
}

void TFormImageEdit::ImageMouseMove(int x, int y)
{
    UpdateCursor(x, y);
    if (!m_dragging)
        return;
    const TRect proposed = ProposedFrame(x, y);
    if (IsAcceptable(proposed))
        m_frame = proposed;
    Draw();
    UpdateTarget();
    UpdateIndicator();
}

void TFormImageEdit::ImageMouseUp(int, int) { m_dragging = false; }

void TFormImageEdit::UpdateCursor(int x, int y)
{
    int32_t under = zWholeImage - 1; // outside every zone
    for (const DragZone& zone : m_zones) {
        const TRect& r = zone.rect;
        if (r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom)
            under = zone.zone;
    }
    switch (under) {
    case zTopLeft:
    case zBottomRight: Image->setCursor(Qt::SizeFDiagCursor); break;
    case zTopRight:
    case zBottomLeft: Image->setCursor(Qt::SizeBDiagCursor); break;
    case zInside: Image->setCursor(Qt::SizeAllCursor); break;
    default: Image->setCursor(Qt::CrossCursor); break;
    }
}

// A press outside the frame starts a small new frame at the mouse whose bottom-right corner the following moves
// drag; a press inside moves the frame; a handle moves its corner.
TRect TFormImageEdit::ProposedFrame(int x, int y)
{
    switch (m_activeZone) {
    case zWholeImage: m_activeZone = zBottomRight; return Rect(x, y, x + kNewFrame, y + kNewFrame);
    case zInside: {
        const int dx = x - m_last.X;
        const int dy = y - m_last.Y;
        const TRect moved = Rect(m_frame.Left + dx, m_frame.Top + dy, m_frame.Right + dx, m_frame.Bottom + dy);
        // Remembered also when the move is refused, so the frame stops at an edge instead of jumping later.
        m_last = TPoint{x, y};
        return moved;
    }
    default: return CornerMoved(x, y);
    }
}

// The dragged corner goes to the mouse; then the width follows the height in the target's proportions (upright
// ones when the orientation is free and the frame has become narrower than high).
TRect TFormImageEdit::CornerMoved(int x, int y) const
{
    TRect f = m_frame;
    const bool left = m_activeZone == zTopLeft || m_activeZone == zBottomLeft;
    const bool top = m_activeZone == zTopLeft || m_activeZone == zTopRight;
    (left ? f.Left : f.Right) = x;
    (top ? f.Top : f.Bottom) = y;
    const int64_t w = f.Right - f.Left - 1;
    const int64_t h = f.Bottom - f.Top - 1;
    const bool upright = !m_fixedOrientation && w < h;
    const int32_t width = upright ? RoundRatio(m_base.Y * h, m_base.X) : RoundRatio(m_base.X * h, m_base.Y);
    if (left)
        f.Left = f.Right - width;
    else
        f.Right = f.Left + width;
    return f;
}

bool TFormImageEdit::IsAcceptable(const TRect& f) const
{
    return f.Right - f.Left >= kMinimumFrame && f.Bottom - f.Top >= kMinimumFrame && f.Right > f.Left &&
           f.Bottom > f.Top && f.Left >= 0 && f.Top >= 0 && f.Right <= Image->width() && f.Bottom <= Image->height() &&
           f.Right <= m_shown.X && f.Bottom <= m_shown.Y;
}

void TFormImageEdit::UpdateTarget()
{
    const bool upright = !m_fixedOrientation && m_frame.Width() < m_frame.Height();
    m_target = upright ? TPoint{m_base.Y, m_base.X} : m_base;
}

// The frame's width in photograph pixels against the target's width: below three quarters the cut-out will be
// enlarged by more than a third, below one it will be enlarged at all.
void TFormImageEdit::UpdateIndicator()
{
    const int64_t pw = m_full.X;
    const int64_t dw = m_shown.X;
    const int64_t width = RoundRatio(pw * m_frame.Right, dw) - RoundRatio(pw * m_frame.Left, dw);
    const int64_t target = m_target.X;
    const bool negativ = 4 * width < 3 * target;
    const bool neutral = !negativ && width < target;
    ImgNegativ->setVisible(negativ);
    ImgNeutral->setVisible(neutral);
    ImgPositiv->setVisible(!negativ && !neutral);
    const int32_t hint = negativ ? Help::ResolutionLow : neutral ? Help::ResolutionBorderline : Help::ResolutionGood;
    ShowHelpHint(labelHelp, m_helpNumber, hint);
}

void TFormImageEdit::ImageOriginalClick()
{
    Guarded([this] {
        HourglassCursor hourglass;
        m_working = m_loaded;
        m_edits.clear();
        FitDisplay();
        Draw();
    });
}

void TFormImageEdit::ImageGrayClick()
{
    Guarded([this] {
        HourglassCursor hourglass;
        GrayBitmap(m_display, gsFull);
        GrayBitmap(m_working, gsFull);
        m_edits.push_back(Edit::Gray);
        Draw();
    });
}

void TFormImageEdit::ImageOptimizeClick()
{
    Guarded([this] {
        HourglassCursor hourglass;
        OptimizeBitmap(m_working);
        m_edits.push_back(Edit::Optimize);
        FitDisplay();
        Draw();
    });
}

void TFormImageEdit::ImgCancelClick()
{
    StopSpeech();
    m_applied = false;
    Close();
}

void TFormImageEdit::ImgApplyClick()
{
    StopSpeech();
    Guarded([this] {
        Apply();
        m_applied = true;
        Close();
    });
}

// The frame line itself is left out on the left and top. A frame over a photograph of very few pixels can
// round to nothing; the cut-out then keeps at least one pixel inside the photograph.
TRect TFormImageEdit::PhotographCrop() const
{
    const int64_t pw = m_full.X;
    const int64_t ph = m_full.Y;
    const int64_t dw = m_shown.X;
    const int64_t dh = m_shown.Y;
    auto left = static_cast<int32_t>(FloorDiv(pw * m_frame.Left, dw) + 1);
    auto top = static_cast<int32_t>(FloorDiv(ph * m_frame.Top, dh) + 1);
    auto right = static_cast<int32_t>(FloorDiv(pw * m_frame.Right, dw));
    auto bottom = static_cast<int32_t>(FloorDiv(ph * m_frame.Bottom, dh));
    left = std::clamp(left, 0, static_cast<int32_t>(pw - 1));
    top = std::clamp(top, 0, static_cast<int32_t>(ph - 1));
    right = std::clamp(right, left + 1, static_cast<int32_t>(pw));
    bottom = std::clamp(bottom, top + 1, static_cast<int32_t>(ph));
    return Rect(left, top, right, bottom);
}

void TFormImageEdit::Apply()
{
    if (!m_result || m_working.IsEmpty())
        return;
    HourglassCursor hourglass;
    const TRect crop = PhotographCrop();
    const Bitmap source = SourceForCrop(crop);
    // The crop in the source's pixels: whatever of a source pixel the crop touches is taken.
    auto scaled = [](int64_t value, int64_t size, int64_t full, bool up) {
        const int64_t product = value * size;
        return static_cast<int32_t>(up ? (product + full - 1) / full : product / full);
    };
    const int32_t sw = source.Width();
    const int32_t sh = source.Height();
    const int32_t left = std::clamp(scaled(crop.Left, sw, m_full.X, false), 0, sw - 1);
    const int32_t top = std::clamp(scaled(crop.Top, sh, m_full.Y, false), 0, sh - 1);
    const int32_t right = std::clamp(scaled(crop.Right, sw, m_full.X, true), left + 1, sw);
    const int32_t bottom = std::clamp(scaled(crop.Bottom, sh, m_full.Y, true), top + 1, sh);
    Bitmap result(m_target.X, m_target.Y, PixelFormat::pf24bit);
    const Bitmap cut(source.Image().copy(left, top, right - left, bottom - top));
    ResampleBilinear(cut, result);
    *m_result = std::move(result);
}

Bitmap TFormImageEdit::SourceForCrop(const TRect& crop) const
{
    // The largest reduction, no larger than the one read, that leaves the crop the target's pixels.
    int reduction = m_reduction;
    while (reduction > 1 && (crop.Width() / reduction < m_target.X || crop.Height() / reduction < m_target.Y))
        reduction /= 2;
    if (reduction == m_reduction || m_file.empty())
        return m_working;
    ReducedPhotograph read = ReadPhotographReduced(m_file, m_full.X / reduction, m_full.Y / reduction);
    if (read.fullWidth != m_full.X || read.fullHeight != m_full.Y)
        throw EImageError("The photograph's file has changed since it was opened");
    RepeatEdits(read.photograph.bitmap);
    return std::move(read.photograph.bitmap);
}

void TFormImageEdit::RepeatEdits(Bitmap& picture) const
{
    picture.SetPixelFormat(PixelFormat::pf24bit);
    for (const Edit edit : m_edits) {
        if (edit == Edit::Gray)
            GrayBitmap(picture, gsFull);
        else
            OptimizeBitmap(picture);
    }
}

void TFormImageEdit::Guarded(const std::function<void()>& work)
{
    try {
        work();
    } catch (const EVelloraError& e) {
        ShowMessage(QStringLiteral("The photograph could not be prepared: %1").arg(QString::fromUtf8(e.what())));
    } catch (const std::bad_alloc&) {
        ShowMessage(QStringLiteral("There is not enough memory for this photograph."));
    }
}
