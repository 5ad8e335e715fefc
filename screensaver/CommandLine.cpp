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
                window = klib::parseInt(first.substr(3));
            }
        } else if (isSwitch(first, L'p')) {
            mode = PREVIEW;
            if (arguments.size() >= 3) {
                window = klib::parseInt(arguments[2]);
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
