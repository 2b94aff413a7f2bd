#include "presentation/StudioFiles.h"

#include "model/evActionElement.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPhotograph.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/Stream.h"
#include "presentation/StudioBranding.h"

#include <array>
#include <filesystem>

namespace {

struct TextSlot {
    int32_t actionType;
    void (evPhotograph::*set)(int32_t);
    int32_t (evPhotograph::*get)() const;
};

// The order in which a new record takes its text fields.
constexpr std::array<TextSlot, 7> kTextSlots{{
    {atStudioIntro, &evPhotograph::SetIntroSlot, &evPhotograph::GetIntroSlot},
    {atStudioAddress, &evPhotograph::SetAddressSlot, &evPhotograph::GetAddressSlot},
    {atStudioName, &evPhotograph::SetStudioSlot, &evPhotograph::GetStudioSlot},
    {atStudioPhone, &evPhotograph::SetPhoneSlot, &evPhotograph::GetPhoneSlot},
    {atStudioEmail, &evPhotograph::SetEmailSlot, &evPhotograph::GetEmailSlot},
    {atStudioInformation, &evPhotograph::SetInfoSlot, &evPhotograph::GetInfoSlot},
    {atStudioWeb, &evPhotograph::SetWebSlot, &evPhotograph::GetWebSlot},
}};

// The text field that the action's entry places: the action names its entry as its label (and, in older
// designs, as its first slot).
evUserTextfield* MarkedTextField(evPageLayout& layout, int32_t actionType)
{
    const evActionElement* action = layout.FindActionElementByType(actionType);
    if (!action)
        return nullptr;
    for (const int32_t entryId : {action->GetLabel(), action->GetFirstSlot()}) {
        const auto* entry = entryId ? dynamic_cast<const evPageLayoutEntry*>(layout.FindByID(entryId)) : nullptr;
        if (!entry)
            continue;
        auto* field = dynamic_cast<evUserTextfield*>(layout.FindByID(entry->GetElementID()));
        if (!field)
            field = dynamic_cast<evUserTextfield*>(layout.ResolveEntryElement(entry->GetElementID()));
        if (field)
            return field;
    }
    return nullptr;
}

int32_t LogoSlot(const evPageLayout& layout)
{
    const evActionElement* logo = layout.FindActionElementByType(atExtraPicture);
    return logo ? logo->GetID() : 0;
}

// The identifiers of the first two free user pictures; a third one takes the second place.
std::array<int32_t, 2> SampleSlots(const evPageLayout& layout)
{
    std::array<int32_t, 2> samples{};
    int taken = 0;
    const evObjectCollection& elements = layout.GetOwnElements();
    for (int32_t i = 0; i < elements.Count() && taken < 3; ++i) {
        const auto* picture = dynamic_cast<const evUserPicture*>(elements.GetItem(i));
        if (!picture || picture->GetFixed() != 0)
            continue;
        samples[taken == 0 ? 0 : 1] = picture->GetID();
        ++taken;
    }
    return samples;
}

evPageLayout& StudioPageLayout(const evLayout& design)
{
    evPageLayout* layout = StudioBranding::FindStudioPageLayout(design);
    if (!layout)
        throw EVelloraError("The studio design has no page layout \"" + std::string(StudioBranding::kPageLayout) +
                            "\"");
    return *layout;
}

} // namespace

std::unique_ptr<evLayout> ReadStudioDesign(const std::string& path)
{
    return ReadBodyFile<evLayout>(path, "The studio design \"" + path + "\"", nullptr);
}

std::unique_ptr<evPhotograph> ReadStudioRecord(const std::string& path)
{
    return ReadBodyFile<evPhotograph>(path, "The studio record \"" + path + "\"", nullptr);
}

std::unique_ptr<StudioBranding> LoadStudioForFinishing(const std::string& designFile, const std::string& recordFile)
{
    try {
        std::unique_ptr<evLayout> design = ReadStudioDesign(designFile);
        evPageLayout& layout = StudioPageLayout(*design);
        std::unique_ptr<evPhotograph> record = ReadStudioRecord(recordFile);
        record->SetPageLayout(&layout);
        return std::make_unique<StudioBranding>(std::move(design), std::move(record));
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("No studio page: ") + error.what());
        return nullptr;
    }
}

std::unique_ptr<StudioBranding> LoadStudioForEditing(const std::string& designFile, const std::string& recordFile)
{
    std::unique_ptr<evLayout> design = ReadStudioDesign(designFile);
    evPageLayout& layout = StudioPageLayout(*design);
    std::error_code ignored;
    if (!std::filesystem::exists(recordFile, ignored)) {
        ktLogs::LogLine("A new studio record: there is no " + recordFile);
        return std::make_unique<StudioBranding>(std::move(design), BuildStudioRecord(layout));
    }
    std::unique_ptr<evPhotograph> record;
    try {
        record = ReadStudioRecord(recordFile);
    } catch (const std::exception& error) {
        throw EStudioRecordError("The studio record " + recordFile + " cannot be read: " + error.what());
    }
    BindStudioRecord(*record, layout);
    return std::make_unique<StudioBranding>(std::move(design), std::move(record));
}

void WriteStudioRecord(const evPhotograph& record, const std::string& path)
{
    MemoryStream body;
    record.SaveToStream(body);
    WriteFileAtomically(path, body.Data().data(), body.Data().size());
}

std::unique_ptr<evPhotograph> BuildStudioRecord(evPageLayout& layout)
{
    auto record = std::make_unique<evPhotograph>(&layout);
    for (const TextSlot& slot : kTextSlots) {
        if (evUserTextfield* field = MarkedTextField(layout, slot.actionType)) {
            ((*record).*slot.set)(field->GetID());
            record->AddUserElement(field->GetID(), field->Clone());
        }
    }
    record->SetLogoSlot(LogoSlot(layout));
    const std::array<int32_t, 2> samples = SampleSlots(layout);
    record->SetSampleSlot(1, samples[0]);
    record->SetSampleSlot(2, samples[1]);
    return record;
}

void BindStudioRecord(evPhotograph& record, evPageLayout& layout)
{
    record.SetPageLayout(&layout);
    for (const TextSlot& slot : kTextSlots) {
        const int32_t current = (record.*slot.get)();
        if (current != 0 && dynamic_cast<evUserTextfield*>(record.FindUserElement(current)))
            continue;
        evUserTextfield* field = MarkedTextField(layout, slot.actionType);
        if (!field)
            continue;
        (record.*slot.set)(field->GetID());
        if (!dynamic_cast<evUserTextfield*>(record.FindUserElement(field->GetID())))
            record.AddUserElement(field->GetID(), field->Clone());
    }
    if (record.GetLogoSlot() == 0)
        record.SetLogoSlot(LogoSlot(layout));
    const std::array<int32_t, 2> samples = SampleSlots(layout);
    for (int sample = 1; sample <= 2; ++sample)
        if (record.GetSampleSlot(sample) == 0)
            record.SetSampleSlot(sample, samples[sample - 1]);
}
