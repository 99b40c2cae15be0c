// CString: a single-byte (ANSI) string with MFC's interface.
#pragma once

#include "afx/winheaders.h"

#include <string>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    // cppcheck-suppress noExplicitConstructor ; converts from LPCSTR, as MFC's does
    CString(LPCSTR psz) : m_str(psz != nullptr ? psz : "") {}
    CString(LPCSTR pch, int nLength) : m_str(pch, nLength > 0 ? nLength : 0) {}
    // cppcheck-suppress noExplicitConstructor ; converts from char, as MFC's does
    CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}

    CString& operator=(const CString&) = default;
    CString& operator=(LPCSTR psz);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);

    operator LPCSTR() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const { return m_str[nIndex]; }
    char operator[](int nIndex) const { return m_str[nIndex]; }

    // printf-style formatting; replaces the contents.
    void Format(LPCSTR pszFormat, ...) __attribute__((format(gnu_printf, 2, 3)));
    void FormatV(LPCSTR pszFormat, va_list args);
    // Loads string resource nID of the application's resource module.
    BOOL LoadString(UINT nID);

    int Compare(LPCSTR psz) const;
    // Case-insensitive, multibyte-aware under the current code page.
    int CompareNoCase(LPCSTR psz) const;

    // Multibyte-aware: a trail byte never matches. -1 when not found.
    int Find(char ch, int nStart = 0) const;
    int ReverseFind(char ch) const;

    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;

private:
    std::string m_str;
};

CString operator+(const CString& str1, const CString& str2);
CString operator+(const CString& str, LPCSTR psz);
CString operator+(LPCSTR psz, const CString& str);
CString operator+(const CString& str, char ch);

inline bool operator==(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) == 0;
}
inline bool operator==(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) == 0;
}
inline bool operator==(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) == 0;
}
inline bool operator!=(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) != 0;
}
inline bool operator!=(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) != 0;
}
inline bool operator!=(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) != 0;
}
