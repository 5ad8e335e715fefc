#include "klib/RegistryKey.h"
#include "klib/Win32Failure.h"

#include "klib/Exception.h"
#include "klib/Strings.h"

namespace klib {

namespace {

std::wstring typeMismatch(DWORD type) {
    return L"type mismatch: " + toUnsignedString(type);
}

std::wstring sizeMismatch(DWORD size) {
    return L"size mismatch: " + toUnsignedString(size);
}

RegException queryFailed(const std::wstring& name, LSTATUS status) {
    return failure<RegException>(L"::RegQueryValueEx", name, static_cast<DWORD>(status));
}

}  // namespace

RegistryKey::RegistryKey(HKEY root, const std::wstring& path, REGSAM access) : handle_(nullptr) {
    HKEY handle = nullptr;
    if (access & KEY_CREATE_SUB_KEY) {
        // RegCreateKeyExW does not accept a null sub-key; the empty string names root itself.
        const LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               access, nullptr, &handle, nullptr);
        if (status != ERROR_SUCCESS) {
            throwFailure<RegException>(L"::RegCreateKeyEx", path, static_cast<DWORD>(status));
        }
    } else {
        const LSTATUS status = RegOpenKeyExW(root, path.empty() ? nullptr : path.c_str(), 0, access, &handle);
        if (status != ERROR_SUCCESS) {
            throwFailure<RegException>(L"::RegOpenKeyEx", path, static_cast<DWORD>(status));
        }
    }
    handle_ = handle;
}

RegistryKey::~RegistryKey() {
    if (handle_ != nullptr) {
        RegCloseKey(handle_);  // nothing sensible to do when closing fails
    }
}

int RegistryKey::getInt(const std::wstring& name) const {
    const wchar_t* const valueName = cstrOrNull(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(handle_, valueName, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        throw queryFailed(name, status);
    }
    if (type != REG_DWORD) {
        throw RegException(typeMismatch(type), 0);
    }
    if (size != sizeof(DWORD)) {
        throw RegException(sizeMismatch(size), 0);
    }

    // The value may be rewritten between the two queries: the buffer size bounds the read
    // (a longer value fails with ERROR_MORE_DATA), and the type and size are checked again
    // so that a shorter value or another type is never returned as a partly filled DWORD.
    DWORD data = 0;
    size = sizeof(data);
    status = RegQueryValueExW(handle_, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (status != ERROR_SUCCESS) {
        throw queryFailed(name, status);
    }
    if (type != REG_DWORD) {
        throw RegException(typeMismatch(type), 0);
    }
    if (size != sizeof(DWORD)) {
        throw RegException(sizeMismatch(size), 0);
    }
    return static_cast<int>(data);
}

int RegistryKey::getInt(const std::wstring& name, int defaultValue) const {
    try {
        return getInt(name);
    } catch (const RegException&) {
        return defaultValue;
    }
}

std::wstring RegistryKey::getString(const std::wstring& name) const {
    const wchar_t* const valueName = cstrOrNull(name);
    // The value may grow between querying its size and reading it: read again with the new size.
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        LSTATUS status = RegQueryValueExW(handle_, valueName, nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) {
            throw queryFailed(name, status);
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            throw RegException(typeMismatch(type), 0);
        }
        if (size % sizeof(wchar_t) != 0) {
            throw RegException(sizeMismatch(size), 0);
        }
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegQueryValueExW(handle_, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &read);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            throw queryFailed(name, status);
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            throw RegException(typeMismatch(type), 0);
        }
        if (read % sizeof(wchar_t) != 0) {
            throw RegException(sizeMismatch(read), 0);
        }
        text.resize(read / sizeof(wchar_t));
        const std::size_t end = text.find(L'\0');
        if (end != std::wstring::npos) {
            text.resize(end);
        }
        return text;
    }
}

std::wstring RegistryKey::getString(const std::wstring& name, const std::wstring& defaultValue) const {
    try {
        return getString(name);
    } catch (const RegException&) {
        return defaultValue;
    }
}

void RegistryKey::setInt(const std::wstring& name, int value) {
    const DWORD data = static_cast<DWORD>(value);
    const LSTATUS status = RegSetValueExW(handle_, cstrOrNull(name), 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&data), sizeof(data));
    if (status != ERROR_SUCCESS) {
        throwFailure<RegException>(L"::RegSetValueEx", name, static_cast<DWORD>(status));
    }
}

}  // namespace klib
