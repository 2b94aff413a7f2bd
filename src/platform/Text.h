#pragma once
// Texts stay raw 8-bit bytes in the model, so a file read and written again keeps its bytes. These helpers are
// the only place where bytes become display text and back: valid UTF-8 is UTF-8, anything else is read as
// Windows-1252 (older files). New text is written as UTF-8.

#include <QString>

#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);
QString ToDisplay(std::string_view raw);
std::string FromDisplay(const QString& text);
// ToDisplay followed by UTF-8 encoding, for terminals and logs.
std::string ToDisplayUtf8(std::string_view raw);
