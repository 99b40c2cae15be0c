// CStringArray: an ordered, growable array of CString.
#pragma once

#include "afx/cstring.h"

#include <vector>

class CStringArray {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_arr.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_arr.empty(); }
    const CString& GetAt(INT_PTR nIndex) const { return m_arr[nIndex]; }
    void SetAt(INT_PTR nIndex, LPCSTR newElement) { m_arr[nIndex] = newElement; }
    const CString& operator[](INT_PTR nIndex) const { return m_arr[nIndex]; }
    CString& operator[](INT_PTR nIndex) { return m_arr[nIndex]; }

    // Appends; returns the new element's index.
    INT_PTR Add(const CString& newElement);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    void RemoveAll();

private:
    std::vector<CString> m_arr;
};
