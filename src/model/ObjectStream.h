#pragma once
// Object references on the stream.
//
//   no object:  string "NP"
//   an object:  string "P", string class name, the object's body (SaveToStream)
//
// Reading a tag other than "P" gives no object and reads nothing more.

#include "model/evObject.h"
#include "platform/Errors.h"

#include <memory>

class Stream;
class ProgressBar;

// References nest (a design holds page layouts that hold elements ...). Deeper nesting than this is taken for a
// damaged or hostile file and is a read error, so a reader never exhausts the stack.
constexpr int kMaxObjectNesting = 200;

std::unique_ptr<evObject> ReadObject(Stream& stream, ProgressBar* progress = nullptr);
void WriteObject(Stream& stream, const evObject* object);

// ReadObject, then a check that the object (when there is one) is a T; anything else is a read error.
template <class T>
std::unique_ptr<T> ReadObjectAs(Stream& stream, ProgressBar* progress = nullptr)
{
    std::unique_ptr<evObject> object = ReadObject(stream, progress);
    if (!object)
        return nullptr;
    if (auto* typed = dynamic_cast<T*>(object.get())) {
        object.release();
        return std::unique_ptr<T>(typed);
    }
    throw EReadError(std::string("Unexpected class \"") + object->ClassName() + "\" in the stream");
}

// Counts the nesting of the reads in progress on this thread; a reader that recurses by hand (a category's
// sibling chain) holds one while it works.
class NestingGuard {
public:
    NestingGuard();
    ~NestingGuard();
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};
