// Raw resources of the running program.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

// The bytes of resource (type, id) of this executable; empty when missing.
inline std::vector<BYTE> OwnResource(LPCSTR type, WORD id)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!info)
        return {};
    HGLOBAL handle = ::LoadResource(module, info);
    const BYTE* data = handle ? static_cast<const BYTE*>(::LockResource(handle)) : nullptr;
    if (!data)
        return {};
    return std::vector<BYTE>(data, data + ::SizeofResource(module, info));
}
