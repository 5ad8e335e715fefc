#include "tests/e2e/E2e.h"

#include "awt/Dpi.h"
#include "awt/GdiObject.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>

namespace e2e {

namespace {

// This program measures other processes' windows in physical pixels, as the saver works, also on a
// scaled display: per-monitor aware (version 2 where the system has it), so the system neither
// scales nor virtualises what it reports.
bool becomePerMonitorAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = awt::user32Function<SetContext>("SetProcessDpiAwarenessContext");
    const auto context = [](INT_PTR value) { return reinterpret_cast<HANDLE>(value); };
    if (set != nullptr && (set(context(-4)) || set(context(-3)))) return true;
    return SetProcessDPIAware();
}
[[maybe_unused]] const bool dpiAware = becomePerMonitorAware();

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
    wchar_t path[MAX_PATH];
    std::wstring tests(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    tests.resize(tests.find_last_of(L"\\/"));
    return tests.substr(0, tests.find_last_of(L"\\/")) + L"\\orlivex.scr";
}

Process::Process(const std::wstring& arguments, const char* locale) {
    if (locale) {
        startWithLocale(arguments, locale);
        return;
    }
    std::wstring commandLine = L"\"" + saverPath() + L"\" " + arguments;
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

std::vector<HWND> windowsOf(DWORD pid) {
    std::pair<DWORD, std::vector<HWND>> search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->first && IsWindowVisible(window)) s->second.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
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

std::vector<HWND> descendants(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring textOf(HWND window) {
    wchar_t text[4096] = L"";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

RECT rectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool waitUntilReadyForKeys(HWND dialog) {
    return pumpUntil(
        [&] {
            const HWND focus = focusOf(dialog);
            return GetForegroundWindow() == dialog && focus != nullptr && IsChild(dialog, focus);
        },
        PROMPTLY_MS);
}

std::wstring waitForMessageBox(DWORD pid, HWND* box) {
    std::wstring text;
    pumpUntil(
        [&] {
            for (HWND window : windowsOf(pid)) {
                if (classOf(window) != L"#32770" || textOf(window) != TITLE) continue;
                *box = window;
                text = textOf(GetDlgItem(window, 0xFFFF));
            }
            return !text.empty();
        },
        STARTUP_MS);
    return text;
}

RECT screenRect() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Capture captureScreen(const RECT& area) {
    Capture capture{area.right - area.left, area.bottom - area.top, {}};
    const awt::DibSurface copy(capture.width, capture.height);
    HDC screen = GetDC(nullptr);
    const bool ok = BitBlt(copy.getDC(), 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    if (!ok) fail("screen capture");
    GdiFlush();
    for (int row = 0; row < capture.height; ++row)
        for (int column = 0; column < capture.width; ++column)
            capture.pixels.push_back(copy.row(row)[column] & 0xFFFFFF);
    return capture;
}

int livePixels(const RECT& area, COLORREF colour) {
    int live = 0;
    for (const std::uint32_t p : captureScreen(area).pixels) {
        if (p != 0 && p != rgbOf(colour)) return -1;
        live += p != 0;
    }
    return live;
}

RECT virtualScreen() {
    return awt::getVirtualScreen();
}

int screenDpi() {
    const awt::WindowDC screen(GetDC(nullptr));
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

bool wine10ShowsOneRectangleForEveryMonitor() {
    const char* wine = std::getenv("ORLIVEX_WINE");
    if (wine == nullptr || std::string(wine) != "10") return false;
    std::vector<RECT> rects;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, RECT* r, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<RECT>*>(list)->push_back(*r);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&rects));
    return rects.size() > 1 &&
           std::all_of(rects.begin(), rects.end(), [&](const RECT& r) { return EqualRect(&r, &rects.front()); });
}

void expectRequestedDisplay() {
    if (const char* count = std::getenv("ORLIVEX_E2E_MONITORS")) {
        const std::vector<RECT> screens = awt::getMonitorRectangles();
        ASSERT_EQ(screens.size(), std::stoul(count));
        // Found by position: systems list monitors in different orders.
        ASSERT_TRUE(std::any_of(screens.begin(), screens.end(), [](const RECT& r) { return r.left < 0; }))
            << "no monitor left of the primary";
    }
    if (const char* dpi = std::getenv("ORLIVEX_E2E_DPI")) {
        ASSERT_EQ(screenDpi(), std::atoi(dpi));
    }
}

void xdotool(const std::string& arguments) {
    // Wine signals a Unix program's handle once it has started, not when it ends: the shell around
    // xdotool leaves a marker file when it is done, and the caller waits for that.
    static int calls = 0;
    const std::string marker = "/tmp/orlivex-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++calls);
    startUnixCommand("/usr/bin/xdotool " + arguments + "; touch " + marker);
    std::wstring markerPath = L"Z:" + std::wstring(marker.begin(), marker.end());
    std::replace(markerPath.begin(), markerPath.end(), L'/', L'\\');
    if (!pumpUntil([&] { return GetFileAttributesW(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, STARTUP_MS))
        throw std::runtime_error("xdotool did not finish: " + arguments);
    DeleteFileW(markerPath.c_str());
}

std::string mouseMove(int x, int y) {
    const RECT screen = awt::getVirtualScreen();
    return "mousemove " + std::to_string(x - screen.left) + " " + std::to_string(y - screen.top);
}

void movePointer(int x, int y) {
    // X reports no motion to where the pointer already is (a fresh server has it in the middle): away
    // first, then back, so the system really has it there.
    xdotool(mouseMove(x, y + 40) + " " + mouseMove(x, y));
    POINT at{};
    if (!pumpUntil([&] { return GetCursorPos(&at) && at.x == x && at.y == y; }, PROMPTLY_MS))
        throw std::runtime_error("the pointer is at " + std::to_string(at.x) + "," + std::to_string(at.y) +
                                 ", not at " + std::to_string(x) + "," + std::to_string(y));
}

void click(HWND window) {
    const RECT r = rectOf(window);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // A window just shown (the colour chooser) may not be where the pointer would find it yet.
    pumpUntil([&] { return WindowFromPoint(centre) == window; }, PROMPTLY_MS);
    xdotool(mouseMove(centre.x, centre.y) + " click 1");
}

const wchar_t* const SETTINGS = L"Software\\Kuroko\\Orlivex";
const wchar_t* const MAKER = L"Software\\Kuroko";

StoredSettings::StoredSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, MAKER);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SETTINGS, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr))
        fail("RegCreateKeyExW");
}

StoredSettings::~StoredSettings() {
    if (key_) RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, MAKER);
}

void StoredSettings::makeUnwritable() {
    RegCloseKey(key_);
    key_ = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, MAKER);
    HKEY maker = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, MAKER, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &maker,
                        nullptr))
        fail("RegCreateKeyExW(volatile)");
    RegCloseKey(maker);
}

long long StoredSettings::get(const wchar_t* name) const {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size)) return -1;
    return type == REG_DWORD && size == sizeof value ? value : -2;
}

namespace {

LRESULT CALLBACK rampProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) return DefWindowProcW(window, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    for (int x = 0; x < client.right; ++x) {
        const int grey = GreyRamp::greyAt(x, client.right);
        SetDCBrushColor(dc, RGB(grey, grey, grey));
        const RECT column{x, 0, x + 1, client.bottom};
        FillRect(dc, &column, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    EndPaint(window, &ps);
    return 0;
}

}  // namespace

GreyRamp::GreyRamp(const RECT& area) {
    static ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = rampProc;
        wc.lpszClassName = L"e2e.GreyRamp";
        return RegisterClassW(&wc);
    }();
    window_ = CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(atom), L"ramp", WS_POPUP | WS_VISIBLE, area.left, area.top,
                              area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr, nullptr);
    if (!window_) fail("CreateWindowExW");
    UpdateWindow(window_);
    // Wait until the picture really is on the screen.
    const bool shown = pumpUntil(
        [&] {
            const Capture c = captureScreen(RECT{area.left, area.top + 10, area.right, area.top + 11});
            return c.at(0, 0) == 0 && c.at(c.width - 1, 0) == 0xFFFFFF;
        },
        PROMPTLY_MS);
    if (!shown) {
        DestroyWindow(window_);
        throw std::runtime_error("the grey ramp did not reach the screen");
    }
}

void SaverFixture::TearDown() {
    saver.reset();
    // Destroyed only after the saver is gone: destroying them under a running saver takes Wine seconds.
    ramps.clear();
}

void SaverFixture::startSaver(COLORREF colour) {
    saver = std::make_unique<Process>(L"/s");
    window = waitForWindow(saver->id(), STARTUP_MS);
    ASSERT_NE(window, nullptr) << "no saver window";
    // Over the ramps the seed is a band of every monitor's middle row: live and dead pixels there,
    // and no other colour, show the first paint (an unpainted window would show black only).
    const RECT all = virtualScreen();
    const RECT middle{all.left, all.bottom / 2, all.right, all.bottom / 2 + 1};
    ASSERT_TRUE(pumpUntil(
        [&] {
            const int live = livePixels(middle, colour);
            return live > 0 && live < all.right - all.left;
        },
        STARTUP_MS))
        << "the first paint did not replace the picture";
}

void SaverFixture::expectEndsPromptlyWithZero() {
    ASSERT_TRUE(saver->waitExit(PROMPTLY_MS)) << "the saver did not end";
    EXPECT_EQ(saver->exitCode(), 0u);
}

}  // namespace e2e
