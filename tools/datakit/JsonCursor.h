#pragma once
// Strict reading of the data kit's JSON descriptions. A cursor is one value of a document together with the
// source file's name and the path that leads to the value, so every complaint names the file and the element:
//
//   designs/ivory.json: pageLayouts[3] "welcome" / elements[2] "photo" / photo / size: expected 2 numbers
//
// Every read checks the type; objects are checked for keys that the reader does not know, so a misspelt key is
// an error instead of being silently ignored.

#include "DataSourceError.h"

#include <QJsonValue>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class JsonCursor {
public:
    // The document's root value; a syntax error names the file, the line and the column.
    static JsonCursor Parse(const QByteArray& text, const std::string& fileName);
    // Reads the file first (EDataSourceError when it cannot be read or is larger than any description can be).
    static JsonCursor Load(const std::string& path);

    JsonCursor() = default;
    // Letters, digits, "_" and "-", beginning with a letter, at most 64 characters.
    static bool IsIdentifier(std::string_view text);
    JsonCursor(QJsonValue value, std::string fileName, std::string path);

    bool IsObject() const { return m_value.isObject(); }
    bool IsArray() const { return m_value.isArray(); }
    bool IsString() const { return m_value.isString(); }
    bool IsNumber() const { return m_value.isDouble(); }
    bool Has(std::string_view key) const;

    // Object access; Field fails when the key is missing.
    JsonCursor Field(std::string_view key) const;
    std::optional<JsonCursor> Optional(std::string_view key) const;
    void AllowOnly(std::initializer_list<std::string_view> keys) const;
    std::vector<std::pair<std::string, JsonCursor>> Members() const;
    // Array access.
    std::vector<JsonCursor> Items() const;

    std::string String() const;
    double Number() const;
    double Number(double min, double max) const;
    int Int(int min, int max) const;
    bool Bool() const;
    // A name made of letters, digits, "_" and "-", beginning with a letter.
    std::string Identifier() const;
    // An array of exactly `count` integers within [min, max].
    std::vector<int> Ints(size_t count, int min, int max) const;
    std::vector<double> Numbers(size_t count) const;

    // Optional fields with defaults.
    std::string String(std::string_view key, const std::string& fallback) const;
    bool Bool(std::string_view key, bool fallback) const;
    int Int(std::string_view key, int fallback, int min, int max) const;
    double Number(std::string_view key, double fallback, double min, double max) const;

    // The same value, with a label (usually the element's identifier) added to its path.
    JsonCursor Named(const std::string& label) const;
    // The same value under another path (a shared part reported where it is used).
    JsonCursor WithPath(std::string path) const { return JsonCursor(m_value, m_fileName, std::move(path)); }

    [[noreturn]] void Fail(const std::string& message) const;
    const std::string& FileName() const { return m_fileName; }
    const std::string& Path() const { return m_path; }

private:
    const char* TypeName() const;

    QJsonValue m_value;
    std::string m_fileName;
    std::string m_path;
};
