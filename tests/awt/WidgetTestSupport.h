#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ComponentTestSupport.h"
#include "awt/Component.h"
#include "awt/Listeners.h"

namespace widget_test {

using Log = std::vector<std::wstring>;

// Records action, text and adjustment events as "name:action", "name:text", "name:adjust type value";
// consumes them when told to.
class Recorder : public awt::ActionListener, public awt::TextListener, public awt::AdjustmentListener {
public:
    Recorder(Log& log, std::wstring name, bool consume = false)
        : log_(log), name_(std::move(name)), consume_(consume) {}
    ~Recorder() noexcept override = default;  // fixtures hold recorders and must not throw from ~

    void actionPerformed(awt::ActionEvent& e) override {
        log_.push_back(name_ + L":action");
        e.consumed = e.consumed || consume_;
    }
    void textValueChanged(awt::TextEvent& e) override {
        log_.push_back(name_ + L":text");
        e.consumed = e.consumed || consume_;
    }
    void adjustmentValueChanged(awt::AdjustmentEvent& e) override {
        log_.push_back(name_ + L":adjust " + std::to_wstring(e.adjustmentType) + L" " + std::to_wstring(e.value));
        e.consumed = e.consumed || consume_;
    }

private:
    Log& log_;
    std::wstring name_;
    bool consume_;
};

// Posts a message and pumps until the thread has no posted message left, so it has been handled.
inline void deliver(HWND window, UINT msg, WPARAM wParam, LPARAM lParam = 0) {
    ASSERT_TRUE(PostMessageW(window, msg, wParam, lParam));
    ASSERT_TRUE(ui_test::pumpToolkitUntil([] { return HIWORD(GetQueueStatus(QS_POSTMESSAGE)) == 0; }));
}

// Key input as the control would receive it from the keyboard.
inline void press(HWND window, int key) {
    deliver(window, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
}

inline void type(HWND window, const std::wstring& characters) {
    for (const wchar_t c : characters) {
        deliver(window, WM_CHAR, static_cast<WPARAM>(c), 1);
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

// A font clearly larger than the default GUI font, to tell which font a widget measured with.
inline HFONT createLargeFont() {
    return CreateFontW(-28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

// Measures like a reference implementation would: the control's DC with the control's font.
inline void measureWithControlFont(HWND control, const std::wstring& text, SIZE* extent, TEXTMETRICW* metrics) {
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), extent);
    GetTextMetricsW(dc, metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
}

struct FontDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};

// A shown top-level window that holds the widget under test; the window is active.
class WidgetWindow : public ::testing::Test {
protected:
    // Adds widget (owned by the window from now on) at bounds, shows the window and waits until it is
    // active and the widget has the focus.
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
    // Outlives the window whose controls may use it. Not an awt::GdiObject: fixtures must not throw from ~.
    std::unique_ptr<HFONT__, FontDeleter> largeFont{createLargeFont()};
    std::unique_ptr<ui_test::TestWindow> windowHolder = std::make_unique<ui_test::TestWindow>();
    ui_test::TestWindow& window = *windowHolder;
};

}  // namespace widget_test
