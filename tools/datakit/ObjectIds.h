#pragma once
// Identifiers for the objects the data kit builds. A model object's identifier is set only by reading, so an
// object is given one by saving it, patching the identifier into its header and reading the copy back with the
// class's own reader.
//
// Designs name their objects with text identifiers; StableID turns such a name into the stored number. The
// number depends on the name alone, so recompiling an edited design keeps the numbers that projects already
// refer to (page layouts and slots are referred to by number from project files).

#include "platform/Stream.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

class ObjectIds {
public:
    // A positive number derived from the name (FNV-1a, 31 bits); never 0, which means "none" in the model.
    static int32_t StableID(std::string_view name);

    template <class T>
    static std::unique_ptr<T> WithID(const T& object, int32_t id)
    {
        MemoryStream stream;
        object.SaveToStream(stream);
        std::memcpy(stream.Data().data() + 4, &id, 4);
        stream.SetPosition(0);
        return std::make_unique<T>(stream, nullptr);
    }
};
