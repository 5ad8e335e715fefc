#include "tests/support/E2eWindows.h"

#include <utility>

#include "tests/support/E2eProcess.h"

namespace e2e {

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

bool waitUntilReadyForKeys(HWND dialog, bool onControl) {
    return pumpUntil(
        [&] {
            const HWND focus = focusOf(dialog);
            return GetForegroundWindow() == dialog && focus != nullptr &&
                   (IsChild(dialog, focus) || (!onControl && focus == dialog));
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

}  // namespace e2e
