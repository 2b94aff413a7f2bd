#include "JsonCursor.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {

constexpr qint64 kMaxDescriptionBytes = 8 * 1024 * 1024;

std::string Join(const std::string& path, const std::string& part) { return path.empty() ? part : path + " / " + part; }

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool IsIdentifierChar(char c, bool first)
{
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (first)
        return letter;
    return letter || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

} // namespace

JsonCursor JsonCursor::Parse(const QByteArray& text, const std::string& fileName)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        int line = 1;
        int column = 1;
        for (int i = 0; i < error.offset && i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw EDataSourceError(fileName + ":" + std::to_string(line) + ":" + std::to_string(column) +
                               ": not valid JSON (" + error.errorString().toStdString() + ")");
    }
    const QJsonValue root = document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
    return JsonCursor(root, fileName, "");
}

JsonCursor JsonCursor::Load(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EDataSourceError(path + ": cannot be read");
    if (file.size() > kMaxDescriptionBytes)
        throw EDataSourceError(path + ": larger than a description can be (8 MB)");
    return Parse(file.readAll(), path);
}

JsonCursor::JsonCursor(QJsonValue value, std::string fileName, std::string path)
    : m_value(std::move(value)), m_fileName(std::move(fileName)), m_path(std::move(path))
{}

void JsonCursor::Fail(const std::string& message) const
{
    throw EDataSourceError(m_fileName + ": " + (m_path.empty() ? std::string("top level") : m_path) + ": " + message);
}

const char* JsonCursor::TypeName() const
{
    switch (m_value.type()) {
    case QJsonValue::Null: return "null";
    case QJsonValue::Bool: return "a true/false value";
    case QJsonValue::Double: return "a number";
    case QJsonValue::String: return "a text";
    case QJsonValue::Array: return "a list";
    case QJsonValue::Object: return "an object";
    default: return "nothing";
    }
}

bool JsonCursor::Has(std::string_view key) const
{
    return m_value.isObject() && m_value.toObject().contains(QString::fromUtf8(key.data(), qsizetype(key.size())));
}

JsonCursor JsonCursor::Field(std::string_view key) const
{
    if (!m_value.isObject())
        Fail(std::string("expected an object, found ") + TypeName());
    const QJsonObject object = m_value.toObject();
    const QString name = QString::fromUtf8(key.data(), qsizetype(key.size()));
    if (!object.contains(name))
        Fail("the field " + Quote(key) + " is missing");
    return JsonCursor(object.value(name), m_fileName, Join(m_path, std::string(key)));
}

std::optional<JsonCursor> JsonCursor::Optional(std::string_view key) const
{
    if (!Has(key))
        return std::nullopt;
    return Field(key);
}

void JsonCursor::AllowOnly(std::initializer_list<std::string_view> keys) const
{
    if (!m_value.isObject())
        Fail(std::string("expected an object, found ") + TypeName());
    const QJsonObject object = m_value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string key = it.key().toStdString();
        bool known = false;
        for (std::string_view allowed : keys)
            known = known || key == allowed;
        if (!known) {
            std::string list;
            for (std::string_view allowed : keys)
                list += (list.empty() ? "" : ", ") + std::string(allowed);
            Fail("unknown field " + Quote(key) + " (known here: " + list + ")");
        }
    }
}

std::vector<std::pair<std::string, JsonCursor>> JsonCursor::Members() const
{
    if (!m_value.isObject())
        Fail(std::string("expected an object, found ") + TypeName());
    std::vector<std::pair<std::string, JsonCursor>> members;
    const QJsonObject object = m_value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string key = it.key().toStdString();
        members.emplace_back(key, JsonCursor(it.value(), m_fileName, Join(m_path, key)));
    }
    return members;
}

std::vector<JsonCursor> JsonCursor::Items() const
{
    if (!m_value.isArray())
        Fail(std::string("expected a list, found ") + TypeName());
    std::vector<JsonCursor> items;
    const QJsonArray array = m_value.toArray();
    const std::string base = m_path;
    for (qsizetype i = 0; i < array.size(); ++i) {
        // The index goes onto the last part of the path: "elements[2]".
        items.emplace_back(array.at(i), m_fileName, base + "[" + std::to_string(i) + "]");
    }
    return items;
}

std::string JsonCursor::String() const
{
    if (!m_value.isString())
        Fail(std::string("expected a text, found ") + TypeName());
    return m_value.toString().toStdString();
}

double JsonCursor::Number() const
{
    if (!m_value.isDouble())
        Fail(std::string("expected a number, found ") + TypeName());
    return m_value.toDouble();
}

double JsonCursor::Number(double min, double max) const
{
    const double value = Number();
    if (!(value >= min && value <= max))
        Fail("the number " + std::to_string(value) + " is outside " + std::to_string(min) + " .. " +
             std::to_string(max));
    return value;
}

int JsonCursor::Int(int min, int max) const
{
    const double value = Number();
    if (value != std::floor(value))
        Fail("expected a whole number, found " + std::to_string(value));
    if (value < min || value > max)
        Fail("the number " + std::to_string(static_cast<long long>(value)) + " is outside " + std::to_string(min) +
             " .. " + std::to_string(max));
    return static_cast<int>(value);
}

bool JsonCursor::Bool() const
{
    if (!m_value.isBool())
        Fail(std::string("expected true or false, found ") + TypeName());
    return m_value.toBool();
}

bool JsonCursor::IsIdentifier(std::string_view text)
{
    bool valid = !text.empty() && text.size() <= 64;
    for (size_t i = 0; valid && i < text.size(); ++i)
        valid = IsIdentifierChar(text[i], i == 0);
    return valid;
}

std::string JsonCursor::Identifier() const
{
    const std::string text = String();
    if (!IsIdentifier(text))
        Fail("the identifier " + Quote(text) +
             " must begin with a letter and hold only letters, digits, \"_\" and \"-\" (at most 64)");
    return text;
}

std::vector<int> JsonCursor::Ints(size_t count, int min, int max) const
{
    const std::vector<JsonCursor> items = Items();
    if (items.size() != count)
        Fail("expected a list of " + std::to_string(count) + " whole numbers, found a list of " +
             std::to_string(items.size()));
    std::vector<int> values;
    for (const JsonCursor& item : items)
        values.push_back(item.Int(min, max));
    return values;
}

std::vector<double> JsonCursor::Numbers(size_t count) const
{
    const std::vector<JsonCursor> items = Items();
    if (items.size() != count)
        Fail("expected a list of " + std::to_string(count) + " numbers, found a list of " +
             std::to_string(items.size()));
    std::vector<double> values;
    for (const JsonCursor& item : items)
        values.push_back(item.Number(-1e6, 1e6));
    return values;
}

std::string JsonCursor::String(std::string_view key, const std::string& fallback) const
{
    const auto field = Optional(key);
    return field ? field->String() : fallback;
}

bool JsonCursor::Bool(std::string_view key, bool fallback) const
{
    const auto field = Optional(key);
    return field ? field->Bool() : fallback;
}

int JsonCursor::Int(std::string_view key, int fallback, int min, int max) const
{
    const auto field = Optional(key);
    return field ? field->Int(min, max) : fallback;
}

double JsonCursor::Number(std::string_view key, double fallback, double min, double max) const
{
    const auto field = Optional(key);
    return field ? field->Number(min, max) : fallback;
}

JsonCursor JsonCursor::Named(const std::string& label) const
{
    return JsonCursor(m_value, m_fileName, m_path + " " + Quote(label));
}
