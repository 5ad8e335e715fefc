#pragma once

#include <windows.h>

#include <string>

#include "tests/support/Pump.h"

// Support for driving the real orlivex.scr the way the screen-saver host does: starting it.
namespace e2e {

constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD PROMPTLY_MS = 5000;
constexpr int DEFAULT_COLOUR = 0x804060;
const wchar_t* const TITLE = L"Orlivex Screen Saver";

using testing_support::pumpUntil;

// Throws std::runtime_error "<what> failed, error <last error>".
[[noreturn]] void fail(const char* what);

// orlivex.scr of this build: one folder above the test program.
std::wstring saverPath();

// Runs a shell command line on the Unix side (Wine starts Unix programs directly); does not wait.
void startUnixCommand(const std::string& script);

// A child process, ended and closed when the holder goes.
class Process {
public:
    // With a locale (such as "ja_JP.UTF-8") the program runs with LC_ALL and LANG set to it: Wine
    // takes the user-interface language from them. With a desktop it starts there, in the interactive
    // window station, as the system starts a saver after the idle time.
    explicit Process(const std::wstring& arguments, const char* locale = nullptr, const wchar_t* desktop = nullptr);
    // Any other program, program being its path or a name the system searches for.
    Process(const std::wstring& program, const std::wstring& arguments);
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // True when the process ended within timeoutMs.
    bool waitExit(DWORD timeoutMs);
    bool running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD exitCode() const;
    DWORD id() const noexcept { return info_.dwProcessId; }

private:
    void start(const std::wstring& program, const std::wstring& arguments, const wchar_t* desktop);
    void startWithLocale(const std::wstring& arguments, const char* locale);

    PROCESS_INFORMATION info_{};
};

}  // namespace e2e
