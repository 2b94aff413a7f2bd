#pragma once
// Root of every persistent model class.
//
// Body on the stream (the header of every model object):
//   int32  version     the writer's current format version (GetVersion)
//   int32  identifier
// Subclasses append their own fields, from the root class down.

#include "platform/Stream.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

class Stream;
class ProgressBar;

// Declares the class name used on the stream and the ancestor the registry walks to. Leaves access public.
#define EV_DECLARE_CLASS(ClassName_, Base_)                                                                            \
public:                                                                                                                \
    using Base = Base_;                                                                                                \
    static constexpr const char* kClassName = #ClassName_;                                                             \
    const char* ClassName() const override { return kClassName; }

class evObject {
public:
    using Base = void;
    static constexpr const char* kClassName = "evObject";
    // The format version this program writes and the newest it reads. A class without one of its own has its
    // ancestor's, like GetVersion.
    static constexpr int32_t kVersion = 0;

    evObject();
    // Reads the header: progress step, then stored version and identifier.
    evObject(Stream& stream, ProgressBar* progress);
    explicit evObject(Stream& stream) : evObject(stream, nullptr) {}
    virtual ~evObject();

    evObject(const evObject&) = delete;
    evObject& operator=(const evObject&) = delete;

    virtual const char* ClassName() const { return kClassName; }
    virtual int32_t GetVersion() const { return kVersion; }
    virtual void SaveToStream(Stream& stream) const;
    virtual std::unique_ptr<evObject> Clone() const { return nullptr; }
    virtual bool IsEqual(const evObject* other) const { return false; }
    virtual std::string ToString() const;
    virtual void RemoveReferences(const evObject* object) {}
    virtual evObject* FindByID(int32_t id);

    int32_t GetID() const { return m_id; }
    int32_t GetStoredVersion() const { return m_storedVersion; }

protected:
    // Only tests and the readers of special files set these directly.
    void SetID(int32_t id) { m_id = id; }
    void SetStoredVersion(int32_t version) { m_storedVersion = version; }

private:
    int32_t m_storedVersion = 0;
    int32_t m_id = 0;
};

// Sets the bar to the percentage of the stream consumed, when a bar is given and the stream is not empty.
void ProgressStep(Stream& stream, ProgressBar* progress);

// Looks at the version at the start of the body that follows without consuming it. Every version from 0 up to
// current is read; a newer one (a file of a later program, or no body of this class at all, such as a picture
// file) is a read error naming the class and the version, raised before anything is read by today's layout.
void CheckStoredVersion(Stream& stream, const char* className, int32_t current);

// One body of T from the stream's position, its version checked first.
template <class T>
std::unique_ptr<T> ReadBody(Stream& stream, ProgressBar* progress)
{
    CheckStoredVersion(stream, T::kClassName, T::kVersion);
    std::unique_ptr<T> body = std::make_unique<T>(stream, progress);
    if (body->GetVersion() != T::kVersion) // a class that overrides GetVersion without its kVersion
        throw std::logic_error(std::string(T::kClassName) + " has no kVersion of its own");
    return body;
}

// A file that holds one body of T and nothing after it. Errors name the file: what is how a message names it
// ("The project file \"path\"").
template <class T>
std::unique_ptr<T> ReadBodyFile(const std::string& path, const std::string& what, ProgressBar* progress)
{
    FileStream file(path, FileStream::Mode::OpenRead);
    std::unique_ptr<T> body = ReadNamingFile(what, path, [&] { return ReadBody<T>(file, progress); });
    file.ExpectEnd(what);
    return body;
}
