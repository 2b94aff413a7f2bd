#pragma once
// The studio branding that closes every disc: the studio design ("studio.evb", one evLayout body) and the
// studio record ("studio.evd", one evPhotograph body) from the data folder, the record bound to the design's
// page layout "STUDIO". Finishing turns the record into the disc's studio page.

#include <memory>
#include <string>

class evLayout;
class evPageLayout;
class evPhotograph;
struct ProgramFolders;

class StudioBranding {
public:
    static constexpr const char* kDesignFile = "studio.evb";
    static constexpr const char* kRecordFile = "studio.evd";
    static constexpr const char* kPageLayout = "STUDIO";

    StudioBranding(std::unique_ptr<evLayout> design, std::unique_ptr<evPhotograph> record);
    ~StudioBranding();
    StudioBranding(const StudioBranding&) = delete;
    StudioBranding& operator=(const StudioBranding&) = delete;

    // Reads both files from the data folder (with its trailing "/" or without). Any failure (a missing or
    // damaged file, a design without the page layout) means there is no studio branding: nullptr.
    static std::unique_ptr<StudioBranding> Load(const std::string& dataFolder);
    // The same from the two files wherever they are (the installed program keeps the record apart from the
    // design).
    static std::unique_ptr<StudioBranding> Load(const std::string& designFile, const std::string& recordFile);
    // The program's own: the design in its data folder, the record where the program keeps it.
    static std::unique_ptr<StudioBranding> Load(const ProgramFolders& folders);
    // The design's page layout with the key "STUDIO", else the first one named so; nullptr when there is none.
    static evPageLayout* FindStudioPageLayout(const evLayout& design);

    evLayout& GetDesign() const { return *m_design; }
    evPhotograph& GetRecord() const { return *m_record; }

private:
    std::unique_ptr<evLayout> m_design;
    std::unique_ptr<evPhotograph> m_record;
};
