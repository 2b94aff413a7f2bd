#include "model/evProject.h"

#include "model/ObjectStream.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evObjectCollection.h"
#include "platform/Dates.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <cmath>
#include <vector>

evProject::evProject(std::string firstName, std::string secondName, double date, std::string designFileName,
                     std::unique_ptr<evCategory> firstCategory)
    : m_firstName(std::move(firstName)), m_secondName(std::move(secondName)), m_date(date),
      m_designFileName(std::move(designFileName)), m_firstCategory(std::move(firstCategory))
{
    GiveTreeProject();
}

// Layout after the evObject header:
//   string first name, string second name
//   string third text, string fourth text       version >= 2
//   8 bytes date (double)
//   string reserved text 1, string reserved text 2, string design file name
//   reference first category
//   collection (read and dropped)                version 0 only
//   reference music
//   reference disc-label category                version >= 3
evProject::evProject(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    const int32_t version = GetStoredVersion();
    m_firstName = stream.ReadString();
    m_secondName = stream.ReadString();
    if (version >= 2) {
        m_thirdText = stream.ReadString();
        m_fourthText = stream.ReadString();
    }
    m_date = stream.ReadDouble();
    m_reserved1 = stream.ReadString();
    m_reserved2 = stream.ReadString();
    m_designFileName = stream.ReadString();
    m_firstCategory = ReadObjectAs<evCategory>(stream, progress);
    if (version == 0)
        evObjectCollection dropped(stream, progress);
    m_music = ReadObject(stream, progress);
    if (m_music && std::string(m_music->ClassName()) != "evMusic")
        throw EReadError(std::string("Unexpected class \"") + m_music->ClassName() + "\" in place of the music");
    if (version >= 3)
        m_discLabel = ReadObjectAs<evCategory>(stream, progress);
    if (m_discLabel)
        m_discLabel->SetProject(this);
    GiveTreeProject();
}

evProject::~evProject()
{
    m_discLabel.reset();
    m_design.reset();
    m_music.reset();
    evCategory::DestroyAll(std::move(m_firstCategory));
}

void evProject::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_firstName);
    stream.WriteString(m_secondName);
    stream.WriteString(m_thirdText);
    stream.WriteString(m_fourthText);
    stream.WriteDouble(m_date);
    stream.WriteString(m_reserved1);
    stream.WriteString(m_reserved2);
    stream.WriteString(m_designFileName);
    WriteObject(stream, m_firstCategory.get());
    WriteObject(stream, m_music.get());
    WriteObject(stream, m_discLabel.get());
}

std::string evProject::ToString() const
{
    return "evProject[" + std::to_string(GetID()) + ", " + std::to_string(GetVersion()) + ", '" + m_firstName + "', '" +
           m_secondName + "', " + ShortDateText(m_date) + ", " + m_reserved1 + ", " + m_reserved2 + ", '" +
           m_designFileName + "', " + (m_firstCategory ? m_firstCategory->ToString() : std::string("nil")) + ", " +
           (m_music ? m_music->ToString() : std::string("nil")) + "]";
}

std::string evProject::GetTitle() const { return m_firstName + " & " + m_secondName; }

void evProject::SetDesign(std::unique_ptr<evLayout> design)
{
    m_design = std::move(design);
    if (m_design)
        m_designFileName = m_design->GetName() + ".evl";
}

std::unique_ptr<evCategory> evProject::SetFirstCategory(std::unique_ptr<evCategory> category)
{
    std::swap(category, m_firstCategory);
    GiveTreeProject();
    return category;
}

void evProject::SetMusic(std::unique_ptr<evObject> music) { m_music = std::move(music); }

void evProject::SetDiscLabelCategory(std::unique_ptr<evCategory> category)
{
    m_discLabel = std::move(category);
    if (m_discLabel)
        m_discLabel->SetProject(this);
}

void evProject::GiveTreeProject()
{
    std::vector<evCategory*> stack{m_firstCategory.get()};
    while (!stack.empty()) {
        evCategory* category = stack.back();
        stack.pop_back();
        if (!category)
            continue;
        category->SetProject(this);
        stack.push_back(category->GetNext());
        stack.push_back(category->GetSub());
    }
}
