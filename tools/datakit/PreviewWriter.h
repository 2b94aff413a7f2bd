#pragma once
// Pictures of the data for people to look at: every page layout of a design rendered with sample photographs
// (one PNG per page and a contact sheet of all pages), the design's sample picture, and a contact sheet of all
// skin pictures with their indices.

#include <string>
#include <vector>

class evLayout;

class PreviewWriter {
public:
    explicit PreviewWriter(std::string folder);

    // Returns the files written. The design is read back from its saved form first, as the program reads it.
    std::vector<std::string> WriteDesign(const evLayout& design, const std::string& prefix) const;
    std::string WriteSkinContactSheet() const;

private:
    std::string m_folder;
};
