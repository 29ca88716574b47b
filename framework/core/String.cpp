#include "fw/String.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

void CString::Fit() noexcept {
    if (m_text.capacity() > m_text.size())
        m_text.shrink_to_fit();
}

CString& CString::operator=(const CString& other) {
    if (this != &other) {
        m_text = other.m_text;
        Fit();
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    m_text = std::move(other.m_text);
    Fit();
    return *this;
}

CString& CString::operator=(LPCTSTR text) {
    m_text = text != nullptr ? text : "";
    Fit();
    return *this;
}

CString& CString::operator=(TCHAR ch) {
    m_text.assign(1, ch);
    Fit();
    return *this;
}

TCHAR CString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_text[static_cast<size_t>(index)] : '\0';
}

void CString::SetAt(int index, TCHAR ch) {
    if (index >= 0 && index < GetLength())
        m_text[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const CString& text) {
    m_text += text.m_text;
    Fit();
    return *this;
}

CString& CString::operator+=(LPCTSTR text) {
    if (text != nullptr)
        m_text += text;
    Fit();
    return *this;
}

CString& CString::operator+=(TCHAR ch) {
    m_text += ch;
    Fit();
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_text + b.m_text);
}
CString operator+(const CString& a, LPCTSTR b) {
    return CString(a.m_text + (b != nullptr ? b : ""));
}
CString operator+(LPCTSTR a, const CString& b) {
    return CString((a != nullptr ? a : "") + b.m_text);
}
CString operator+(const CString& a, TCHAR b) {
    return CString(a.m_text + b);
}

int CString::Compare(LPCTSTR text) const {
    return std::strcmp(m_text.c_str(), text != nullptr ? text : "");
}

int CString::CompareNoCase(LPCTSTR text) const {
    const char* a = m_text.c_str();
    const char* b = text != nullptr ? text : "";
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

int CString::Find(TCHAR ch, int start) const {
    if (start < 0 || start > GetLength())
        return -1;
    size_t pos = m_text.find(ch, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCTSTR text, int start) const {
    if (text == nullptr || start < 0 || start > GetLength())
        return -1;
    size_t pos = m_text.find(text, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(TCHAR ch) const {
    size_t pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCTSTR chars) const {
    size_t pos = m_text.find_first_of(chars != nullptr ? chars : "");
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(static_cast<size_t>(GetLength() - count)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::SpanIncluding(LPCTSTR chars) const {
    size_t end = m_text.find_first_not_of(chars != nullptr ? chars : "");
    return CString(m_text.substr(0, end));
}

void CString::MakeUpper() {
    for (char& c : m_text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void CString::MakeLower() {
    for (char& c : m_text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void CString::MakeReverse() {
    std::reverse(m_text.begin(), m_text.end());
}

void CString::TrimLeft() {
    TrimLeft(" \t\r\n\v\f");
}
void CString::TrimRight() {
    TrimRight(" \t\r\n\v\f");
}

void CString::TrimLeft(LPCTSTR chars) {
    size_t pos = m_text.find_first_not_of(chars != nullptr ? chars : "");
    m_text.erase(0, pos == std::string::npos ? m_text.size() : pos);
    Fit();
}

void CString::TrimRight(LPCTSTR chars) {
    size_t pos = m_text.find_last_not_of(chars != nullptr ? chars : "");
    m_text.erase(pos == std::string::npos ? 0 : pos + 1);
    Fit();
}

int CString::Replace(TCHAR oldCh, TCHAR newCh) {
    int count = 0;
    for (char& c : m_text) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCTSTR oldText, LPCTSTR newText) {
    if (oldText == nullptr || *oldText == '\0')
        return 0;
    std::string from(oldText);
    std::string to(newText != nullptr ? newText : "");
    int count = 0;
    for (size_t pos = m_text.find(from); pos != std::string::npos; pos = m_text.find(from, pos + to.size())) {
        m_text.replace(pos, from.size(), to);
        ++count;
    }
    Fit();
    return count;
}

int CString::Remove(TCHAR ch) {
    size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    Fit();
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, TCHAR ch) {
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<size_t>(index), 1, ch);
    Fit();
    return GetLength();
}

int CString::Insert(int index, LPCTSTR text) {
    index = std::clamp(index, 0, GetLength());
    m_text.insert(static_cast<size_t>(index), text != nullptr ? text : "");
    Fit();
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    Fit();
    return GetLength();
}

void CString::FormatV(LPCTSTR format, va_list args) {
    if (format == nullptr) {
        m_text.clear();
        Fit();
        return;
    }
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        m_text.clear();
        Fit();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_text.assign(buffer.data(), static_cast<size_t>(length));
    Fit();
}

void CString::Format(LPCTSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::Format(UINT formatId, ...) {
    CString format;
    format.LoadString(formatId);
    va_list args;
    va_start(args, formatId);
    FormatV(format, args);
    va_end(args);
}

LPTSTR CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

LPTSTR CString::GetBufferSetLength(int length) {
    m_text.resize(static_cast<size_t>(std::max(length, 0)));
    Fit();
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_text.c_str()));
    m_text.resize(static_cast<size_t>(std::min(newLength, GetLength())));
    Fit();
}

bool operator==(const CString& a, const CString& b) {
    return a.str() == b.str();
}
bool operator==(const CString& a, LPCTSTR b) {
    return a.Compare(b) == 0;
}
bool operator==(LPCTSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
bool operator!=(const CString& a, LPCTSTR b) {
    return !(a == b);
}
bool operator!=(LPCTSTR a, const CString& b) {
    return !(a == b);
}
bool operator<(const CString& a, const CString& b) {
    return a.str() < b.str();
}
