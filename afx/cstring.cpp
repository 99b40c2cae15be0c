#include "afx/cstring.h"

#include "afx/cwinapp.h"

#include <mbstring.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

CString& CString::operator=(LPCSTR psz)
{
    m_str = psz != nullptr ? psz : "";
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    if (psz != nullptr)
        m_str += psz;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int nLength = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (nLength <= 0) {
        m_str.clear();
        return;
    }
    m_str.assign(nLength, '\0');
    vsnprintf(&m_str[0], m_str.size() + 1, pszFormat, args);
}

BOOL CString::LoadString(UINT nID)
{
    // A string resource holds at most 65535 characters; grow until it fits.
    for (int nSize = 256; nSize <= 65536; nSize *= 4) {
        std::string buffer(nSize, '\0');
        int nLength = ::LoadStringA(AfxGetResourceHandle(), nID, &buffer[0], nSize);
        if (nLength < nSize - 1) {
            m_str.assign(buffer.data(), nLength > 0 ? nLength : 0);
            return nLength > 0;
        }
    }
    return FALSE;
}

int CString::Compare(LPCSTR psz) const
{
    return strcmp(m_str.c_str(), psz != nullptr ? psz : "");
}

int CString::CompareNoCase(LPCSTR psz) const
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(m_str.c_str()),
                    reinterpret_cast<const unsigned char*>(psz != nullptr ? psz : ""));
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    const unsigned char* pBase = reinterpret_cast<const unsigned char*>(m_str.c_str());
    const unsigned char* p = _mbschr(pBase + nStart, static_cast<unsigned char>(ch));
    return p != nullptr && ch != '\0' ? static_cast<int>(p - pBase) : -1;
}

int CString::ReverseFind(char ch) const
{
    const unsigned char* pBase = reinterpret_cast<const unsigned char*>(m_str.c_str());
    const unsigned char* p = _mbsrchr(pBase, static_cast<unsigned char>(ch));
    return p != nullptr && ch != '\0' ? static_cast<int>(p - pBase) : -1;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, nCount).c_str());
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0 || nFirst >= GetLength())
        return CString();
    return CString(m_str.c_str() + nFirst, std::min(nCount, GetLength() - nFirst));
}

CString CString::Right(int nCount) const
{
    if (nCount <= 0)
        return CString();
    if (nCount >= GetLength())
        return *this;
    return CString(m_str.c_str() + GetLength() - nCount);
}

CString operator+(const CString& str1, const CString& str2)
{
    CString result(str1);
    result += str2;
    return result;
}

CString operator+(const CString& str, LPCSTR psz)
{
    CString result(str);
    result += psz;
    return result;
}

CString operator+(LPCSTR psz, const CString& str)
{
    CString result(psz);
    result += str;
    return result;
}

CString operator+(const CString& str, char ch)
{
    CString result(str);
    result += ch;
    return result;
}
