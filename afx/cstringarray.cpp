#include "afx/cstringarray.h"

INT_PTR CStringArray::Add(const CString& newElement)
{
    m_arr.push_back(newElement);
    return GetSize() - 1;
}

void CStringArray::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0 || nIndex >= GetSize())
        return;
    INT_PTR nEnd = std::min(nIndex + nCount, GetSize());
    m_arr.erase(m_arr.begin() + nIndex, m_arr.begin() + nEnd);
}

void CStringArray::RemoveAll()
{
    m_arr.clear();
    m_arr.shrink_to_fit();
}
