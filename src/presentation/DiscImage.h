#pragma once
// The disc image: an ISO 9660 file system of a finished disc folder, with Rock Ridge names and modes (so the
// player keeps its execute bit on Linux and macOS) and Joliet names (for Windows), written through libisofs.
//
// The image is written to a temporary file beside the target (a fresh name, created exclusively), flushed to
// the disc and renamed over the target only when it is complete; on any failure the temporary file is removed
// and an image that was there before stays as it was.

#include "platform/Errors.h"

#include <functional>
#include <string>

// The disc image could not be written. The message is one line naming the file and the cause, for example
// "/home/anna/album.iso: No space left on device".
class EDiscImageError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

// Writes the image of everything inside discFolder (the folder itself is the root of the disc) to isoPath.
// volumeName goes into the volume descriptors as it stands; DiscVolumeName makes a valid one. The Joliet tree
// carries the same volume name: libisofs keeps one name for both descriptors. A target inside the disc folder
// is refused, since the image would land on the next disc made from that folder. progress is told the share of
// the image written so far, 0 to 100, and 100 once the file is in place.
void WriteDiscImage(const std::string& discFolder, const std::string& isoPath, const std::string& volumeName,
                    std::function<void(int percent)> progress = {});

// The volume name of the disc of a couple, made of their two names (UTF-8): ISO 9660 volume identifiers hold at
// most 32 d-characters (A-Z, 0-9 and "_"). The rule:
//   - the two names are joined with a blank between them;
//   - letters become capitals; a letter with an accent, umlaut or other mark becomes its base letter (é -> E,
//     ä -> A, ñ -> N, å -> A); ß becomes SS, æ AE, œ OE, ø O, ł L, đ and ð D, þ TH;
//   - digits stay; every other character (blanks, punctuation, letters of other scripts, bytes that are no
//     valid UTF-8) becomes "_";
//   - runs of "_" become one "_", and "_" at either end is dropped;
//   - the result is cut to 32 characters (and a "_" left at the cut end is dropped);
//   - when nothing is left, the name is "VELLORA".
// "Zoë" and "Jürgen" give "ZOE_JURGEN".
std::string DiscVolumeName(const std::string& first, const std::string& second);
