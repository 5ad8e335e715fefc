#include "tests/e2e/E2e.h"

#include "awt/DibSurface.h"

#include <tlhelp32.h>

#include <cstdio>
#include <set>
#include <stdexcept>

namespace e2e {

namespace {

std::wstring moduleFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

void fail(const char* what) {
    throw std::runtime_error(std::string(what) + " failed, error " + std::to_string(GetLastError()));
}

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

// Runs a shell command line on the Unix side (Wine starts Unix programs directly).
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

}  // namespace

std::wstring saverPath() {
    const std::wstring tests = moduleFolder();
    return tests.substr(0, tests.find_last_of(L"\\/")) + L"\\orlivex.scr";
}

Process::Process(const std::wstring& arguments, const char* locale) {
    if (locale) {
        startWithLocale(arguments, locale);
        return;
    }
    std::wstring commandLine = L"\"" + saverPath() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
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
        15000);
    if (!found) throw std::runtime_error("orlivex.scr did not start from the shell");
    info_.hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, info_.dwProcessId);
    if (!info_.hProcess) fail("finding orlivex.scr");
}

Process::~Process() {
    if (running()) {
        TerminateProcess(info_.hProcess, 255);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Process::waitExit(DWORD timeoutMs) {
    return pumpUntil([this] { return !running(); }, timeoutMs);
}

bool Process::running() const {
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::exitCode() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(info_.hProcess, &code)) fail("GetExitCodeProcess");
    return code;
}

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::vector<HWND> windowsOf(DWORD pid, bool visibleOnly) {
    struct Search {
        DWORD pid;
        bool visibleOnly;
        std::vector<HWND> found;
    } search{pid, visibleOnly, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid && (!s->visibleOnly || IsWindowVisible(window))) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(DWORD pid, DWORD timeoutMs) {
    HWND window = nullptr;
    pumpUntil(
        [&] {
            const auto windows = windowsOf(pid);
            window = windows.empty() ? nullptr : windows.front();
            return window != nullptr;
        },
        timeoutMs);
    return window;
}

Capture captureScreen(int x, int y, int width, int height) {
    Capture capture;
    capture.width = width;
    capture.height = height;
    const awt::DibSurface copy(width, height);
    HDC screen = GetDC(nullptr);
    if (!screen) fail("GetDC");
    const bool ok = BitBlt(copy.getDC(), 0, 0, width, height, screen, x, y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    if (!ok) fail("screen capture");
    GdiFlush();
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) capture.pixels.push_back(copy.row(row)[column] & 0xFFFFFF);
    }
    return capture;
}

Capture captureScreen() {
    return captureScreen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

std::uint32_t rgbOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

void savePpm(const Capture& capture, const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    fprintf(file, "P6\n%d %d\n255\n", capture.width, capture.height);
    for (std::uint32_t p : capture.pixels) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                      static_cast<unsigned char>(p)};
        fwrite(rgb, 1, 3, file);
    }
    fclose(file);
}

void xdotool(const std::string& arguments) {
    // Wine signals a Unix program's handle once it has started, not when it ends: the shell around
    // xdotool leaves a marker file when it is done, and the caller waits for that.
    static int calls = 0;
    const std::string marker = "/tmp/orlivex-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++calls);
    startUnixCommand("/usr/bin/xdotool " + arguments + "; touch " + marker);
    std::wstring markerPath = L"Z:" + std::wstring(marker.begin(), marker.end());
    for (auto& c : markerPath)
        if (c == L'/') c = L'\\';
    if (!pumpUntil([&] { return GetFileAttributesW(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000))
        throw std::runtime_error("xdotool did not finish: " + arguments);
    DeleteFileW(markerPath.c_str());
}

std::wstring messageBoxText(DWORD pid, const wchar_t* caption, HWND* box) {
    for (HWND window : windowsOf(pid)) {
        wchar_t className[64] = L"";
        wchar_t title[256] = L"";
        GetClassNameW(window, className, 64);
        GetWindowTextW(window, title, 256);
        if (std::wstring(className) != L"#32770" || std::wstring(title) != caption) continue;
        wchar_t text[4096] = L"";
        GetDlgItemTextW(window, 0xFFFF, text, 4096);
        if (box) *box = window;
        return text;
    }
    return L"";
}

const wchar_t* const StoredSettings::path = L"Software\\Kuroko\\Orlivex";
const wchar_t* const StoredSettings::makerPath = L"Software\\Kuroko";

StoredSettings::StoredSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, makerPath);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) != ERROR_SUCCESS)
        fail("RegCreateKeyExW");
}

StoredSettings::~StoredSettings() {
    if (key_) RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, makerPath);
}

void StoredSettings::makeUnwritable() {
    RegCloseKey(key_);
    key_ = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, makerPath);
    HKEY maker = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, makerPath, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &maker,
                        nullptr) != ERROR_SUCCESS)
        fail("RegCreateKeyExW(volatile)");
    RegCloseKey(maker);
}

void StoredSettings::setDword(const wchar_t* name, DWORD value) {
    RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void StoredSettings::setString(const wchar_t* name, const wchar_t* value) {
    RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

void StoredSettings::setShortDword(const wchar_t* name, WORD value) {
    RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

bool StoredSettings::exists(const wchar_t* name) const {
    return RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

DWORD StoredSettings::getDword(const wchar_t* name) const {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        fail("RegQueryValueExW");
    return value;
}

namespace {

LRESULT CALLBACK rampProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        for (int x = 0; x < client.right; ++x) {
            const int grey = GreyRamp::greyAt(x, client.right);
            HBRUSH brush = CreateSolidBrush(RGB(grey, grey, grey));
            RECT column{x, 0, x + 1, client.bottom};
            FillRect(dc, &column, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

GreyRamp::GreyRamp() : GreyRamp(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}) {}

GreyRamp::GreyRamp(const RECT& area) {
    static ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = rampProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"e2e.GreyRamp";
        return RegisterClassW(&wc);
    }();
    window_ = CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(atom), L"ramp", WS_POPUP | WS_VISIBLE, area.left, area.top,
                              area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) fail("CreateWindowExW");
    UpdateWindow(window_);
    // Wait until the picture really is on the screen.
    const int width = area.right - area.left;
    pumpUntil(
        [&] {
            const Capture c = captureScreen(area.left, area.top + 10, width, 1);
            return c.at(0, 0) == 0 && c.at(width - 1, 0) == rgbOf(RGB(255, 255, 255));
        },
        5000);
}

std::vector<RECT> monitors() {
    std::vector<RECT> found;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM list) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (!GetMonitorInfoW(monitor, &info)) return TRUE;
            auto& rects = *reinterpret_cast<std::vector<RECT>*>(list);
            rects.insert((info.dwFlags & MONITORINFOF_PRIMARY) ? rects.begin() : rects.end(), info.rcMonitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

GreyRamp::~GreyRamp() {
    DestroyWindow(window_);
}

}  // namespace e2e
