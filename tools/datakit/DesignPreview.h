#pragma once
// Renders the page layouts of a design as an album would show them: the design is put into a temporary album
// (a couple's names, a date and a chapter tree), and each page layout is bound to a chapter whose slots hold
// painted sample photographs (SamplePhotographs), slide shows and film strips several of them. Slots with an
// alternate frame get photographs of both orientations in turn, so turned photographs show too. The data kit
// uses this for the designs' sample pictures and for its preview of every page.

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

class evCategory;
class evLayout;
class evObjectCollection;
class evPageLayout;
class evProject;
class evProjectorPage;

class DesignPreview {
public:
    explicit DesignPreview(std::unique_ptr<evLayout> design);
    ~DesignPreview();
    DesignPreview(const DesignPreview&) = delete;
    DesignPreview& operator=(const DesignPreview&) = delete;

    evLayout& Design() const;
    // The page filled with sample content; what the rendering raises is passed on.
    QImage RenderFilled(evPageLayout& layout);
    // The same page turned into a presentation page, as the disc shows it.
    std::unique_ptr<evProjectorPage> PresentationPage(evPageLayout& layout);
    // The page as the layout editor previews it (RenderPreview: empty slots marked).
    static QImage RenderEmpty(evPageLayout& layout);

private:
    evCategory* CategoryFor(const evPageLayout& layout) const;
    void RenderBound(evPageLayout& layout, evProjectorPage* page);
    std::unique_ptr<evObjectCollection> SampleContent(evPageLayout& layout);
    void AddPhoto(evObjectCollection& content, int32_t slotId, int width, int height);

    std::unique_ptr<evProject> m_project;
    int m_scene = 0;
    int m_turnable = 0;
};
