#pragma once
// The full-screen preview: a single picture with a close button, or a page of the open project shown as the
// player shows it, with its sound button and its navigation between the project's pages.

#include "platform/Bitmap.h"
#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <memory>

class JpegImage;
struct ViewerCallbacks;
class ViewerWidget;
class evMusic;
class evProjectorPage;

class TformPreview : public SkinnedScreen {
    Q_OBJECT

public:
    TformPreview();
    ~TformPreview() override;

    // The picture in the middle; with a size, shown at that size (a design's sample at the size of its page),
    // reduced to fit the panel when it is larger.
    void ShowPicture(const JpegImage& picture, QSize size = QSize());
    void PreparePicture(const JpegImage& picture, QSize size = QSize());
    void FinishPicture();

    // Keeps the page and frees it afterwards.
    void ShowPage(std::unique_ptr<evProjectorPage> page);
    void PreparePage(std::unique_ptr<evProjectorPage> page);
    void FinishPage();
    // The page in an area of the window, reduced to fit it, with the close button as a control below it; the
    // viewer gets the whole window back afterwards.
    void ShowPageInArea(std::unique_ptr<evProjectorPage> page, const Geometry::ControlRect& area);
    void PreparePageInArea(std::unique_ptr<evProjectorPage> page, const Geometry::ControlRect& area);

    // The page's callbacks. The sound flag says whether the project's music plays in the preview.
    bool IsSoundOn() const { return m_soundOn; }
    void ToggleSound();
    // -1 closes the preview; 0 or more shows that page of the project (in page order).
    void GoToTarget(int32_t target);

    void imgCloseClick();

    evProjectorPage* GetPage() const { return m_page.get(); }

    ViewerWidget* imgPreview;
    TImage* imgClose;

private:
    void StartPage();
    ViewerCallbacks PageCallbacks();
    evMusic* ProjectMusic() const;

    std::unique_ptr<evProjectorPage> m_page;
    Bitmap m_closePicture;
    bool m_soundOn = false;
};
