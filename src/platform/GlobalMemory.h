#pragma once
// Movable memory blocks passed between the program and libraries it loads (the scanner manager hands a scanned
// picture over in one), in the manner of the original platform's global memory: a handle names a block, Lock
// gives its address, Unlock ends that use, Free releases it. A handle is the address of a small header in front
// of the data, allocated with the C heap, so a block made by a loaded library can be freed by the program.
//
// A null handle, or one that points to memory that holds no block, is refused: Lock returns nullptr, Size returns
// 0, Free returns false. A handle must not be used after it was freed.

#include <cstddef>
#include <cstdint>

using HGLOBAL = void*;

constexpr uint32_t GMEM_FIXED = 0x0000;
constexpr uint32_t GMEM_MOVEABLE = 0x0002;
constexpr uint32_t GMEM_ZEROINIT = 0x0040;

// The largest block the program asks for or accepts: a scanned picture at the largest bitmap size, in 24 bits.
constexpr size_t kMaxGlobalBlock = size_t{150'000'000} * 3 + 4096;

// A new block of size bytes (zero-filled with GMEM_ZEROINIT); nullptr when size is 0, larger than
// kMaxGlobalBlock or the memory is not there.
HGLOBAL GlobalAlloc(uint32_t flags, size_t size);
void* GlobalLock(HGLOBAL handle);
// False once the block is no longer locked (as on the original platform), also for a handle never locked.
bool GlobalUnlock(HGLOBAL handle);
size_t GlobalSize(HGLOBAL handle);
// True when the block was released.
bool GlobalFree(HGLOBAL handle);
