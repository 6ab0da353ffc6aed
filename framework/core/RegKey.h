// CRegKey: move-only owner of an open registry key, with the string reads and writes the profile needs.
#pragma once

#include "framework/core/String.h"

#include <utility>

class CRegKey {
public:
    CRegKey() = default;
    explicit CRegKey(HKEY key) : m_key(key) {}
    CRegKey(CRegKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}
    CRegKey& operator=(CRegKey&& other) noexcept {
        if (this != &other)
            Attach(std::exchange(other.m_key, nullptr));
        return *this;
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    ~CRegKey() { Attach(nullptr); }

    // The subkey of parent, made when it does not exist; an empty key on failure.
    static CRegKey Create(HKEY parent, LPCWSTR subKey);
    // The existing subkey of parent; an empty key when it does not exist or cannot be opened.
    static CRegKey Open(HKEY parent, LPCWSTR subKey, REGSAM access = KEY_READ);

    HKEY Get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

    // A string value (REG_SZ or REG_EXPAND_SZ, taken literally); false when there is none.
    bool QueryString(LPCWSTR name, CString& value) const;
    bool SetString(LPCWSTR name, const CString& value);
    // Removes the value; true also when there was none.
    bool DeleteValue(LPCWSTR name);

private:
    void Attach(HKEY key) {
        if (m_key != nullptr)
            RegCloseKey(m_key);
        m_key = key;
    }

    HKEY m_key = nullptr;
};
