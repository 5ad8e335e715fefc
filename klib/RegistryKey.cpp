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

// Queries the value name of key into data (null: only its type and size). Returns false for
// ERROR_MORE_DATA, the value having grown since its size was read, when the caller can read again;
// throws RegException "::RegQueryValueEx(<name>) failed" for any other failure.
bool query(HKEY key, const std::wstring& name, DWORD& type, void* data, DWORD& size, bool canReadAgain = false) {
    type = REG_NONE;
    const LSTATUS status = RegQueryValueExW(key, cstrOrNull(name), nullptr, &type, static_cast<BYTE*>(data), &size);
    if (status == ERROR_MORE_DATA && canReadAgain) {
        return false;
    }
    if (status != ERROR_SUCCESS) {
        throwFailure<RegException>(L"::RegQueryValueEx", name, static_cast<DWORD>(status));
    }
    return true;
}

void checkDword(DWORD type, DWORD size) {
    if (type != REG_DWORD) {
        throw RegException(typeMismatch(type), 0);
    }
    if (size != sizeof(DWORD)) {
        throw RegException(sizeMismatch(size), 0);
    }
}

void checkString(DWORD type, DWORD size) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw RegException(typeMismatch(type), 0);
    }
    if (size % sizeof(wchar_t) != 0) {
        throw RegException(sizeMismatch(size), 0);
    }
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
    DWORD type = REG_NONE;
    DWORD size = 0;
    query(handle_, name, type, nullptr, size);
    checkDword(type, size);
    // The value may be rewritten between the two queries: the buffer size bounds the read
    // (a longer value fails with ERROR_MORE_DATA), and the type and size are checked again
    // so that a shorter value or another type is never returned as a partly filled DWORD.
    DWORD data = 0;
    size = sizeof(data);
    query(handle_, name, type, &data, size);
    checkDword(type, size);
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
    // The value may grow between querying its size and reading it: read again with the new size.
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        query(handle_, name, type, nullptr, size);
        checkString(type, size);
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (!query(handle_, name, type, &text[0], read, true)) {
            continue;
        }
        checkString(type, read);
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
