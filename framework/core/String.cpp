// CString: conversions from and to code pages, formatting, the string table, the search helpers.
#include "framework/core/String.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

CString::CString(std::string_view ansiText) {
    if (ansiText.empty())
        return;
    const int sourceLength = static_cast<int>(ansiText.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, ansiText.data(), sourceLength, nullptr, 0);
    m_text.resize(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, ansiText.data(), sourceLength, m_text.data(), length);
}

void CString::Format(const wchar_t* format, ...) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        // The Microsoft runtime's own formatter: %c and %s take wide arguments in wide formats.
        const int written = _vsnwprintf(buffer.data(), buffer.size() - 1, format, args);
        va_end(args);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size() - 1) {
            m_text.assign(buffer.data(), static_cast<size_t>(written));
            return;
        }
        buffer.resize(buffer.size() * 2);
    }
}

BOOL CString::LoadString(UINT id) {
    const wchar_t* resource = nullptr;
    // With a zero buffer size the call hands out a pointer to the resource's own text.
    const int length = ::LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr) {
        m_text.clear();
        return FALSE;
    }
    m_text.assign(resource, static_cast<size_t>(length));
    return TRUE;
}

CString CString::Mid(int first, int count) const {
    if (first < 0)
        first = 0;
    if (static_cast<size_t>(first) >= m_text.size())
        return CString();
    return CString(
        m_text.substr(static_cast<size_t>(first), count < 0 ? std::wstring::npos : static_cast<size_t>(count)));
}

int CString::Find(wchar_t ch, int start) const {
    const size_t at = m_text.find(ch, static_cast<size_t>(start < 0 ? 0 : start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

std::string CString::ToCodePage(UINT codePage, bool* pLossless) const {
    if (pLossless != nullptr)
        *pLossless = true;
    if (m_text.empty())
        return {};
    const int sourceLength = static_cast<int>(m_text.size());
    auto convert = [&](DWORD flags, BOOL* pUsedDefault) {
        const int length =
            WideCharToMultiByte(codePage, flags, m_text.c_str(), sourceLength, nullptr, 0, nullptr, nullptr);
        std::string result(static_cast<size_t>(length > 0 ? length : 0), '\0');
        if (length > 0)
            WideCharToMultiByte(codePage, flags, m_text.c_str(), sourceLength, result.data(), length, nullptr,
                                pUsedDefault);
        return result;
    };
    if (codePage == CP_UTF8) {
        // UTF-8 takes no default character and no flag but this one: with it, the conversion
        // fails exactly on text that is not proper UTF-16. That text is then given with the
        // replacement character, and is not lossless.
        std::string exact = convert(WC_ERR_INVALID_CHARS, nullptr);
        if (!exact.empty())
            return exact;
        if (pLossless != nullptr)
            *pLossless = false;
        return convert(0, nullptr);
    }
    BOOL usedDefault = FALSE;
    // No best-fit mapping: a character the code page lacks must not turn into a look-alike.
    std::string result = convert(WC_NO_BEST_FIT_CHARS, &usedDefault);
    if (pLossless != nullptr) {
        // A round trip catches what the default-character flag cannot (for instance a lone
        // surrogate), so "lossless" means the bytes read back as exactly this text.
        std::wstring back(result.size(), L'\0');
        const int backLength = MultiByteToWideChar(codePage, 0, result.data(), static_cast<int>(result.size()),
                                                   back.data(), static_cast<int>(back.size()));
        back.resize(static_cast<size_t>(backLength > 0 ? backLength : 0));
        *pLossless = !usedDefault && back == m_text;
    }
    return result;
}

CString AfxLoadString(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

BOOL AfxExtractSubString(CString& rString, const CString& fullString, int nIndex, wchar_t chSep) {
    rString.Empty();
    if (fullString.IsEmpty() || nIndex < 0)
        return FALSE;
    int start = 0;
    for (int field = 0; field < nIndex; ++field) {
        const int separator = fullString.Find(chSep, start);
        if (separator < 0)
            return FALSE;
        start = separator + 1;
    }
    const int end = fullString.Find(chSep, start);
    rString = fullString.Mid(start, end >= 0 ? end - start : -1);
    return TRUE;
}
