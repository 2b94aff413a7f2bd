#pragma once
// The studio branding screen: what the studio page of every disc shows. Seven texts (introduction line, studio
// name, address, telephone, e-mail, web address, further information) in transparent edits over the skin, four
// fonts for them (the address font serves telephone, e-mail and web address as well), the studio's logo and two
// sample pictures through the image edit screen, and a preview of the studio page.
//
// The screen edits a studio record against the studio design's page layout. Typed text goes into the record at
// once; the caller writes the record to its file only when Run reports OK.

#include "screens/SkinnedScreen.h"
#include "screens/TFontDialog.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Bitmap;
class QWidget;
class TTransEdit;
class TTransMemo;
class evPageLayout;
class evPhotograph;
class evUserPicture;
class evUserTextfield;

class TFormPhotographer : public SkinnedScreen {
    Q_OBJECT

public:
    // The four font dialogs, in the order Run fills them.
    enum FontBlock { fbIntro, fbStudio, fbAddress, fbInfo, fbCount };
    // The seven texts, in the order OK writes them.
    enum TextSlot { tsIntro, tsStudio, tsAddress, tsPhone, tsEmail, tsWeb, tsInfo, tsCount };
    enum PictureSlot { psLogo, psSample1, psSample2, psCount };

    TFormPhotographer();
    ~TFormPhotographer() override;

    // True when the user confirmed with OK; the record then holds every text with its font. Both must outlive
    // the run.
    bool Run(evPageLayout& layout, evPhotograph& record);
    // Everything before the screen is shown: skin pictures, fonts and texts from the record, the delete buttons.
    void Prepare(evPageLayout& layout, evPhotograph& record);
    // Everything after it: with OK every text and font is written once more; releases the skin pictures and
    // returns the OK flag.
    bool Finish();

    void TextChange(TextSlot slot);
    void imgBtnStyleBlock1Click();
    void imgBtnStyleBlock2Click();
    void imgBtnStyleBlock3Click();
    void imgBtnFontInfoClick();
    void imgBtnLogoClick();
    void imgBtnSample1Click();
    void imgBtnSample2Click();
    void imgBtnDelLogoClick();
    void imgBtnDelSamp1Click();
    void imgBtnDelSamp2Click();
    void Image7Click();
    void imgBtnOKClick();
    void imgBtnCancelClick();
    // The hint of the control the mouse is over (the background clears the hint line).
    void ShowHintOf(const QObject* control);

    // The picture the image edit screen made for the slot: it replaces the slot's picture or becomes a new one.
    void StorePicture(PictureSlot slot, const Bitmap& picture);
    // The user picture of the page layout that shows the slot; nullptr when the page layout has none.
    evUserPicture* SlotPicture(PictureSlot slot) const;
    // The identifier under which the record keeps the slot's picture.
    int32_t SlotId(PictureSlot slot) const;
    // The text field of the record that a text control writes into; nullptr when the record has none.
    evUserTextfield* TextField(TextSlot slot) const;
    // The control's text in the model's form (paragraphs separated by CR LF).
    std::string ControlText(TextSlot slot) const;
    QWidget* TextControl(TextSlot slot) const;
    TImage* DeleteButton(PictureSlot slot) const;

    const FontChoice& GetFont(FontBlock block) const { return m_fonts[block]; }
    bool GetOk() const { return m_ok; }
    evPhotograph* GetRecord() const { return m_record; }

    TImage* ImgBG;
    TLabel* labelHelp;
    TLabel* lblHelp;
    TImage* imgLogo;
    TImage* imgBtnStyleBlock1;
    TImage* imgBtnStyleBlock2;
    TImage* imgBtnStyleBlock3;
    TImage* imgBtnFontInfo;
    TImage* imgBtnLogo;
    TImage* imgBtnSample1;
    TImage* imgBtnSample2;
    TImage* imgBtnDelLogo;
    TImage* imgBtnDelSamp1;
    TImage* imgBtnDelSamp2;
    TImage* Image7;
    TImage* imgBtnOK;
    TImage* imgBtnCancel;
    TTransEdit* edIntro;
    TTransMemo* memoStudio;
    TTransMemo* memoAddress;
    TTransMemo* memoPhone;
    TTransEdit* edEmail;
    TTransEdit* edURL;
    TTransMemo* memoInfo;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TImage* AddButton(const Geometry::ControlRect& rect, int32_t hint, void (TFormPhotographer::*handler)());
    TTransEdit* AddEdit(const Geometry::ControlRect& rect, TextSlot slot, int32_t hint);
    TTransMemo* AddMemo(const Geometry::ControlRect& rect, TextSlot slot, int32_t hint);
    void Guarded(void (TFormPhotographer::*handler)());
    void Watch(QWidget* control, int32_t hint);
    void SetControlText(TextSlot slot, const std::string& text);
    // The field's text, style, colour, size and face from the control and the font.
    void Apply(TextSlot slot);
    void ApplyAll();
    // Opens the font dialog of the block and, when the user confirms, applies it to the block's texts.
    void ChooseFont(FontBlock block);
    void ChoosePicture(PictureSlot slot);
    void AskAndRemove(PictureSlot slot, int32_t question);
    void RefreshPictures();
    FontChoice FontOfField(const evUserTextfield& field) const;
    std::string FaceNameOf(const evUserTextfield& field) const;

    evPageLayout* m_layout = nullptr;
    evPhotograph* m_record = nullptr;
    std::array<FontChoice, fbCount> m_fonts;
    std::array<QWidget*, tsCount> m_textControls{};
    std::array<TImage*, psCount> m_deleteButtons{};
    std::vector<std::pair<const QObject*, int32_t>> m_hints;
    bool m_ok = false;
    bool m_settingTexts = false;
    int32_t m_hint = -1;
};
