#pragma once
// The picture gallery of a slide show or film strip: every photograph a page files under one key (the action
// element's identifier) as a scrollable strip of thumbnails, a larger preview of the selected one, and buttons to
// add photographs from disk (each through the image edit screen) or the scanner, to delete one, and to apply or
// cancel. Changes go into the page at once, so that the strip and the image edit screen work on the real data;
// the copy of the page's user elements taken at the start undoes them unless the user applies.
//
// The strip is drawn from two layers as wide as the page has user elements (130 pixels per element): the
// thumbnails on black and a mask that is black under the thumbnails and white elsewhere, so that ANDing the mask
// and ORing the thumbnails over the strip's background leaves the background around the thumbnails.

#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <memory>
#include <vector>

class QTimer;
class evCategory;
class evObjectCollection;

class TFormGallery : public SkinnedScreen {
    Q_OBJECT

public:
    enum : int32_t { ResultProjectMenu = 0, ResultLeave = 1, ResultBack = 3 };
    // Pixels per user element in the strip, and the size a thumbnail is fitted into.
    static constexpr int kColumnWidth = 130;
    static constexpr int kThumbnailSize = 120;

    // One thumbnail: its rectangle in strip pixels (right and bottom exclusive) and the page's user element.
    struct Cell {
        TRect rect;
        int32_t entryIndex;
    };

    TFormGallery();
    ~TFormGallery() override;

    // 3 back to the picture editor, 0 back to the project menu, 1 leave the program.
    int32_t Run(evCategory& page, int32_t key, bool fixedOrientation, int32_t slotWidth, int32_t slotHeight);
    // The run up to the modal show, and its end (which undoes the changes unless they were applied).
    void Prepare(evCategory& page, int32_t key, bool fixedOrientation, int32_t slotWidth, int32_t slotHeight);
    void Finish();

    void BuildStrip();
    // One step of the strip: the offset moves by the step and the view is drawn again.
    void DrawView();
    void ShowCell(int32_t cell);

    void ImgTimelineMouseMove(int x, int y);
    void ImgTimelineMouseDown(int x, int y);
    void imgScrollLeftMouseDown();
    void imgScrollRightMouseDown();
    void imgScrollMouseUp();
    void timerTimer();
    void ImgBtnLoadClick();
    void ImgBtnScanClick();
    // The scan the gallery asked for is in the scan bitmap.
    void ScanReady();
    void ImgDeleteClick();
    void imgApplyClick();
    void ImgCancelClick();
    void imgTopPrjMenuClick();
    void imgTopSaveClick();
    void imgTopSpeakerOverClick();
    void imgTopExitClick();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // A mouse move in panel coordinates, reported by the background the mouse is over.
    void PanelMouseMove(const QObject* sender, int x, int y);

    int32_t GetResult() const { return m_result; }
    bool IsApplied() const { return m_applied; }
    bool GetMayClose() const { return m_mayClose; }
    const std::vector<Cell>& Cells() const { return m_cells; }
    int32_t GetHovered() const { return m_hovered; }
    int32_t GetSelected() const { return m_selected; }
    int GetStripWidth() const { return m_stripWidth; }
    int GetScrollOffset() const { return m_offset; }
    int GetScrollStep() const { return m_step; }
    bool IsScrolling() const;
    // Where the selected photograph was drawn in the preview (right and bottom exclusive).
    TRect GetPreviewRect() const { return m_previewRect; }
    const Bitmap& GetView() const { return m_view; }
    Bitmap& ScanBitmap() { return m_scanBitmap; }

    TImage* imgBg1;
    TImage* imgBg2;
    TImage* imgBg3;
    TImage* imgBg4;
    TImage* imgLogo;
    TImage* imgPreview;
    TImage* ImgBtnLoad;
    TImage* ImgBtnScan;
    TImage* ImgNoScanner;
    TImage* ImgDelete;
    TImage* imgApply;
    TImage* ImgCancel;
    TImage* imgTopPrjMenu;
    TImage* imgTopSave;
    TImage* imgTopSpeaker;
    TImage* imgTopSpeakerOver;
    TImage* imgTopExit;
    TImage* imgTimelineBG;
    TImage* ImgTimeline;
    TImage* imgScrollLeft;
    TImage* imgScrollRight;
    TLabel* labelHelp;
    QTimer* timer;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TImage* AddBackground(const Geometry::ControlRect& rect, int32_t skinIndex);
    TImage* AddButton(const Geometry::ControlRect& rect, int32_t hint);
    TImage* AddTopBarImage(const Geometry::ControlRect& rect, int32_t skinIndex, int32_t hint);
    void ConnectHandlers();
    void UpdateSpeakerImages();
    void ClearPreview();
    void DrawThumbnail(int32_t entryIndex);
    // Adds the photographs of the files or the scan under the gallery's key; false when none was applied.
    bool AddEdited(const Bitmap* scan, const std::vector<std::string>& files);
    void AfterAddition(int32_t firstNewCell);
    void CloseWith(int32_t result);
    void ExitDecision();
    int BackgroundWidth() const;

    evCategory* m_page = nullptr;
    int32_t m_key = 0;
    bool m_fixedOrientation = true;
    int32_t m_slotWidth = 0;
    int32_t m_slotHeight = 0;
    int32_t m_result = ResultBack;
    bool m_applied = false;
    bool m_mayClose = false;
    // The page changed during the run, and a save wrote such a change to the file.
    bool m_changed = false;
    bool m_savedChanges = false;
    std::unique_ptr<evObjectCollection> m_copy;
    std::vector<Cell> m_cells;
    int32_t m_hovered = -1;
    int32_t m_selected = -1;
    int m_stripWidth = 0;
    int m_offset = 0;
    int m_step = 0;
    Bitmap m_background;
    Bitmap m_view;
    Bitmap m_thumbnails;
    Bitmap m_mask;
    Bitmap m_scanBitmap;
    TRect m_previewRect;
    int32_t m_helpNumber = -1;
};
