#include "presentation/StudioBranding.h"

#include "model/ProjectFile.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPhotograph.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/ProgramFolders.h"
#include "platform/Stream.h"

#include <filesystem>

StudioBranding::StudioBranding(std::unique_ptr<evLayout> design, std::unique_ptr<evPhotograph> record)
    : m_design(std::move(design)), m_record(std::move(record))
{}

// The record refers to the design's page layout, so it goes first.
StudioBranding::~StudioBranding()
{
    m_record.reset();
    m_design.reset();
}

evPageLayout* StudioBranding::FindStudioPageLayout(const evLayout& design)
{
    if (evPageLayout* byKey = design.FindPageLayoutByKey(kPageLayout))
        return byKey;
    const evObjectCollection& layouts = design.GetPageLayouts();
    for (int32_t i = 0; i < layouts.Count(); ++i) {
        auto* layout = layouts.GetItemAs<evPageLayout>(i);
        if (layout && layout->GetName() == kPageLayout)
            return layout;
    }
    return nullptr;
}

std::unique_ptr<StudioBranding> StudioBranding::Load(const std::string& dataFolder)
{
    const std::string folder = dataFolder.empty() || dataFolder.back() == '/' ? dataFolder : dataFolder + "/";
    return Load(folder + kDesignFile, folder + kRecordFile);
}

std::unique_ptr<StudioBranding> StudioBranding::Load(const ProgramFolders& folders)
{
    return Load(folders.dataFolder + kDesignFile, folders.studioDataFile);
}

std::unique_ptr<StudioBranding> StudioBranding::Load(const std::string& designFile, const std::string& recordFile)
{
    try {
        const std::filesystem::path design = designFile;
        std::unique_ptr<evLayout> layouts = ReadDesignFile(design.parent_path().string(), design.filename().string());
        evPageLayout* layout = FindStudioPageLayout(*layouts);
        if (!layout)
            return nullptr;
        FileStream file(recordFile, FileStream::Mode::OpenRead);
        auto record = std::make_unique<evPhotograph>(file, nullptr);
        record->SetPageLayout(layout);
        return std::make_unique<StudioBranding>(std::move(layouts), std::move(record));
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("No studio branding: ") + error.what());
        return nullptr;
    }
}
