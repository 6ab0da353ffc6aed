// CRegKey: opening and making keys; reading, writing and deleting string values.
#include "framework/core/RegKey.h"

#include <vector>

CRegKey CRegKey::Create(HKEY parent, LPCWSTR subKey) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return CRegKey();
    return CRegKey(key);
}

CRegKey CRegKey::Open(HKEY parent, LPCWSTR subKey, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, subKey, 0, access, &key) != ERROR_SUCCESS)
        return CRegKey();
    return CRegKey(key);
}

bool CRegKey::QueryString(LPCWSTR name, CString& value) const {
    value.Empty();
    if (m_key == nullptr)
        return false;
    // The value may change between the size query and the read; retry until the buffer fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(m_key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
            return false;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return false;
        // One spare character: a stored string need not end with its terminator.
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        size_t length = size / sizeof(wchar_t);
        if (length > buffer.size())
            length = buffer.size();
        while (length > 0 && buffer[length - 1] == L'\0')
            --length;
        value = CString(buffer.data(), static_cast<int>(length));
        return true;
    }
    return false;
}

bool CRegKey::SetString(LPCWSTR name, const CString& value) {
    if (m_key == nullptr)
        return false;
    const DWORD bytes = static_cast<DWORD>((static_cast<size_t>(value.GetLength()) + 1) * sizeof(wchar_t));
    return RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()), bytes) ==
           ERROR_SUCCESS;
}

bool CRegKey::DeleteValue(LPCWSTR name) {
    if (m_key == nullptr)
        return false;
    const LSTATUS status = RegDeleteValueW(m_key, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
