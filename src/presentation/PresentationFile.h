#pragma once
// The presentation file of a disc folder, "data/data.evp", which the player program shows.
//
// Layout (little-endian, object-stream primitives):
//   int32      background colour   0x00BBGGRR, the design's background
//   int32      N                   page count
//   N bodies   evProjectorPage     each from its evObject header on, without a class name before it
//   reference  music               "P" "evMusic" body, or "NP"
//   reference  studio page         "P" "evProjectorPage" body, or "NP"
//   int32      studio duration     seconds; 0 without a studio page
//
// The music is kept as the object read (an evMusic), so this layer needs nothing of the audio code.

#include "model/evObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Stream;
class evProjectorPage;

class PresentationFile {
public:
    static constexpr const char* kMusicClass = "evMusic";

    PresentationFile();
    ~PresentationFile();
    PresentationFile(const PresentationFile&) = delete;
    PresentationFile& operator=(const PresentationFile&) = delete;

    // Reads a whole presentation. EReadError (or the picture's EImageError) for a damaged stream: a negative
    // page count, more pages than the stream can hold, anything but music at the music's place or anything but
    // a page at the studio page's place.
    static std::unique_ptr<PresentationFile> Read(Stream& stream);
    // Reads the file; EFOpenError when it cannot be opened.
    static std::unique_ptr<PresentationFile> ReadFromFile(const std::string& path);
    void Write(Stream& stream) const;

    int32_t background = 0;
    std::vector<std::unique_ptr<evProjectorPage>> pages;
    std::unique_ptr<evObject> music;
    std::unique_ptr<evProjectorPage> studio;
    int32_t studioDuration = 0;
};
