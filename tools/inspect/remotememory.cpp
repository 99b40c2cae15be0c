#include "remotememory.h"

RemoteMemory::RemoteMemory(HANDLE hProcess, size_t nSize)
    : m_hProcess(hProcess), m_pBase(nullptr), m_nSize(nSize)
{
    m_pBase = ::VirtualAllocEx(hProcess, nullptr, nSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory()
{
    if (m_pBase != nullptr)
        ::VirtualFreeEx(m_hProcess, m_pBase, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(size_t offset, const void* pData, size_t nSize)
{
    SIZE_T nDone = 0;
    return offset + nSize <= m_nSize && ::WriteProcessMemory(m_hProcess, At(offset), pData, nSize, &nDone) &&
           nDone == nSize;
}

bool RemoteMemory::Read(size_t offset, void* pData, size_t nSize) const
{
    SIZE_T nDone = 0;
    return offset + nSize <= m_nSize && ::ReadProcessMemory(m_hProcess, At(offset), pData, nSize, &nDone) &&
           nDone == nSize;
}
