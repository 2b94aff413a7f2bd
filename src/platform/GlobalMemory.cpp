#include "platform/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr uint64_t kLiveMark = 0x564C52474C4F4231ull; // "VLRGLOB1"
constexpr uint64_t kFreedMark = 0x564C52474C4F4230ull;

// Kept to 32 bytes, so the data behind it is aligned for any type.
struct alignas(16) BlockHeader {
    uint64_t mark;
    uint64_t size;
    uint32_t locks;
    uint32_t flags;
    uint64_t reserved;
};
static_assert(sizeof(BlockHeader) == 32);

BlockHeader* HeaderOf(HGLOBAL handle)
{
    auto* header = static_cast<BlockHeader*>(handle);
    return header && header->mark == kLiveMark ? header : nullptr;
}

} // namespace

HGLOBAL GlobalAlloc(uint32_t flags, size_t size)
{
    if (size == 0 || size > kMaxGlobalBlock)
        return nullptr;
    void* memory = std::malloc(sizeof(BlockHeader) + size);
    if (!memory)
        return nullptr;
    auto* header = new (memory) BlockHeader{kLiveMark, size, 0, flags, 0};
    if (flags & GMEM_ZEROINIT)
        std::memset(header + 1, 0, size);
    return header;
}

void* GlobalLock(HGLOBAL handle)
{
    BlockHeader* header = HeaderOf(handle);
    if (!header)
        return nullptr;
    ++header->locks;
    return header + 1;
}

bool GlobalUnlock(HGLOBAL handle)
{
    BlockHeader* header = HeaderOf(handle);
    if (!header || header->locks == 0)
        return false;
    return --header->locks > 0;
}

size_t GlobalSize(HGLOBAL handle)
{
    const BlockHeader* header = HeaderOf(handle);
    return header ? header->size : 0;
}

bool GlobalFree(HGLOBAL handle)
{
    BlockHeader* header = HeaderOf(handle);
    if (!header)
        return false;
    header->mark = kFreedMark;
    std::free(header);
    return true;
}
