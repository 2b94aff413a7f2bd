#include "screens/TformMemoPopUp.h"

#include "screens/DataIndexes.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace G = Geometry::MemoPopup;

TformMemoPopUp::TformMemoPopUp() : SkinnedScreen(Kind::Popup)
{
    imgBG = AddSkinImage(G::imgBG, Skin::MemoPopup);
    lblCaption = AddLabel(G::lblCaption, PopupTextStyle(kColorBlack));
    memoText = new QPlainTextEdit(Panel());
    memoText->setGeometry(G::memoText.x, G::memoText.y, G::memoText.w, G::memoText.h);
    memoText->setFrameShape(QFrame::NoFrame);
    QFont font("Arial");
    font.setPixelSize(16);
    memoText->setFont(font);
    memoText->setStyleSheet("QPlainTextEdit { background: transparent; color: black; border: none; }");
    memoText->viewport()->setAutoFillBackground(false);
    imgBtnOK = AddImage(G::imgBtnOK, TImage::Role::Button);
    imgBtnCancel = AddImage(G::imgBtnCancel, TImage::Role::Button);
    imgBtnCancelX = AddImage(G::imgBtnCancelX, TImage::Role::Button);
    connect(imgBtnOK, &TImage::clicked, this, [this] { imgBtnOKClick(); });
    connect(imgBtnCancel, &TImage::clicked, this, [this] { imgBtnCancelClick(); });
    connect(imgBtnCancelX, &TImage::clicked, this, [this] { imgBtnCancelXClick(); });
    memoText->installEventFilter(this);
    SetKeyHandlers({}, [this] { imgBtnCancelClick(); });
}

bool TformMemoPopUp::Run(const QString& caption, const QString& text)
{
    Prepare(caption, text);
    ShowModal();
    EndRun();
    return m_applied;
}

void TformMemoPopUp::Prepare(const QString& caption, const QString& text)
{
    BeginRun();
    lblCaption->SetCaption(caption);
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    memoText->setPlainText(lines);
    m_applied = false;
    memoText->setFocus();
}

// Lines are separated by CR LF, as in the texts of the model.
QString TformMemoPopUp::GetText() const
{
    QString text = memoText->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void TformMemoPopUp::imgBtnOKClick()
{
    m_applied = true;
    Close();
}

void TformMemoPopUp::imgBtnCancelClick()
{
    m_applied = false;
    Close();
}

void TformMemoPopUp::imgBtnCancelXClick()
{
    m_applied = false;
    Close();
}

bool TformMemoPopUp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == memoText && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers().testFlag(Qt::ControlModifier)) {
            imgBtnOKClick();
            return true;
        }
    }
    return SkinnedScreen::eventFilter(watched, event);
}
