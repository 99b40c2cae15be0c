// CArray: an ordered, growable array of TYPE. RemoveAll frees no element
// that TYPE points to.
#pragma once

#include "afx/winheaders.h"

#include <algorithm>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_arr.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_arr.empty(); }
    const TYPE& GetAt(INT_PTR nIndex) const { return m_arr[nIndex]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_arr[nIndex]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_arr[nIndex] = newElement; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_arr[nIndex]; }
    TYPE& operator[](INT_PTR nIndex) { return m_arr[nIndex]; }
    const TYPE* GetData() const { return m_arr.data(); }
    TYPE* GetData() { return m_arr.data(); }

    // Appends; returns the new element's index.
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_arr.push_back(newElement);
        return GetSize() - 1;
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0 || nIndex >= GetSize())
            return;
        INT_PTR nEnd = std::min(nIndex + nCount, GetSize());
        m_arr.erase(m_arr.begin() + nIndex, m_arr.begin() + nEnd);
    }
    void RemoveAll()
    {
        m_arr.clear();
        m_arr.shrink_to_fit();
    }

private:
    std::vector<TYPE> m_arr;
};
