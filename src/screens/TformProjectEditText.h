#pragma once
// The text editor, the third page editor: the texts of the current page's text fields, one field at a time, in
// a transparent memo over the skin, with bold, italic, underline, larger, smaller, a font dialog and a button to
// the next field. The page preview frames the field being edited in yellow.
//
// The page keeps its own copy of each field it shows (same identifier as the layout's template); the editor
// changes only that copy, directly in the project.

#include "screens/TPageEditorScreen.h"

#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

class QTimer;
class TTransMemo;
class evPageLayout;
class evPageLayoutEntry;
class evUserTextfield;

class TformProjectEditText : public TPageEditorScreen {
    Q_OBJECT

public:
    // A field the user may edit (fixed 0) and the entry of the page layout that places it.
    struct FieldPlace {
        evUserTextfield* field;
        evPageLayoutEntry* entry;
    };

    TformProjectEditText();
    ~TformProjectEditText() override;

    // The editable fields of the layout in entry order.
    static std::vector<FieldPlace> EditableFields(const evPageLayout& layout);
    // The page's copy of the template field, made from the template and added to the page when it has none.
    evUserTextfield* PageCopyOf(evCategory& page, const evUserTextfield& field);
    void SelectFirstField();
    // Shows the page copy in the memo and frames its place in the preview.
    void Select(evUserTextfield* field, evPageLayoutEntry* entry);

    void imgNextTextfieldClick();
    void memoTextChange();
    void imgBoldClick();
    void imgItalicClick();
    void imgUnderlineClick();
    void imgUpperClick();
    void imgLowerClick();
    void imgFontClick();
    void imgFullscreenClick();

    // The page's rendering, the strip's thumbnail and the preview follow the page's content (typing catches up
    // after a short pause).
    void RefreshPage();
    bool IsPageRefreshPending() const;

    evUserTextfield* GetCurrentField() const { return m_currentField; }
    evPageLayoutEntry* GetCurrentEntry() const { return m_currentEntry; }
    int32_t GetMemoFontSize() const { return m_memoFontSize; }

    TImage* imgBg1;
    TImage* imgBg2;
    TImage* imgBg3;
    TImage* imgBg4;
    TImage* imgPreview;
    TImage* imgBold;
    TImage* imgItalic;
    TImage* imgUnderline;
    TImage* imgUpper;
    TImage* imgLower;
    TImage* imgFont;
    TImage* imgNextTextfield;
    TTransMemo* memoText;

protected:
    void PrepareEditor() override;
    void ShowThePage() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TImage* AddStyleButton(const Geometry::ControlRect& rect, int32_t hint, void (TformProjectEditText::*handler)());
    void CreateMemo();
    evPageLayout* CurrentLayout() const;
    void ForgetField();
    void SetMemoFont(const std::string& name, int32_t size, int style);
    void SetMemoText(const std::string& text);
    std::string FaceNameOf(const evUserTextfield& field) const;
    void ShowPreview();
    void FieldStyleChanged();
    void FlushPendingRefresh();
    void WatchTimeline();

    evUserTextfield* m_currentField = nullptr;
    evPageLayoutEntry* m_currentEntry = nullptr;
    int32_t m_memoFontSize = 0;
    bool m_settingMemo = false;
    QTimer* m_refreshTimer;
    // The page typing changed, while its refresh waits for the timer.
    evCategory* m_pendingPage = nullptr;
    QPointer<QObject> m_watchedStrip;
};
