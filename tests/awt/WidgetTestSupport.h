#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ComponentTestSupport.h"
#include "awt/Listeners.h"

namespace widget_test {

using Log = std::vector<std::wstring>;

// Records action, text and adjustment events as "name:action", "name:text", "name:adjust type value".
using Recorder = ui_test::LoggingListener;

// Posts a message and pumps until the thread has no posted message left, so it has been handled.
inline void deliver(HWND window, UINT msg, WPARAM wParam) {
    ASSERT_TRUE(PostMessageW(window, msg, wParam, 1));
    ASSERT_TRUE(ui_test::pumpToolkitUntil([] { return HIWORD(GetQueueStatus(QS_POSTMESSAGE)) == 0; }));
}

// Key input as the control would receive it from the keyboard.
inline void press(HWND window, int key) {
    deliver(window, WM_KEYDOWN, static_cast<WPARAM>(key));
}

inline void type(HWND window, const std::wstring& characters) {
    for (const wchar_t c : characters) {
        deliver(window, WM_CHAR, static_cast<WPARAM>(c));
    }
}

inline std::wstring windowText(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

// The edit control's selection as "start-end".
inline std::wstring selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::to_wstring(start) + L"-" + std::to_wstring(end);
}

// A shown, active top-level window that holds the widget under test.
class WidgetWindow : public ::testing::Test {
protected:
    // Adds widget (owned by the window from now on) at bounds, shows the window and waits until it is
    // active and has a focus, then gives the focus to the widget.
    template <typename W>
    W* show(W* widget, int width = 160, int height = 26) {
        widget->setBounds(10, 10, width, height);
        window.add(widget);
        window.setBounds(100, 100, 320, 160);
        window.setVisible(true);
        EXPECT_TRUE(ui_test::pumpToolkitUntil(
            [this] { return GetActiveWindow() == window.getHandle() && GetFocus() != nullptr; }));
        widget->requestFocus();
        return widget;
    }

    Log log;
    // Clearly larger than the default GUI font; outlives the window whose controls may use it (not an
    // awt::GdiObject: fixtures must not throw from ~).
    std::unique_ptr<HFONT__, decltype(&DeleteObject)> largeFont{
        CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"),
        &DeleteObject};
    std::unique_ptr<ui_test::TestWindow> windowHolder = std::make_unique<ui_test::TestWindow>();
    ui_test::TestWindow& window = *windowHolder;
};

}  // namespace widget_test
