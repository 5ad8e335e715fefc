#include "screensaver/CommandLine.h"

#include "klib/Exception.h"
#include "klib/Strings.h"

#include <windows.h>

#include <vector>

namespace screensaver {

namespace {

// Only ASCII letters fold: the runtime's tolower is undefined for most UTF-16 code units.
wchar_t toLowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// A window handle in decimal. Handles carry 32 significant bits; a 64-bit host may write them signed,
// unsigned, or as the unsigned form of their sign extension. Throws klib::NumberFormatException.
int parseHandle(const std::wstring& text) {
    try {
        return klib::parseInt(text);
    } catch (const klib::NumberFormatException&) {
        if (text.empty() || text.size() > 20 || text.find_first_not_of(L"0123456789") != std::wstring::npos) {
            throw;
        }
    }
    unsigned long long value = 0;
    for (const wchar_t c : text) {
        const unsigned digit = static_cast<unsigned>(c - L'0');
        if (value > (~0ULL - digit) / 10) {
            throw klib::NumberFormatException(text + L" (overflow)");
        }
        value = value * 10 + digit;
    }
    const bool unsigned32 = value <= 0xFFFFFFFFULL;
    const bool signExtended = value >= 0xFFFFFFFF80000000ULL;
    if (!unsigned32 && !signExtended) {
        throw klib::NumberFormatException(text + L" (overflow)");
    }
    return static_cast<int>(static_cast<unsigned>(value & 0xFFFFFFFFULL));
}

}  // namespace

CommandLine::CommandLine() : CommandLine(GetCommandLineW()) {}

CommandLine::CommandLine(const wchar_t* commandLine) : mode(CONFIGURE), window(0) {
    std::vector<std::wstring> arguments;
    klib::splitCommandLine(arguments, commandLine);
    if (arguments.size() < 2) {
        return;
    }
    const std::wstring& first = arguments[1];
    try {
        if (isSwitch(first, L'c')) {
            mode = CONFIGURE;
            // "/c:42": the handle follows the third character, whatever that is.
            if (first.size() > 3) {
                window = parseHandle(first.substr(3));
            }
        } else if (isSwitch(first, L'p')) {
            mode = PREVIEW;
            if (arguments.size() >= 3) {
                window = parseHandle(arguments[2]);
            }
        } else if (isSwitch(first, L's')) {
            mode = SAVER;
        } else {
            mode = CONFIGURE;
        }
    } catch (const klib::NumberFormatException&) {
        // A malformed handle means no window; the mode stands.
        window = 0;
    }
}

bool isSwitch(const std::wstring& argument, wchar_t letter) {
    return argument.size() >= 2 && (argument[0] == L'/' || argument[0] == L'-') &&
           (argument[1] == letter || toLowerAscii(argument[1]) == letter);
}

}  // namespace screensaver
