#pragma once
// The layout editor, the first of the page editors: for the timeline's current page the user picks one of the
// design's page layouts, offered by page kind (only text, text and pictures, only pictures, animation). A
// layout chosen for a page that already holds pictures or texts drops them after a question.

#include "screens/TPageEditorScreen.h"

#include <QString>

#include <cstdint>
#include <vector>

class evPageLayout;

class TformProjectEditLayout : public TPageEditorScreen {
    Q_OBJECT

public:
    TformProjectEditLayout();
    ~TformProjectEditLayout() override;

    // Shows the kind buttons for the kind and lists the design's page layouts of that kind (kind 1 also lists
    // kind 3); at most the first 16 labels are visible.
    void ShowList(int32_t kind);
    // Highlights the layout's label and draws its preview; with retry, a layout not in the list switches to the
    // list of its kind first.
    void SelectLayout(evPageLayout* layout, bool retry);
    void DescribeLayout(int32_t index);
    void ChooseLayout(int32_t index);

    void imgKindClick(int32_t kind);
    void imgFullscreenClick();

    struct LayoutItem {
        TLabel* label;
        evPageLayout* layout;
    };
    const std::vector<LayoutItem>& LayoutList() const { return m_layoutList; }
    int32_t GetSelectedIndex() const { return m_selectedIndex; }
    int32_t GetCurrentKind() const { return m_currentKind; }
    evPageLayout* GetCurrentLayout() const { return m_currentLayout; }

    TImage* imgBkg;
    TImage* imgKindOnlyText;
    TImage* imgKindTextAndPic;
    TImage* imgKindOnlyPic;
    TImage* imgKindAnimation;
    TImage* imgPreview;

protected:
    void PrepareEditor() override;
    void ShowThePage() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TImage* AddKindButton(const Geometry::ControlRect& rect, int32_t skinIndex, int32_t kind, int32_t hint);
    void FreeList();
    void AddLayoutLabel(evPageLayout* layout);
    void HighlightLabel(int32_t index);
    void SetLabelOpaque(TLabel* label, bool opaque);
    void DrawLayoutPreview();
    int32_t IndexOfLabel(const QObject* label) const;

    std::vector<LayoutItem> m_layoutList;
    int32_t m_selectedIndex = -1;
    int32_t m_currentKind = -1;
    evPageLayout* m_currentLayout = nullptr;
};
