#include "screens/TformLabelKitPrint.h"

#include "platform/Canvas.h"
#include "platform/Log.h"
#include "platform/Printer.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/PrintDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TokPopup.h"

#include <QFile>

#include <filesystem>

namespace G = Geometry::LabelKitPrint;

namespace {

LabelStyle PositionStyle()
{
    LabelStyle style;
    style.family = QStringLiteral("MS Sans Serif");
    style.pixelSize = 13;
    style.bold = true;
    style.alignment = Qt::AlignRight | Qt::AlignVCenter;
    return style;
}

bool EndsWithPdf(const std::string& path)
{
    return path.size() >= 4 &&
           QString::fromStdString(path.substr(path.size() - 4)).compare(".pdf", Qt::CaseInsensitive) == 0;
}

} // namespace

TformLabelKitPrint::TformLabelKitPrint() : SkinnedScreen(Kind::FullScreen)
{
    imgBG = AddImage(G::imgBG, TImage::Role::Background);
    AddSkin(imgBG, Skin::LabelKitPrintBackground);
    Watch(imgBG, -1);
    imgPreview = AddImage(G::imgPreview, TImage::Role::Background);
    Watch(imgPreview, Help::HintSheetPreview);
    imgPrntUpLabel = AddButton(G::imgPrntUpLabel, Help::HintPrintUpper, &TformLabelKitPrint::imgPrntUpLabelClick);
    imgPrntUpLblChecked =
        AddButton(G::imgPrntUpLblChecked, Help::HintPrintUpper, &TformLabelKitPrint::imgPrntUpLabelClick);
    AddSkin(imgPrntUpLblChecked, Skin::PrintUpperLabelTicked);
    imgPrntLoLabel = AddButton(G::imgPrntLoLabel, Help::HintPrintLower, &TformLabelKitPrint::imgPrntLoLabelClick);
    imgPrntLoLblChecked =
        AddButton(G::imgPrntLoLblChecked, Help::HintPrintLower, &TformLabelKitPrint::imgPrntLoLabelClick);
    AddSkin(imgPrntLoLblChecked, Skin::PrintLowerLabelTicked);
    imgBtnUpperLblUp = AddMoveButton(G::imgBtnUpperLblUp, LabelSheet::lbUpper, LabelSheet::dUp);
    imgBtnUpperLblLeft = AddMoveButton(G::imgBtnUpperLblLeft, LabelSheet::lbUpper, LabelSheet::dLeft);
    imgBtnUpperLblRight = AddMoveButton(G::imgBtnUpperLblRight, LabelSheet::lbUpper, LabelSheet::dRight);
    imgBtnUpperLblDown = AddMoveButton(G::imgBtnUpperLblDown, LabelSheet::lbUpper, LabelSheet::dDown);
    imgBtnLowerLblUp = AddMoveButton(G::imgBtnLowerLblUp, LabelSheet::lbLower, LabelSheet::dUp);
    imgBtnLowerLblLeft = AddMoveButton(G::imgBtnLowerLblLeft, LabelSheet::lbLower, LabelSheet::dLeft);
    imgBtnLowerLblRight = AddMoveButton(G::imgBtnLowerLblRight, LabelSheet::lbLower, LabelSheet::dRight);
    imgBtnLowerLblDpwn = AddMoveButton(G::imgBtnLowerLblDpwn, LabelSheet::lbLower, LabelSheet::dDown);
    imgBtnPrint = AddButton(G::imgBtnPrint, Help::HintPrintLabels, &TformLabelKitPrint::imgBtnPrintClick);
    imgBtnReset = AddButton(G::imgBtnReset, Help::HintResetPositions, &TformLabelKitPrint::imgBtnResetClick);
    imgBtnBackToEdLbl =
        AddButton(G::imgBtnBackToEdLbl, Help::HintBackToLabel, &TformLabelKitPrint::imgBtnBackToEdLblClick);
    imgBtnBackToPrjMenu =
        AddButton(G::imgBtnBackToPrjMenu, Help::HintPrintBackToMenu, &TformLabelKitPrint::imgBtnBackToPrjMenuClick);
    // The test sheet's passive look is part of the background; this is its look under the mouse.
    imgBtnTestSheet = AddHoverImage(G::imgBtnTestSheet, Skin::LabelTestSheetActive);
    Watch(imgBtnTestSheet, Help::HintLabelTestSheet);
    connect(imgBtnTestSheet, &TImage::clicked, this, [this] { Guarded(&TformLabelKitPrint::imgBtnTestSheetClick); });
    lblUpCorX = AddLabel(G::lblUpCorX, PositionStyle());
    lblUpCorY = AddLabel(G::lblUpCorY, PositionStyle());
    lblLowCorX = AddLabel(G::lblLowCorX, PositionStyle());
    lblLowCorY = AddLabel(G::lblLowCorY, PositionStyle());
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
}

TformLabelKitPrint::~TformLabelKitPrint() = default;

TImage* TformLabelKitPrint::AddButton(const Geometry::ControlRect& rect, int32_t hint,
                                      void (TformLabelKitPrint::*click)())
{
    TImage* button = AddImage(rect, TImage::Role::Button);
    Watch(button, hint);
    connect(button, &TImage::clicked, this, [this, click] { Guarded(click); });
    return button;
}

// A move button acts on the press, one step per press.
TImage* TformLabelKitPrint::AddMoveButton(const Geometry::ControlRect& rect, LabelSheet::Label label,
                                          LabelSheet::Direction direction)
{
    TImage* button = AddImage(rect, TImage::Role::Button);
    Watch(button, label == LabelSheet::lbUpper ? Help::HintMoveUpper : Help::HintMoveLower);
    connect(button, &TImage::mouseDown, this, [this, label, direction] { Move(label, direction); });
    return button;
}

void TformLabelKitPrint::Watch(TImage* control, int32_t hint)
{
    m_hints.emplace_back(control, hint);
    connect(control, &TImage::mouseMoved, this,
            [this, control](int x, int y) { ControlMouseMove(control, x + control->x(), y + control->y()); });
}

// A failure in a handler is shown or logged; it must not reach the event loop.
void TformLabelKitPrint::Guarded(void (TformLabelKitPrint::*handler)())
{
    try {
        (this->*handler)();
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Label print screen: ") + e.what());
    }
}

// ------------------------------------------------------------------------------------------------ the run

bool TformLabelKitPrint::Run(const Bitmap& label)
{
    Prepare(label);
    ShowModal();
    return Finish();
}

void TformLabelKitPrint::Prepare(const Bitmap& label)
{
    BeginRun();
    m_sheet.Enter();
    m_result = false;
    m_hint = -1;
    PrintDialog().Restart();
    m_hasPrinter = PrintDialog().HasPrinter();
    m_sheet.SetMetrics(PrinterMetrics::A4(LabelSheet::kPreviewResolution));
    ShowSwitches();
    ShowPositions();
    m_label = &label;
    imgBtnTestSheet->hide();
    DrawPreview();
    ShowHelpHint(labelHelp, m_hint, BackgroundHint());
}

bool TformLabelKitPrint::Finish()
{
    EndRun();
    m_label = nullptr;
    return m_result;
}

void TformLabelKitPrint::ShowSwitches()
{
    imgPrntUpLblChecked->setVisible(m_sheet.GetPrint(LabelSheet::lbUpper));
    imgPrntLoLblChecked->setVisible(m_sheet.GetPrint(LabelSheet::lbLower));
}

void TformLabelKitPrint::ShowPositions()
{
    const auto show = [](TLabel* label, int32_t tenths) {
        label->SetCaption(QString::fromStdString(LabelSheet::PositionText(tenths)));
    };
    show(lblUpCorX, m_sheet.GetPosition(LabelSheet::lbUpper).x);
    show(lblUpCorY, m_sheet.GetPosition(LabelSheet::lbUpper).y);
    show(lblLowCorX, m_sheet.GetPosition(LabelSheet::lbLower).x);
    show(lblLowCorY, m_sheet.GetPosition(LabelSheet::lbLower).y);
}

// Without a printer the sheet keeps the A4 metrics at 150 dots per inch.
void TformLabelKitPrint::ReadMetrics()
{
    if (!m_hasPrinter)
        return;
    if (const std::optional<PrinterMetrics> metrics = PrintDialog().CurrentMetrics())
        m_sheet.SetMetrics(*metrics);
}

void TformLabelKitPrint::DrawPreview()
{
    ReadMetrics();
    Bitmap sheet(G::imgPreview.w, G::imgPreview.h);
    Canvas& canvas = sheet.GetCanvas();
    for (LabelSheet::Label label : {LabelSheet::lbUpper, LabelSheet::lbLower}) {
        if (m_sheet.GetPrint(label) && m_label)
            canvas.StretchDraw(m_sheet.PreviewRect(label, G::imgPreview.w, G::imgPreview.h), *m_label);
    }
    imgPreview->SetPicture(sheet.ToQImage());
}

// ------------------------------------------------------------------------------------------------ moving

void TformLabelKitPrint::Move(LabelSheet::Label label, LabelSheet::Direction direction)
{
    if (m_sheet.Move(label, direction))
        DrawPreview();
    ShowPositions();
}

void TformLabelKitPrint::imgBtnUpperLblUpMouseDown() { Move(LabelSheet::lbUpper, LabelSheet::dUp); }

void TformLabelKitPrint::imgBtnUpperLblLeftMouseDown() { Move(LabelSheet::lbUpper, LabelSheet::dLeft); }

void TformLabelKitPrint::imgBtnUpperLblRightMouseDown() { Move(LabelSheet::lbUpper, LabelSheet::dRight); }

void TformLabelKitPrint::imgBtnUpperLblDownMouseDown() { Move(LabelSheet::lbUpper, LabelSheet::dDown); }

void TformLabelKitPrint::imgBtnLowerLblUpMouseDown() { Move(LabelSheet::lbLower, LabelSheet::dUp); }

void TformLabelKitPrint::imgBtnLowerLblLeftMouseDown() { Move(LabelSheet::lbLower, LabelSheet::dLeft); }

void TformLabelKitPrint::imgBtnLowerLblRightMouseDown() { Move(LabelSheet::lbLower, LabelSheet::dRight); }

void TformLabelKitPrint::imgBtnLowerLblDpwnMouseDown() { Move(LabelSheet::lbLower, LabelSheet::dDown); }

void TformLabelKitPrint::TogglePrint(LabelSheet::Label label)
{
    m_sheet.SetPrint(label, !m_sheet.GetPrint(label));
    ShowSwitches();
    DrawPreview();
}

void TformLabelKitPrint::imgPrntUpLabelClick() { TogglePrint(LabelSheet::lbUpper); }

void TformLabelKitPrint::imgPrntLoLabelClick() { TogglePrint(LabelSheet::lbLower); }

void TformLabelKitPrint::imgBtnResetClick()
{
    m_sheet.Reset();
    DrawPreview();
    ShowPositions();
}

// ------------------------------------------------------------------------------------------------ printing

void TformLabelKitPrint::imgBtnPrintClick() { PrintSheet(Output::Labels); }

void TformLabelKitPrint::imgBtnTestSheetClick() { PrintSheet(Output::TestSheet); }

void TformLabelKitPrint::PrintSheet(Output output)
{
    if (!m_label)
        return;
    if (!m_hasPrinter) {
        PrintToPdf(output);
        return;
    }
    Printer* printer = PrintDialog().Execute();
    if (!printer)
        return;
    try {
        PrintOn(*printer, output);
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Labels not printed: ") + e.what());
        ShowMessage(HelpText(Help::LabelPrintFailed) + "\n" + DoubleAmpersands(QString::fromStdString(e.what())));
    }
    DrawPreview();
}

bool TformLabelKitPrint::PrintOn(Printer& printer, Output output)
{
    return output == Output::Labels ? m_sheet.Print(printer, *m_label) : m_sheet.PrintTestSheet(printer);
}

// The sheet as a PDF file on A4 without margins, written whole or not at all; ".pdf" is added when the chosen name
// has no such ending. The preview keeps its metrics: the PDF's sheet is the same A4 sheet.
void TformLabelKitPrint::PrintToPdf(Output output)
{
    std::string folder;
    if (const ApplicationContext* context = AppContext())
        folder = context->GetProjectsFolder();
    const FileDialogRequest request{HelpText(Help::LabelPdfTitle), "PDF|*.pdf", folder, ".pdf"};
    const std::optional<std::string> chosen = Dialogs().SaveFile(request);
    if (!chosen || chosen->empty())
        return;
    const std::string path = EndsWithPdf(*chosen) ? *chosen : *chosen + ".pdf";
    const PrinterMetrics preview = m_sheet.GetMetrics();
    try {
        PdfFilePrinter pdf(path);
        const bool written = PrintOn(pdf, output);
        m_sheet.SetMetrics(preview);
        if (written)
            ShowMessage(HelpText(Help::LabelPdfSaved) + "\n" + DoubleAmpersands(QFile::decodeName(path.c_str())));
    } catch (const EVelloraError& e) {
        m_sheet.SetMetrics(preview);
        ktLogs::LogLine(std::string("Label PDF not written: ") + e.what());
        ShowMessage(HelpText(Help::LabelPdfFailed) + "\n" + DoubleAmpersands(QString::fromStdString(e.what())));
    }
}

void TformLabelKitPrint::ShowMessage(const QString& text)
{
    if (TokPopup* ok = Screens().okPopup.get())
        ok->Run(text);
}

// ------------------------------------------------------------------------------------------------ leaving

void TformLabelKitPrint::imgBtnBackToEdLblClick()
{
    m_result = false;
    Close();
}

void TformLabelKitPrint::imgBtnBackToPrjMenuClick()
{
    m_result = true;
    Close();
}

// ------------------------------------------------------------------------------------------------ hints

int32_t TformLabelKitPrint::BackgroundHint() const
{
    return m_hasPrinter ? Help::LabelPrintInstruction : Help::LabelNoPrinter;
}

// The test sheet's hover look follows the mouse; the hint is the one of the control under it.
void TformLabelKitPrint::ControlMouseMove(const QObject* control, int x, int y)
{
    int32_t hint = BackgroundHint();
    if (HoverShow(x, y, imgBtnTestSheet, control))
        hint = Help::HintLabelTestSheet;
    else {
        for (const auto& [watched, index] : m_hints) {
            if (watched == control && index >= 0)
                hint = index;
        }
    }
    ShowHelpHint(labelHelp, m_hint, hint);
}
