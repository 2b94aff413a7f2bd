#pragma once
// The source of the default chapter tree that the new-album wizard copies (data-src/chapters.txt), one chapter a
// line:
//
//   # a comment; blank lines are ignored
//   * Welcome                                  always in the album
//   * Our wedding day
//     + Getting ready | The last quiet hour    optional, switched on; a comment follows " | "
//       - The dress                            optional, switched off
//   * Thank you
//
// Two blanks of indentation per level. The top level holds exactly three chapters, all marked "*" (the welcome
// page, the chapters page and the end page, which are bound to the design's special page layouts) and stored as
// kind 1; every chapter below is kind 3. A level holds at most seven chapters, as the wizard allows.
//
// The reader is strict: any malformed line ends in EDataSourceError naming the source and the line.

#include "DataSourceError.h"

#include <memory>
#include <string>
#include <string_view>

class evCategory;

class ChapterTreeSource {
public:
    static std::unique_ptr<evCategory> Parse(std::string_view content, const std::string& sourceName);
    static std::unique_ptr<evCategory> Load(const std::string& path);

    static constexpr int MaxPerLevel = 7;
    static constexpr int MaxDepth = 4;
};
