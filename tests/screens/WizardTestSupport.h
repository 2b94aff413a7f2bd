#pragma once
// Shared by the tests of the new-project wizard and the personal data screen: a program folder with designs
// and projects as the application context, the pop-ups in the screen set, and a script that answers the
// pop-ups from a timer while their modal loops run.

#include "screens/ScreenTestSupport.h"

#include "app/AppTestSupport.h"
#include "model/evLayoutPreview.h"
#include "platform/Dates.h"
#include "screens/TFormAddEntry.h"
#include "screens/TwaitPopup.h"

#include <QLineEdit>
#include <QStringList>

#include <deque>
#include <optional>

namespace wizardtest {

// Answers each pop-up that comes up: the OK pop-up is confirmed and its text kept, the yes/no pop-up takes the
// next queued answer (none: no), the add-entry pop-up the next queued text (nothing: cancelled).
class PopupScript {
public:
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<QString>> entryAnswers;
    QStringList messages;  // OK pop-up texts
    QStringList questions; // yes/no pop-up texts

private:
    void Answer(QWidget* modal)
    {
        ScreenSet& screens = Screens();
        if (modal == screens.okPopup.get()) {
            messages << screens.okPopup->LabelMessage->Caption();
            screens.okPopup->ImgOKClick();
        } else if (modal == screens.yesNoPopup.get()) {
            questions << screens.yesNoPopup->LabelMessage->Caption();
            const bool yes = !yesNoAnswers.empty() && yesNoAnswers.front();
            if (!yesNoAnswers.empty())
                yesNoAnswers.pop_front();
            yes ? screens.yesNoPopup->ImgYesClick() : screens.yesNoPopup->ImgNoClick();
        } else if (modal == screens.formAddEntry.get()) {
            AnswerEntry(*screens.formAddEntry);
        }
    }
    void AnswerEntry(TFormAddEntry& popup)
    {
        const std::optional<QString> answer = entryAnswers.empty() ? std::nullopt : entryAnswers.front();
        if (!entryAnswers.empty())
            entryAnswers.pop_front();
        if (!answer) {
            popup.ImgCancelClick();
            return;
        }
        popup.EditAdd->setText(*answer);
        popup.ImgApplyClick();
    }

    screentest::ModalAnswerer m_answerer{[this](QWidget* modal) { Answer(modal); }, true};
};

class WizardTest : public screentest::ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_program = (m_folder / "program").string();
        std::filesystem::create_directories(m_program + "/designs");
        std::filesystem::create_directories(m_program + "/projects");
        m_context.SetProgramFolder(m_program);
        Screens().formAddEntry = std::make_unique<TFormAddEntry>();
        Screens().waitPopup = std::make_unique<TwaitPopup>();
    }
    std::string ProjectsFolder() const { return m_program + "/projects/"; }
    std::string DesignsFolder() const { return m_program + "/designs/"; }
    // Writes a design with the keys to the designs folder and adds its preview to the context's list.
    void InstallDesign(const std::string& name, const std::vector<std::string>& keys = {"W", "M", "E", "cd"},
                       bool withSample = false)
    {
        const std::string fileName = name + ".evl";
        std::unique_ptr<evLayout> design = apptest::MakeDesign(name, keys);
        if (withSample)
            design->SetSamplePicture(SolidPicture(40, 30, RGBColor(200, 0, 0)));
        apptest::WriteBody(*design, DesignsFolder() + fileName);
        FileStream file(DesignsFolder() + fileName, FileStream::Mode::OpenRead);
        m_context.GetDesigns().Add(std::make_unique<evLayoutPreview>(file, fileName));
    }

    std::string m_program;
};

// The wizard on a fixed day: today is 7 December 2026 (day 46362) for the date fields and their hints.
class FixedDayWizardTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        SetTodaySource([] { return 46362.0; });
    }
    void TearDown() override
    {
        SetTodaySource({});
        WizardTest::TearDown();
    }
};

} // namespace wizardtest
