#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The windows of another process: found, read and waited for.
namespace e2e {

// The visible top-level windows of process pid, in z-order from the top.
std::vector<HWND> windowsOf(DWORD pid);
// Waits for a visible top-level window of pid; null on time-out.
HWND waitForWindow(DWORD pid, DWORD timeoutMs);
// The child windows of window and theirs, all levels down.
inline std::vector<HWND> descendants(HWND window) {
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
std::wstring classOf(HWND window);
// The text of a window of another process: asked of the window itself, as GetWindowText does not
// for controls of other processes.
std::wstring textOf(HWND window);
RECT rectOf(HWND window);
// The window with the keyboard focus on the thread of window; null when there is none.
HWND focusOf(HWND window);
// Waits until dialog is the foreground window with one of its controls focused (or, unless
// onControl, the dialog itself), so keys reach it.
bool waitUntilReadyForKeys(HWND dialog, bool onControl = true);
// Waits for a message box of process pid with the program's title; its text, or empty on time-out.
std::wstring waitForMessageBox(DWORD pid, HWND* box);

}  // namespace e2e
