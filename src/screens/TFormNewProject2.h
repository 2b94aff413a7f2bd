#pragma once
// New project, page 2: the design. A list of the installed designs (16 rows visible, scrolled one row per press
// of the arrows), a preview of the selected one and its full-screen view. Accepting runs page 3.

#include "platform/Jpeg.h"
#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class evLayoutPreview;
class evObjectCollection;
class evProject;

class TFormNewProject2 : public SkinnedScreen {
    Q_OBJECT

public:
    TFormNewProject2();
    ~TFormNewProject2() override;

    // nullptr when cancelled here or on page 3, or when page 3 failed.
    std::unique_ptr<evProject> Run(const std::string& firstName, const std::string& secondName, double date);
    // Loads the pictures and lists the designs (evLayoutPreview items; the collection must outlive the run);
    // the first one is selected.
    void Prepare(const evObjectCollection& designs);
    // Clears the pictures, the preview and the list.
    void Finish();

    void SelectDesign(int32_t index);
    void ImgUpMouseDown();
    void ImgDownMouseDown();
    // The selected design full screen (preview click and full-screen button).
    void ShowFullScreen();
    void Image2Click();
    void Image1Click();
    void ImgBGMouseMove(int x, int y);

    bool GetAccepted() const { return m_accepted; }
    int32_t GetSelected() const { return m_selected; }
    int32_t GetFirstVisible() const { return m_firstVisible; }
    // The file name of the selected design; empty without a selection.
    std::string GetSelectedFileName() const;
    const std::vector<TLabel*>& GetLabels() const { return m_labels; }
    const JpegImage& GetPreviewJpeg() const { return m_previewJpeg; }

    TImage* ImgBG;
    TImage* imgTop;
    TImage* imgCnt;
    TImage* imgHelpBox;
    TLabel* labelHelp;
    TImage* Image3;
    TImage* ImgUp;
    TImage* ImgDown;
    TImage* imgLayoutPreview;
    TImage* ImgFullscreen;
    TImage* ImgFullScreenActive;
    TImage* Image1;
    TImage* Image2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateLabels();
    void FreeLabels();
    void PlaceLabels();
    void ShowPreviewOf(const evLayoutPreview& preview);
    const evLayoutPreview* PreviewAt(int32_t index) const;

    const evObjectCollection* m_designs = nullptr;
    std::vector<TLabel*> m_labels;
    JpegImage m_previewJpeg;
    int32_t m_selected = -1;
    int32_t m_firstVisible = 0;
    int32_t m_hint = -1;
    bool m_accepted = false;
};
