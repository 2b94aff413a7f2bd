#pragma once
// One album: the two names, the date, the design it uses (by file name), the chapter tree, the background
// music and the disc-label page. A project file (".evp") is one evProject body from its first byte, with no
// object-reference tag; evProject is not registered and is only ever read by calling its constructor.
//
// Body on the stream (version 3), after the evObject header:
//   string      first name
//   string      second name
//   string      third text            (version >= 2, else empty)
//   string      fourth text           (version >= 2, else empty)
//   8 bytes     date (IEEE 754 double, days since 30 December 1899)
//   string      reserved text 1
//   string      reserved text 2
//   string      design file name
//   reference   first category        (the whole tree)
//   (collection discarded             version 0 only)
//   reference   music                 (evMusic or "NP")
//   reference   disc-label category   (version >= 3, else none)

#include "model/evObject.h"

#include <cstdint>
#include <memory>
#include <string>

class evCategory;
class evLayout;

class evProject : public evObject {
    EV_DECLARE_CLASS(evProject, evObject)

public:
    evProject(std::string firstName, std::string secondName, double date, std::string designFileName,
              std::unique_ptr<evCategory> firstCategory);
    evProject(Stream& stream, ProgressBar* progress);
    ~evProject() override;

    static constexpr int32_t kVersion = 3;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    // First name + " & " + second name.
    std::string GetTitle() const;
    const std::string& GetFirstName() const { return m_firstName; }
    void SetFirstName(std::string name) { m_firstName = std::move(name); }
    const std::string& GetSecondName() const { return m_secondName; }
    void SetSecondName(std::string name) { m_secondName = std::move(name); }
    double GetDate() const { return m_date; }
    void SetDate(double date) { m_date = date; }
    const std::string& GetThirdText() const { return m_thirdText; }
    const std::string& GetFourthText() const { return m_fourthText; }
    const std::string& GetReservedText1() const { return m_reserved1; }
    const std::string& GetReservedText2() const { return m_reserved2; }

    // Takes the design and sets the design file name to its name + ".evl".
    void SetDesign(std::unique_ptr<evLayout> design);
    evLayout* GetDesign() const { return m_design.get(); }
    const std::string& GetDesignFileName() const { return m_designFileName; }

    evCategory* GetFirstCategory() const { return m_firstCategory.get(); }
    // Replaces the tree (the old one is handed back) and gives the new tree the project.
    std::unique_ptr<evCategory> SetFirstCategory(std::unique_ptr<evCategory> category);
    // An evMusic or nullptr (the audio classes sit above the model).
    evObject* GetMusic() const { return m_music.get(); }
    void SetMusic(std::unique_ptr<evObject> music);
    evCategory* GetDiscLabelCategory() const { return m_discLabel.get(); }
    void SetDiscLabelCategory(std::unique_ptr<evCategory> category);

    // Sets the project on every category of the tree, depth first, without recursion.
    void GiveTreeProject();

private:
    std::string m_firstName;
    std::string m_secondName;
    std::string m_thirdText;
    std::string m_fourthText;
    double m_date = 0.0;
    std::string m_reserved1;
    std::string m_reserved2;
    std::string m_designFileName;
    std::unique_ptr<evLayout> m_design;
    std::unique_ptr<evCategory> m_firstCategory;
    std::unique_ptr<evObject> m_music;
    std::unique_ptr<evCategory> m_discLabel;
};
