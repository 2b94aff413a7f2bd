#pragma once
// The picture editor, the second of the page editors: it shows the timeline's current page, marks the picture
// slot being filled with a yellow frame and fills it with photographs from disk (or a scanner), each passed
// through the image edit screen so that it arrives at the slot's size. Slide shows and film strips collect any
// number of photographs under their action element and also open the picture gallery.

#include "imaging/TTwainAcquire.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"
#include "screens/TPageEditorScreen.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class evActionElement;
class evPageLayout;
class evPageLayoutEntry;
class evUserPicture;

class TformProjectEditPicture : public TPageEditorScreen {
    Q_OBJECT

public:
    // Who asked the scanner for the scan that is ready: this editor or the gallery.
    enum : uint8_t { ScanOfGallery = 0, ScanOfEditor = 1 };

    TformProjectEditPicture();
    ~TformProjectEditPicture() override;

    // The open-picture dialog of the editor (also lent to the gallery); several files only when asked.
    static std::vector<std::string> ChoosePictureFiles(bool several);

    // Offers the first unfilled slot of the page's layout; when every slot is filled, keeps the current one
    // (after a photograph was added) or falls back to the last filled one.
    void ChooseSlot(bool firstVisit);
    // Makes the slot current, with the slot whose size the photograph gets and the entry that places it, and
    // draws the page with the selection frame.
    void SelectSlot(evUserPicture* slot, evUserPicture* sizeElement, evPageLayoutEntry* entry);
    // True when the photograph must keep the slot's orientation: only a slot with both frames can show it turned.
    bool IsFixedOrientation() const;
    // Files the edited photograph for the current slot (a new one for slide shows and film strips).
    void Store(const Bitmap& work);

    void imgPreviewMouseUp(int x, int y);
    void imgAddPicHddClick();
    void imgAddPicScanClick();
    void ImgBtnGalleryClick();
    void imgFullscreenClick();
    // The scanner's scan is in the scan bitmap (empty when the user cancelled the source's dialog).
    void ScanReady();
    // The gallery starts a scan with this editor's scanner: the next ScanReady is the gallery's.
    void SetScanModeGallery() { m_scanMode = ScanOfGallery; }
    // Lets the user choose the source (the form disabled meanwhile), then starts an acquisition into target
    // under the hourglass, which ScanReady takes away. An error of the scanner is shown and ends the scan.
    void StartScan(QWidget& form, Bitmap& target);
    Bitmap& ScanBitmap() { return m_scanBitmap; }
    // True when a scanner driver was found and the scanner's manager opened at creation.
    bool HasScanner() const { return m_hasScanner; }

    evUserPicture* GetCurrentSlot() const { return m_slot; }
    evUserPicture* GetSizeElement() const { return m_sizeElement; }
    evPageLayoutEntry* GetCurrentEntry() const { return m_entry; }
    evActionElement* GetCurrentActionElement() const { return m_actionElement; }
    // The selection frame last drawn, in page pixels.
    std::optional<TRect> GetFrame() const { return m_frame; }
    uint8_t GetScanMode() const { return m_scanMode; }

    TImage* imgBg1;
    TImage* imgBg2;
    TImage* imgBg3;
    TImage* imgBg4;
    TImage* imgAddPicHdd;
    TImage* imgAddPicScan;
    TImage* imgNoScanner;
    TImage* ImgBtnGallery;
    TImage* ImgGallery;
    TImage* imgPreview;
    // The scanner, also lent to the gallery.
    std::unique_ptr<TTwainAcquire> TwainAcquire1;

protected:
    void PrepareEditor() override;
    void ShowThePage() override;

private:
    // A candidate of the slot choice: the slot, the slot it takes its size from, its entry and the action
    // element through which it was found.
    struct SlotChoice {
        evUserPicture* slot = nullptr;
        evUserPicture* sizeElement = nullptr;
        evPageLayoutEntry* entry = nullptr;
        evActionElement* action = nullptr;
    };

    TImage* AddButton(const Geometry::ControlRect& rect, int32_t hint);
    evPageLayout* CurrentLayout() const;
    bool IsFilled(const evUserPicture* slot) const;
    static SlotChoice PlacedSlot(evPageLayout& layout, int32_t entryId);
    bool ChooseFromEntries(evPageLayout& layout, SlotChoice& fallback);
    bool ChooseFromActions(evPageLayout& layout, SlotChoice& fallback);
    void Select(const SlotChoice& choice);
    std::optional<TRect> FrameRect() const;
    void DrawPreview();
    void ShowGalleryButton();
    void ClearSelection();
    // After photographs were added: the page is marked, the timeline redrawn and the next slot offered.
    void AfterAddition();
    void OpenScanner();
    void SetScanCursor(bool waiting);

    evUserPicture* m_slot = nullptr;
    evUserPicture* m_sizeElement = nullptr;
    evPageLayoutEntry* m_entry = nullptr;
    evActionElement* m_actionElement = nullptr;
    std::optional<TRect> m_frame;
    uint8_t m_scanMode = ScanOfEditor;
    Bitmap m_scanBitmap;
    bool m_hasScanner = false;
    bool m_scanCursor = false;
};
