#include "screens/WizardLook.h"

#include "platform/Canvas.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TTransEdit.h"
#include "screens/TyesNoPopup.h"

bool ConfirmLeaving(int32_t question)
{
    TyesNoPopup* popup = Screens().yesNoPopup.get();
    return !popup || popup->Run(HelpText(question));
}

TTransEdit* AddTransField(QWidget* panel, const Geometry::ControlRect& rect)
{
    auto* edit = new TTransEdit(panel);
    edit->setGeometry(rect.x, rect.y, rect.w, rect.h);
    QFont font("Arial");
    font.setPixelSize(16);
    edit->setFont(font);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
    edit->SetTransparent(true);
    return edit;
}

TLabel* AddListLabel(QWidget* panel, const Geometry::ControlRect& rect, const QString& caption)
{
    LabelStyle style;
    style.family = "MS Sans Serif";
    style.pixelSize = PointsToPixels(10);
    style.bold = true;
    style.alignment = Qt::AlignLeft | Qt::AlignVCenter;
    auto* label = new TLabel(panel, rect, style);
    label->SetCaption(caption);
    label->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    label->setCursor(Qt::PointingHandCursor);
    SetListLabelChosen(label, false);
    return label;
}

void SetListLabelChosen(TLabel* label, bool chosen)
{
    label->SetFontColour(chosen ? kColorWhite : kColorBlack);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    label->setPalette(palette);
    // A translucent label never fills its background, so the chosen one stops being translucent.
    label->setAttribute(Qt::WA_TranslucentBackground, !chosen);
    if (chosen)
        label->setAttribute(Qt::WA_NoSystemBackground, false);
    label->setAutoFillBackground(chosen);
    label->update();
}
