#pragma once
// The image edit screen: every photograph passes through it before it goes into a picture slot. It shows the
// photograph fitted into the image area, lets the user choose the part to keep with a crop frame in the slot's
// proportions, tells whether that part has pixels enough for the slot, offers greyscale and automatic tonal
// correction, and on Apply cuts the part out and resamples it to exactly the slot's size (or the slot's size
// turned by 90 degrees when the orientation is free and the frame is upright).
//
// The crop frame, the drag zones and the shown size are in pixels of the image control; the cut-out is computed
// in pixels of the photograph.
//
// A photograph file is read only as large as the screen and the slot need (a JPEG reduced in the decoder), so the
// screen comes up at once; the quality indicator and the cut-out still count in pixels of the whole photograph,
// and Apply reads the file again at the resolution the cut-out needs (never less than the slot's pixels) when the
// reduced picture has too few, repeating the greyscale and tonal correction chosen meanwhile.

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TFormImageEdit : public SkinnedScreen {
    Q_OBJECT

public:
    // What a press on the image grabs; handles win over the inside, the inside over the rest of the image.
    enum Zone : int32_t {
        zWholeImage = -1,
        zInside = 0,
        zTopLeft = 1,
        zTopRight = 2,
        zBottomRight = 3,
        zBottomLeft = 4,
    };
    struct DragZone {
        TRect rect; // right and bottom exclusive
        int32_t zone;
    };

    TFormImageEdit();
    ~TFormImageEdit() override;

    // True when the user applied; the result then holds the cut-out at the current target size. A file that is
    // no readable picture, or too large to hold, shows a message and returns false without showing the screen.
    bool Run(const std::string& fileName, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation, Bitmap& result);
    bool Run(const Bitmap& source, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation, Bitmap& result);

    // The preparation of a run (everything before the screen is shown); false as above.
    bool PrepareFile(const std::string& fileName, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation,
                     Bitmap& result);
    bool PrepareBitmap(const Bitmap& source, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation,
                       Bitmap& result);

    // Mouse on the image, in its own coordinates.
    void ImageMouseDown(int x, int y);
    void ImageMouseMove(int x, int y);
    void ImageMouseUp(int x, int y);
    void ImageOriginalClick();
    void ImageGrayClick();
    void ImageOptimizeClick();
    void ImgCancelClick();
    void ImgApplyClick();

    // State of the run, for the tests.
    // The picture as read (possibly reduced), and the whole photograph's size.
    const Bitmap& GetLoaded() const { return m_loaded; }
    TPoint GetPhotographSize() const { return m_full; }
    int GetReduction() const { return m_reduction; }
    const Bitmap& GetWorking() const { return m_working; }
    const Bitmap& GetDisplay() const { return m_display; }
    // The image control's picture: the display with the frame and its handles.
    const Bitmap& GetImageCanvas() const { return m_imageCanvas; }
    TRect GetCropFrame() const { return m_frame; }
    TPoint GetBaseSize() const { return m_base; }   // (A, B)
    TPoint GetTarget() const { return m_target; }   // (W, H)
    TPoint GetShownSize() const { return m_shown; } // (dw, dh)
    const std::vector<DragZone>& GetZones() const { return m_zones; }
    bool IsDragging() const { return m_dragging; }
    int32_t GetActiveZone() const { return m_activeZone; }
    bool IsApplied() const { return m_applied; }
    bool IsFixedOrientation() const { return m_fixedOrientation; }
    // The cut-out of the frame in photograph pixels (left, top, right, bottom), as Apply takes it.
    TRect PhotographCrop() const;

    TImage* ImgBG1;
    TImage* ImgBG2;
    TImage* ImgBG3;
    TImage* ImgBG4;
    TImage* imgLogo;
    TImage* Image;
    TImage* ImgCancel;
    TImage* ImgApply;
    TImage* ImageOriginal;
    TImage* ImageGray;
    TImage* ImageOptimize;
    TImage* ImgPositiv;
    TImage* ImgNeutral;
    TImage* ImgNegativ;
    TLabel* labelHelp;
    TLabel* labelTitle; // when the photograph was taken, as its file records

private:
    TImage* AddControl(const Geometry::ControlRect& rect, TImage::Role role, int32_t helpIndex);
    void Start(Bitmap photograph, int32_t slotWidth, int32_t slotHeight, bool fixedOrientation, Bitmap& result);
    TColor SkinColourBesideImage() const;
    void FitDisplay();
    void DrawShown(const TRect& rect);
    void PlaceInitialFrame();
    void Draw();
    void UpdateCursor(int x, int y);
    TRect ProposedFrame(int x, int y);
    TRect CornerMoved(int x, int y) const;
    bool IsAcceptable(const TRect& frame) const;
    void UpdateTarget();
    void UpdateIndicator();
    void Apply();
    // The pixels the cut-out is taken from: the working picture, or the file read again at a resolution that
    // gives the crop at least the target's pixels, with the edits repeated.
    Bitmap SourceForCrop(const TRect& crop) const;
    void RepeatEdits(Bitmap& picture) const;
    // Runs a handler's work; a failure is shown in a message instead of leaving the handler.
    void Guarded(const std::function<void()>& work);

    enum class Edit { Gray, Optimize };

    Bitmap m_loaded;
    std::string m_file; // empty for a picture given as a bitmap
    int m_reduction = 1;
    TPoint m_full;
    std::vector<Edit> m_edits; // since the picture was loaded or reset with Original
    Bitmap m_working;
    Bitmap m_display;
    Bitmap m_imageCanvas;
    Bitmap* m_result = nullptr;
    bool m_fixedOrientation = false;
    TPoint m_base;
    TPoint m_target;
    TPoint m_shown;
    TRect m_frame;
    std::vector<DragZone> m_zones;
    bool m_dragging = false;
    int32_t m_activeZone = zWholeImage;
    TPoint m_last;
    bool m_applied = false;
    int32_t m_helpNumber = -1;
};
