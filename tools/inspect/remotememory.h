// A block of memory inside another process. The tree and list controls of
// another process read and write the structures that their messages point
// to in their own address space, so those structures must live there.
#pragma once

#include <windows.h>

#include <cstddef>

class RemoteMemory {
public:
    RemoteMemory(HANDLE hProcess, size_t nSize);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool IsValid() const { return m_pBase != nullptr; }
    size_t Size() const { return m_nSize; }
    // The address, as the other process sees it, of the byte at offset.
    void* At(size_t offset) const { return static_cast<char*>(m_pBase) + offset; }
    LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }

    bool Write(size_t offset, const void* pData, size_t nSize);
    bool Read(size_t offset, void* pData, size_t nSize) const;

private:
    HANDLE m_hProcess;
    void* m_pBase;
    size_t m_nSize;
};
