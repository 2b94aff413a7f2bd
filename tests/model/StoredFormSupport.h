#pragma once
// Helpers for the tests of stored forms: a body's header, numbers in a row, an object's saved body, and the check
// that every cut of a body is refused.

#include "model/evObject.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

// Writes the header of a body: version and identifier.
inline void WriteHeader(Stream& stream, int32_t version, int32_t id)
{
    stream.WriteInt32(version);
    stream.WriteInt32(id);
}

inline void WriteInts(Stream& stream, std::initializer_list<int32_t> values)
{
    for (int32_t value : values)
        stream.WriteInt32(value);
}

inline std::vector<uint8_t> SavedBody(const evObject& object)
{
    MemoryStream stream;
    object.SaveToStream(stream);
    return stream.Data();
}

// Every shorter prefix of a good body fails to read with the error.
template <class Error = EReadError, class Read>
void ExpectEveryCutFails(const std::vector<uint8_t>& body, Read read)
{
    for (size_t length = 0; length < body.size(); ++length) {
        MemoryStream cut(body.data(), static_cast<int64_t>(length));
        EXPECT_THROW(read(cut), Error) << "cut at " << length;
    }
}
