#include "screens/TformFindingsPopUp.h"

#include "presentation/Preflight.h"
#include "screens/DataIndexes.h"
#include "screens/SkinService.h"

#include <QPlainTextEdit>

#include <algorithm>

namespace G = Geometry::FindingsPopup;

TformFindingsPopUp::TformFindingsPopUp() : SkinnedScreen(Kind::Popup)
{
    imgBG = AddSkinImage(G::imgBG, Skin::FindingsPopup);
    lblCaption = AddLabel(G::lblCaption, PopupTextStyle(kColorBlack));
    memoText = new QPlainTextEdit(Panel());
    memoText->setGeometry(G::memoText.x, G::memoText.y, G::memoText.w, G::memoText.h);
    memoText->setFrameShape(QFrame::NoFrame);
    memoText->setReadOnly(true);
    memoText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font("Arial");
    font.setPixelSize(13);
    memoText->setFont(font);
    memoText->setStyleSheet("QPlainTextEdit { background: transparent; color: black; border: none; }");
    memoText->viewport()->setAutoFillBackground(false);
    imgBtnFinish = AddImage(G::imgBtnFinish, TImage::Role::Button);
    imgBtnBack = AddImage(G::imgBtnBack, TImage::Role::Button);
    imgBtnCancelX = AddImage(G::imgBtnCancelX, TImage::Role::Button);
    connect(imgBtnFinish, &TImage::clicked, this, [this] { imgBtnFinishClick(); });
    connect(imgBtnBack, &TImage::clicked, this, [this] { imgBtnBackClick(); });
    connect(imgBtnCancelX, &TImage::clicked, this, [this] { imgBtnCancelXClick(); });
    SetKeyHandlers([this] { imgBtnFinishClick(); }, [this] { imgBtnBackClick(); });
}

bool TformFindingsPopUp::Run(const std::vector<PreflightFinding>& findings)
{
    Prepare(findings);
    ShowModal();
    EndRun();
    return m_finishAnyway;
}

void TformFindingsPopUp::Prepare(const std::vector<PreflightFinding>& findings)
{
    BeginRun();
    lblCaption->SetCaption(HelpText(Help::FindingsTitle));
    memoText->setPlainText(FindingsText(findings, HelpText(Help::FindingsMore)));
    memoText->moveCursor(QTextCursor::Start);
    m_finishAnyway = false;
}

QString TformFindingsPopUp::FindingsText(const std::vector<PreflightFinding>& findings, const QString& moreText)
{
    QStringList lines;
    const size_t shown = std::min<size_t>(findings.size(), kShownFindings);
    for (size_t i = 0; i < shown; ++i) {
        const PreflightFinding& finding = findings[i];
        const QString mark =
            finding.GetSeverity() == PreflightSeverity::CannotBeSeen ? QStringLiteral("(!) ") : QString();
        lines << mark + QString::fromStdString(finding.pagePath) + QStringLiteral(": ") +
                     QString::fromStdString(finding.detail);
    }
    if (findings.size() > shown)
        lines << moreText.arg(findings.size() - shown);
    return lines.join(QLatin1Char('\n'));
}

void TformFindingsPopUp::imgBtnFinishClick()
{
    m_finishAnyway = true;
    Close();
}

void TformFindingsPopUp::imgBtnBackClick()
{
    m_finishAnyway = false;
    Close();
}

void TformFindingsPopUp::imgBtnCancelXClick() { imgBtnBackClick(); }
