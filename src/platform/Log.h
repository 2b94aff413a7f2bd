#pragma once
// The log facility of the model classes. It accepts every call and writes nothing: no file is opened.

#include <string_view>

namespace ktLogs {
void OpenLog(std::string_view path, bool flag);
void CloseLog();
void LogLine(std::string_view text);
} // namespace ktLogs
