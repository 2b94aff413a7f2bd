#pragma once
// Reading the studio branding from the data folder for the screens that use it: the studio design
// ("studio.evb", one evLayout body) and the studio record ("studio.evd", one evPhotograph body), the record
// bound to the design's page layout "STUDIO". A record is built afresh from that page layout when the file
// holds none.

#include "platform/Errors.h"

#include <memory>
#include <string>

class StudioBranding;
class evLayout;
class evPageLayout;
class evPhotograph;

// One evLayout body from the file's first byte; raises on any failure.
std::unique_ptr<evLayout> ReadStudioDesign(const std::string& path);
// One evPhotograph body from the file's first byte; raises on any failure (a missing file included).
std::unique_ptr<evPhotograph> ReadStudioRecord(const std::string& path);

// Finishing: both files must be readable and the design must have the studio page layout; nullptr otherwise.
std::unique_ptr<StudioBranding> LoadStudioForFinishing(const std::string& designFile, const std::string& recordFile);

// A studio record file that is there but cannot be read. Editing stops, so that the file stays as it is.
class EStudioRecordError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

// Editing: the design must be readable and have the studio page layout (EVelloraError otherwise). Without a
// record file a record is built from the page layout; a record file that cannot be read raises
// EStudioRecordError; a record that was read is brought into line with the page layout (BindStudioRecord).
std::unique_ptr<StudioBranding> LoadStudioForEditing(const std::string& designFile, const std::string& recordFile);

// Writes the record's body alone (as ReadStudioRecord reads it) to a temporary file beside the target, which then
// takes the target's name; the previous file stays whole when writing fails (EStreamError).
void WriteStudioRecord(const evPhotograph& record, const std::string& path);

// A new record for the page layout: the text fields marked by the actions 17 to 23 (copies of them, filed under
// their identifiers), the logo slot from action 24 and the first free user pictures as the samples.
std::unique_ptr<evPhotograph> BuildStudioRecord(evPageLayout& layout);
// Gives the record its page layout and a copy of every marked text field it lacks, so that each text slot names
// a text field the record holds.
void BindStudioRecord(evPhotograph& record, evPageLayout& layout);
