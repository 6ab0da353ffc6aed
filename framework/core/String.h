// CString: the framework's UTF-16 string, with formatting and loading from the string table.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text != nullptr ? text : L"") {}
    CString(const wchar_t* text, int length) : m_text(text, static_cast<size_t>(length)) {}
    CString(std::wstring_view text) : m_text(text) {}
    CString(std::wstring text) : m_text(std::move(text)) {}
    // Text in the system's ANSI code page, converted to UTF-16.
    explicit CString(std::string_view ansiText);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }
    wchar_t operator[](int index) const { return GetAt(index); }
    const wchar_t* GetString() const { return m_text.c_str(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    const std::wstring& str() const { return m_text; }

    // printf-style formatting; %c and %s take wide characters and strings.
    void Format(const wchar_t* format, ...);
    // The string of that id from the program's string table; FALSE (and empty) when there is none.
    BOOL LoadString(UINT id);

    CString Mid(int first, int count = -1) const;
    int Find(wchar_t ch, int start = 0) const;

    // The text in the system's ANSI code page. pLossless, if given, tells whether every character
    // could be represented exactly (no replacement by '?' or by a look-alike).
    std::string ToAnsi(bool* pLossless = nullptr) const { return ToCodePage(GetACP(), pLossless); }
    // The same in the given code page. Under UTF-8 every character has its bytes; only text that
    // is not proper UTF-16 (a lone surrogate) is not lossless.
    std::string ToCodePage(UINT codePage, bool* pLossless = nullptr) const;

    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(const wchar_t* other) {
        m_text += other;
        return *this;
    }
    CString& operator+=(wchar_t ch) {
        m_text += ch;
        return *this;
    }
    friend CString operator+(CString a, const CString& b) { return a += b; }
    friend CString operator+(CString a, const wchar_t* b) { return a += b; }
    friend CString operator+(const wchar_t* a, const CString& b) { return CString(a) += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == b; }

private:
    std::wstring m_text;
};

// Field nIndex (from 0) of text whose fields are separated by chSep, as in a command's string
// ("prompt\ntooltip") or a document string. FALSE (and empty) when the text has no such field;
// empty text has none.
BOOL AfxExtractSubString(CString& rString, const CString& fullString, int nIndex, wchar_t chSep = L'\n');

// The string of that id from the program's string table, empty when there is none.
CString AfxLoadString(UINT nID);
