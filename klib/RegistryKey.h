#pragma once

#include <windows.h>

#include <string>

namespace klib {

// Owns one open registry key and reads and writes 32-bit values and reads strings in it.
// Every failure is a RegException carrying the status the registry returned.
class RegistryKey {
public:
    // Creates path below root when access includes KEY_CREATE_SUB_KEY, otherwise only opens it.
    // An empty path opens root itself.
    RegistryKey(HKEY root, const std::wstring& path, REGSAM access);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // The value must be a REG_DWORD of exactly 4 bytes; nullString names the key's default value.
    int getInt(const std::wstring& name) const;
    // As getInt(name), but any RegException of the read yields defaultValue.
    int getInt(const std::wstring& name, int defaultValue) const;
    // The value must be a REG_SZ or REG_EXPAND_SZ (not expanded) of whole UTF-16 characters; the
    // string ends at its first null or at the value's end, whichever comes first.
    std::wstring getString(const std::wstring& name) const;
    // As getString(name), but any RegException of the read yields defaultValue.
    std::wstring getString(const std::wstring& name, const std::wstring& defaultValue) const;
    // Creates or replaces name as a 4-byte REG_DWORD.
    void setInt(const std::wstring& name, int value);

private:
    HKEY handle_;
};

}  // namespace klib
