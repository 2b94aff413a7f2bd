#include "ObjectIds.h"

int32_t ObjectIds::StableID(std::string_view name)
{
    uint32_t hash = 2166136261u;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 16777619u;
    }
    const auto id = static_cast<int32_t>(hash & 0x7FFFFFFFu);
    return id == 0 ? 1 : id;
}
