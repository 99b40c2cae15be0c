#include "recordblocks.h"

#include "spoolscope/printerrecord.h"

#include <cstdlib>
#include <new>

// gcc 12 takes the malloc in a replaced operator new for an uninitialised read.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {

// An open-addressing table of block addresses: it must not allocate itself.
const size_t kSlots = 1 << 16;
const void* g_slots[kSlots];
const void* const kDeleted = reinterpret_cast<const void*>(1);

size_t SlotOf(const void* p)
{
    return (reinterpret_cast<uintptr_t>(p) >> 4) * 2654435761u % kSlots;
}

void Track(const void* p)
{
    for (size_t i = SlotOf(p), n = 0; n < kSlots; i = (i + 1) % kSlots, ++n) {
        if (g_slots[i] == nullptr || g_slots[i] == kDeleted) {
            g_slots[i] = p;
            return;
        }
    }
    abort();  // more live records than any test makes
}

void Untrack(const void* p)
{
    for (size_t i = SlotOf(p), n = 0; n < kSlots && g_slots[i] != nullptr; i = (i + 1) % kSlots, ++n) {
        if (g_slots[i] == p) {
            g_slots[i] = kDeleted;
            return;
        }
    }
}

// Each block carries its size in front of it.
const size_t kHeader = 16;

void* Allocate(size_t nSize)
{
    char* pBlock = static_cast<char*>(malloc(nSize + kHeader));
    if (pBlock == nullptr)
        return nullptr;
    *reinterpret_cast<size_t*>(pBlock) = nSize;
    void* p = pBlock + kHeader;
    if (nSize == sizeof(PrinterRecord))
        Track(p);
    return p;
}

void Release(void* p)
{
    if (p == nullptr)
        return;
    char* pBlock = static_cast<char*>(p) - kHeader;
    if (*reinterpret_cast<size_t*>(pBlock) == sizeof(PrinterRecord))
        Untrack(p);
    free(pBlock);
}

}  // namespace

std::set<const void*> LiveRecordBlocks()
{
    std::set<const void*> result;
    for (const void* p : g_slots) {
        if (p != nullptr && p != kDeleted)
            result.insert(p);
    }
    return result;
}

void* operator new(size_t nSize)
{
    void* p = Allocate(nSize);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void* operator new[](size_t nSize)
{
    return operator new(nSize);
}

void* operator new(size_t nSize, const std::nothrow_t&) noexcept
{
    return Allocate(nSize);
}

void* operator new[](size_t nSize, const std::nothrow_t&) noexcept
{
    return Allocate(nSize);
}

void operator delete(void* p) noexcept
{
    Release(p);
}

void operator delete[](void* p) noexcept
{
    Release(p);
}

void operator delete(void* p, size_t) noexcept
{
    Release(p);
}

void operator delete[](void* p, size_t) noexcept
{
    Release(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    Release(p);
}
