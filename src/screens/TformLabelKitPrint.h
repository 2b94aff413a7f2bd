#pragma once
// The print screen of the label kit: up to two disc labels on an A4 sheet, each moved in steps of half a
// millimetre, shown in a preview of the sheet and printed at true size (120 x 120 mm) through the print dialog.
// A test sheet prints the labels' outlines with millimetre rulers, so the positions can be checked against the
// label stock first. Positions start at the entry places on every run and are not stored.
//
// Without a printer the screen still works: the preview uses an A4 sheet at 150 dots per inch, the hint line
// says that no printer was found, and Print (and the test sheet) save the sheet as a PDF file instead.

#include "platform/Bitmap.h"
#include "presentation/LabelSheet.h"
#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Printer;

class TformLabelKitPrint : public SkinnedScreen {
    Q_OBJECT

public:
    TformLabelKitPrint();
    ~TformLabelKitPrint() override;

    // True when the user chose to go back to the project menu. The label must outlive the run.
    bool Run(const Bitmap& label);
    // Everything before the screen is shown: pictures, entry positions, printer metrics, texts and preview.
    void Prepare(const Bitmap& label);
    // Releases the pictures and returns the result.
    bool Finish();

    void imgBtnUpperLblUpMouseDown();
    void imgBtnUpperLblLeftMouseDown();
    void imgBtnUpperLblRightMouseDown();
    void imgBtnUpperLblDownMouseDown();
    void imgBtnLowerLblUpMouseDown();
    void imgBtnLowerLblLeftMouseDown();
    void imgBtnLowerLblRightMouseDown();
    void imgBtnLowerLblDpwnMouseDown();
    void imgPrntUpLabelClick();
    void imgPrntLoLabelClick();
    void imgBtnResetClick();
    void imgBtnPrintClick();
    void imgBtnTestSheetClick();
    void imgBtnBackToEdLblClick();
    void imgBtnBackToPrjMenuClick();
    // A mouse move reported by the control, at (x, y) in panel coordinates.
    void ControlMouseMove(const QObject* control, int x, int y);

    // Reads the current printer's metrics (A4 at 150 dots per inch without a printer) and redraws the sheet.
    void DrawPreview();
    void ShowPositions();

    const LabelSheet& GetSheet() const { return m_sheet; }
    LabelSheet& Sheet() { return m_sheet; }
    bool GetResult() const { return m_result; }
    bool HasPrinter() const { return m_hasPrinter; }

    TImage* imgBG;
    TImage* imgPreview;
    TImage* imgPrntUpLabel;
    TImage* imgPrntUpLblChecked;
    TImage* imgPrntLoLabel;
    TImage* imgPrntLoLblChecked;
    TImage* imgBtnUpperLblUp;
    TImage* imgBtnUpperLblLeft;
    TImage* imgBtnUpperLblRight;
    TImage* imgBtnUpperLblDown;
    TImage* imgBtnLowerLblUp;
    TImage* imgBtnLowerLblLeft;
    TImage* imgBtnLowerLblRight;
    TImage* imgBtnLowerLblDpwn;
    TImage* imgBtnPrint;
    TImage* imgBtnReset;
    TImage* imgBtnTestSheet;
    TImage* imgBtnBackToEdLbl;
    TImage* imgBtnBackToPrjMenu;
    TLabel* lblUpCorX;
    TLabel* lblUpCorY;
    TLabel* lblLowCorX;
    TLabel* lblLowCorY;
    TLabel* labelHelp;

private:
    enum class Output { Labels, TestSheet };

    TImage* AddButton(const Geometry::ControlRect& rect, int32_t hint, void (TformLabelKitPrint::*click)());
    TImage* AddMoveButton(const Geometry::ControlRect& rect, LabelSheet::Label label, LabelSheet::Direction direction);
    void Watch(TImage* control, int32_t hint);
    void Guarded(void (TformLabelKitPrint::*handler)());
    void Move(LabelSheet::Label label, LabelSheet::Direction direction);
    void TogglePrint(LabelSheet::Label label);
    void ShowSwitches();
    void ReadMetrics();
    // The print dialog with a printer, the save dialog and a PDF file without one.
    void PrintSheet(Output output);
    bool PrintOn(Printer& printer, Output output);
    void PrintToPdf(Output output);
    void ShowMessage(const QString& text);
    int32_t BackgroundHint() const;

    LabelSheet m_sheet;
    const Bitmap* m_label = nullptr;
    bool m_result = false;
    bool m_hasPrinter = false;
    int32_t m_hint = -1;
    std::vector<std::pair<const QObject*, int32_t>> m_hints;
};
