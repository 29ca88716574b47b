// CString: the framework's text value. A std::string inside; the classic operations outside, so that program
// code reads as it always has (LoadString, Format, GetBuffer/ReleaseBuffer, comparisons).
#pragma once
#include <cstdarg>
#include <string>

#include "fw/Defs.h"

// A CString holds the room its text needs and no more: every change gives back what a longer text before
// it took. So the memory a program holds at rest follows what it shows now, not the longest text it ever
// showed, and a count of its live heap tells a leak from a history.
class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&& other) noexcept : m_text(std::move(other.m_text)) { Fit(); }
    CString(LPCTSTR text) : m_text(text != nullptr ? text : "") {}
    CString(LPCTSTR text, int length)
        : m_text(text != nullptr ? std::string(text, length > 0 ? length : 0) : "") {}
    CString(TCHAR ch, int repeat = 1) : m_text(repeat > 0 ? repeat : 0, ch) {}
    explicit CString(const std::string& text) : m_text(text) {}
    ~CString() = default;

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCTSTR text);
    CString& operator=(TCHAR ch);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() {
        m_text.clear();
        Fit();
    }
    TCHAR GetAt(int index) const;
    void SetAt(int index, TCHAR ch);
    TCHAR operator[](int index) const { return GetAt(index); }
    operator LPCTSTR() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    CString& operator+=(const CString& text);
    CString& operator+=(LPCTSTR text);
    CString& operator+=(TCHAR ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);

    int Compare(LPCTSTR text) const;
    int CompareNoCase(LPCTSTR text) const;
    int Find(TCHAR ch, int start = 0) const;
    int Find(LPCTSTR text, int start = 0) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR chars) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(LPCTSTR chars) const;
    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    void TrimLeft();
    void TrimRight();
    void TrimLeft(LPCTSTR chars);
    void TrimRight(LPCTSTR chars);
    int Replace(TCHAR oldCh, TCHAR newCh);
    int Replace(LPCTSTR oldText, LPCTSTR newText);
    int Remove(TCHAR ch);
    int Insert(int index, TCHAR ch);
    int Insert(int index, LPCTSTR text);
    int Delete(int index, int count = 1);

    void Format(LPCTSTR format, ...) __attribute__((format(printf, 2, 3)));
    void Format(UINT formatId, ...);
    void FormatV(LPCTSTR format, va_list args);
    // Loads a string-table entry; FALSE (and the string unchanged) when there is none.
    BOOL LoadString(UINT id);

    // Direct access to the characters, for the Win32 calls that fill a buffer.
    LPTSTR GetBuffer(int minLength);
    LPTSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    void Fit() noexcept;

    std::string m_text;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator==(LPCTSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCTSTR b);
bool operator!=(LPCTSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
