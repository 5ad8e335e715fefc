#include "tests/support/E2eProcess.h"

#include <tlhelp32.h>

#include <set>
#include <stdexcept>

namespace e2e {

namespace {

// The ids of the running processes of orlivex.scr.
std::set<DWORD> saverProcesses() {
    std::set<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) fail("CreateToolhelp32Snapshot");
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, L"orlivex.scr") == 0) ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

}  // namespace

void fail(const char* what) {
    throw std::runtime_error(std::string(what) + " failed, error " + std::to_string(GetLastError()));
}

void startUnixCommand(const std::string& script) {
    std::wstring commandLine = L"Z:\\bin\\sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        fail("starting a Unix command");
    // For a Unix program Wine returns no process handle and leaves the thread handle and id as
    // whatever was on its stack: closing that value may close any handle of this process, such as
    // the one a test waits on.
    if (info.hProcess) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

std::wstring saverPath() {
    wchar_t path[MAX_PATH];
    std::wstring tests(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    tests.resize(tests.find_last_of(L"\\/"));
    return tests.substr(0, tests.find_last_of(L"\\/")) + L"\\orlivex.scr";
}

Process::Process(const std::wstring& arguments, const char* locale, const wchar_t* desktop) {
    if (locale)
        startWithLocale(arguments, locale);
    else
        start(saverPath(), arguments, desktop);
}

Process::Process(const std::wstring& program, const std::wstring& arguments) { start(program, arguments, nullptr); }

void Process::start(const std::wstring& program, const std::wstring& arguments, const wchar_t* desktop) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    std::wstring station = desktop ? std::wstring(L"WinSta0\\") + desktop : std::wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (desktop) startup.lpDesktop = &station[0];
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
        fail("CreateProcessW");
}

void Process::startWithLocale(const std::wstring& arguments, const char* locale) {
    // Under Wine a program started by CreateProcess takes its locale from its parent's Unix
    // environment, whatever environment block it is given; so the program is started from a shell,
    // and found as the one new orlivex.scr.
    const std::set<DWORD> before = saverProcesses();
    const std::wstring path = saverPath();
    startUnixCommand(std::string("LC_ALL=") + locale + " LANG=" + locale + " exec wine '" +
                     std::string(path.begin(), path.end()) + "' " + std::string(arguments.begin(), arguments.end()));
    const bool found = pumpUntil(
        [&] {
            for (const DWORD id : saverProcesses())
                if (!before.count(id)) info_.dwProcessId = id;
            return info_.dwProcessId != 0;
        },
        STARTUP_MS);
    if (!found) throw std::runtime_error("orlivex.scr did not start from the shell");
    info_.hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, info_.dwProcessId);
    if (!info_.hProcess) fail("finding orlivex.scr");
}

Process::~Process() {
    if (running()) {
        TerminateProcess(info_.hProcess, 255);
        WaitForSingleObject(info_.hProcess, PROMPTLY_MS);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Process::waitExit(DWORD timeoutMs) {
    return pumpUntil([this] { return !running(); }, timeoutMs);
}

DWORD Process::exitCode() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(info_.hProcess, &code)) fail("GetExitCodeProcess");
    return code;
}

}  // namespace e2e
