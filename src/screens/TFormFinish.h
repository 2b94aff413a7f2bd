#pragma once
// The finishing screen: the user chooses a folder and, when the studio branding is installed, whether the
// studio page closes the disc and for how many seconds; Apply writes the disc folder (a folder "Vellora" inside
// the chosen one) under the wait pop-up. Afterwards the success or the error screen reports the outcome.

#include "presentation/Preflight.h"
#include "screens/SkinnedScreen.h"
#include "screens/TDirDialog.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class StudioBranding;
class evProject;

class TFormFinish : public SkinnedScreen {
    Q_OBJECT

public:
    enum class Outcome { None, Success, Failure };

    TFormFinish();
    ~TFormFinish() override;

    void Run();
    // Everything Run does before the screen is shown: pictures, the studio branding, the status line, no folder.
    void Prepare();
    // Everything Run does after the screen closed: pictures and studio released, the outcome reported.
    void Conclude();

    void Image1Click();
    void ImgApplyClick();
    void ImgCancelClick();
    void imgBtnVisibleClick();
    // Mouse moves over the background (and the two labels, which let the mouse through).
    void ImgBGMouseMove(int x, int y);

    // The text shortened at its end with "..." until it is no wider than the width in the font.
    static QString ShortenAtEnd(const QString& text, const QFont& font, int width);

    bool HasStudio() const { return m_studio != nullptr; }
    bool IsStudioOn() const { return m_studioOn; }
    // The disc folder ("" until a folder is chosen).
    const std::string& GetFolder() const { return m_folder; }
    Outcome GetOutcome() const { return m_outcome; }
    // What the check before the last Apply found.
    const std::vector<PreflightFinding>& GetFindings() const { return m_findings; }
    // The code of the failed step after a failure.
    const std::string& GetFailedStep() const { return m_failedStep; }

    TImage* ImgBG;
    TImage* imgLogo;
    TImage* ImgHeader;
    TImage* ImgForm;
    TImage* ImgBtn;
    TImage* imgHelpBox;
    TLabel* labelHelp;
    TLabel* LabelStatus;
    TLabel* LabelDir;
    TImage* Image1;
    TImage* imgVisible;
    TImage* imgBtnVisible;
    TImage* imgDuration;
    QLineEdit* editDuration;
    TImage* ImgCancel;
    TImage* ImgApply;
    TDirDialog DirDialog1;

private:
    bool CheckBeforeFinishing(evProject& project);
    void SetStudio(std::unique_ptr<StudioBranding> studio);
    // The chosen disc folder in its label, shortened at the end when it is long.
    void ShowFolder();
    void Produce(evProject& project);
    void Fail(const std::string& code, const std::string& file = {}, int systemError = 0);
    void ShowHint(int32_t index);

    std::unique_ptr<StudioBranding> m_studio;
    bool m_studioOn = false;
    std::string m_folder;
    Outcome m_outcome = Outcome::None;
    std::vector<PreflightFinding> m_findings;
    std::string m_failedStep;
    int32_t m_hint = -1;
};
