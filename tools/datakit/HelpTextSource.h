#pragma once
// The human-readable source of an indexed text list (the help texts, the spoken comments), one entry a line:
//
//   # a comment; blank lines are ignored
//   index | name | text
//
// index is the position in the list (decimal, 0 .. count - 1, each exactly once); name is a short identifier
// for people (letters, digits, underscores) that the program does not use; text is UTF-8 with its outer blanks
// dropped. Escapes in the text: \n a line break (stored as CR LF), \s a blank that survives the trimming,
// \\ a backslash. An ampersand is refused, since labels would show it as an accelerator mark.
//
// The reader is strict: any malformed line, a duplicate or out-of-range index, or a missing index ends in an
// ETextSourceError that names the source and the line.

#include "platform/Errors.h"

#include <string>
#include <string_view>
#include <vector>

class ETextSourceError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

struct IndexedText {
    int index = 0;
    std::string name;
    std::string text;
};

class HelpTextSource {
public:
    // The entries ordered by index; exactly `count` of them.
    static std::vector<IndexedText> Parse(std::string_view content, int count, const std::string& sourceName);
    // Reads the file first; a file that cannot be read, or is larger than any text list can be, is an error too.
    static std::vector<IndexedText> Load(const std::string& path, int count);

    static constexpr size_t MaxFileSize = 4 * 1024 * 1024;
};
