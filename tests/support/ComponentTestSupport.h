#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/LayoutManager.h"
#include "awt/Listeners.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "klib/Exception.h"
#include "klib/Runnable.h"
#include "tests/support/ExpectThrows.h"
#include "tests/support/LoopWatchdog.h"
#include "tests/support/Pump.h"

namespace ui_test {

using testing_support::LoopWatchdog;
using testing_support::messageOf;
using testing_support::pumpUntil;
using Log = std::vector<std::wstring>;

// Removes every message waiting for the calling thread (including a pending WM_QUIT) without dispatching.
inline void discardMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// A runnable that calls a function; kept on the caller's stack (runnables are not deleted by the queue).
class CallRunnable : public klib::Runnable {
public:
    explicit CallRunnable(std::function<void()> action) : action_(std::move(action)) {}
    void run() override {
        ++runs;
        action_();
    }

    int runs = 0;

private:
    std::function<void()> action_;
};

// A plain popup window of a system or registered class, destroyed with the holder.
class PlainWindow {
public:
    explicit PlainWindow(const wchar_t* className = L"STATIC", DWORD style = WS_POPUP, int x = 10, int y = 10,
                         int width = 100, int height = 80)
        : window_(CreateWindowExW(0, className, L"", style, x, y, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    ~PlainWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);  // a test may have destroyed it
    }

    HWND get() const noexcept { return window_; }

private:
    HWND window_;
};

// Holds keys down in the thread's keyboard state (what GetKeyState reads) and restores it.
class HeldKeys {
public:
    HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        for (const int key : keys) {
            state[key] |= 0x80;
        }
        SetKeyboardState(state);
    }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

// A child component of a system class with a fixed preferred size.
class Control : public awt::Component {
public:
    explicit Control(const wchar_t* className = L"STATIC", DWORD extraStyle = 0, awt::Dimension preferred = {40, 20})
        : className_(className), extraStyle_(extraStyle), preferred_(preferred) {}

    const wchar_t* getClassName() const override { return className_; }
    DWORD getStyle() const override { return Component::getStyle() | extraStyle_; }
    awt::Dimension getPreferredSize() override { return preferred_; }

private:
    const wchar_t* className_;
    DWORD extraStyle_;
    awt::Dimension preferred_;
};

// A tab-stop edit control.
inline Control* newEdit() {
    return new Control(L"EDIT", WS_TABSTOP | WS_BORDER);
}

// The smallest concrete container.
class Panel : public awt::Container {
public:
    explicit Panel(DWORD extraStyle = 0, awt::Insets insets = {0, 0, 0, 0}) : extraStyle_(extraStyle), insets_(insets) {}

    const wchar_t* getClassName() const override {
        static const ATOM atom = awt::Toolkit::registerWindowClass(L"awt_test::Panel", 0, nullptr, nullptr,
                                                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return MAKEINTATOM(atom);
    }
    DWORD getStyle() const override { return Container::getStyle() | extraStyle_; }
    awt::Insets getInsets() const override { return insets_; }

private:
    DWORD extraStyle_;
    awt::Insets insets_;
};

// A top-level window without an owner.
class TestWindow : public awt::Window {
public:
    TestWindow() : awt::Window(nullptr) {}
};

// Appends one line per notification to a shared log, consumes when told to, then runs action (e.g. to throw).
class LoggingListener : public awt::ActionListener,
                        public awt::TextListener,
                        public awt::ItemListener,
                        public awt::AdjustmentListener,
                        public awt::KeyListener,
                        public awt::WindowListener {
public:
    LoggingListener(std::vector<std::wstring>& log, std::wstring name, bool consume = false)
        : log_(log), name_(std::move(name)), consume_(consume) {}
    ~LoggingListener() noexcept override = default;  // fixtures hold listeners and must not throw from ~

    void actionPerformed(awt::ActionEvent& e) override { record(L"action", e.consumed); }
    void textValueChanged(awt::TextEvent& e) override { record(L"text", e.consumed); }
    void itemStateChanged(awt::ItemEvent& e) override { record(L"item " + std::to_wstring(e.item), e.consumed); }
    void adjustmentValueChanged(awt::AdjustmentEvent& e) override {
        record(L"adjust " + std::to_wstring(e.adjustmentType) + L" " + std::to_wstring(e.value), e.consumed);
    }
    void keyPressed(awt::KeyEvent& e) override { record(key(L"keyPressed", e), e.consumed); }
    void keyReleased(awt::KeyEvent& e) override { record(key(L"keyReleased", e), e.consumed); }
    void keyTyped(awt::KeyEvent& e) override { record(key(L"keyTyped", e), e.consumed); }
    void windowActivated(awt::WindowEvent& e) override { record(L"windowActivated", e.consumed); }
    void windowDeactivated(awt::WindowEvent& e) override { record(L"windowDeactivated", e.consumed); }
    void windowClosing(awt::WindowEvent& e) override { record(L"windowClosing", e.consumed); }
    void windowClosed(awt::WindowEvent& e) override { record(L"windowClosed", e.consumed); }

    std::function<void()> action;

private:
    static std::wstring key(const wchar_t* what, const awt::KeyEvent& e) {
        return what + (L" " + std::to_wstring(e.keyCode)) + L" " + std::to_wstring(e.modifiers);
    }
    void record(const std::wstring& what, bool& consumed) {
        log_.push_back(name_ + L":" + what);
        if (consume_) {
            consumed = true;
        }
        if (action) {
            action();
        }
    }

    std::vector<std::wstring>& log_;
    std::wstring name_;
    bool consume_;
};

// The rectangle of w in the client coordinates of its parent.
inline RECT rectInParent(HWND w) {
    RECT rect;
    GetWindowRect(w, &rect);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// "(left,top,right,bottom)", for exact comparisons with readable failures.
inline std::wstring text(const RECT& r) {
    return L"(" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom) + L")";
}

// The pending update rectangle of w in its client coordinates; "none" when nothing is invalid.
inline std::wstring updateRect(HWND w) {
    RECT r;
    return GetUpdateRect(w, &r, FALSE) ? text(r) : std::wstring(L"none");
}

// Posts a message and pumps until the thread has no posted message left, so it has been handled.
inline void deliver(HWND window, UINT msg, WPARAM wParam) {
    ASSERT_TRUE(PostMessageW(window, msg, wParam, 1));
    ASSERT_TRUE(pumpUntil([] { return HIWORD(GetQueueStatus(QS_POSTMESSAGE)) == 0; }));
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
        EXPECT_TRUE(
            pumpUntil([this] { return GetActiveWindow() == window.getHandle() && GetFocus() != nullptr; }));
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
    std::unique_ptr<TestWindow> windowHolder = std::make_unique<TestWindow>();
    TestWindow& window = *windowHolder;
};

// Layout arithmetic runs on components without windows: a box of fixed size and insets holding stubs of
// fixed preferred sizes.
template <typename Layout>
class LayoutTest : public ::testing::Test {
protected:
    template <typename... Args>
    explicit LayoutTest(Args&&... args) : layout(std::forward<Args>(args)...) {
        useBox(awt::Insets{0, 0, 0, 0});
    }

    void useBox(awt::Insets insets) {
        box = std::make_unique<Panel>(0, insets);
        box->setLayout(&layout);
    }
    Control* add(int width, int height, const awt::LayoutManager::Constraints* constraints = nullptr) {
        Control* const stub = new Control(L"STATIC", 0, awt::Dimension{width, height});  // owned by the box
        box->add(stub, constraints);
        return stub;
    }
    std::string preferred() {
        const awt::Dimension d = box->getPreferredSize();
        return std::to_string(d.width) + "x" + std::to_string(d.height);
    }
    void layOut(int width, int height) {
        box->setSize(width, height);
        layout.layoutContainer(box.get());
    }
    // The bounds of every child in order, "(x,y,w,h)" each, so that failures read as rectangles.
    std::string allBounds() const {
        std::string bounds;
        for (int i = 0; i < box->getComponentCount(); ++i) {
            const awt::Rectangle r = box->getComponent(i)->getBounds();
            bounds += "(" + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
                      std::to_string(r.height) + ")";
        }
        return bounds;
    }

    Layout layout;
    std::unique_ptr<Panel> box;
};

// The message of the IllegalArgumentException (code -1) that action throws, or "no exception".
template <typename Action>
std::wstring refusal(Action action) {
    int code = -1;
    const std::wstring message = messageOf<klib::IllegalArgumentException>(action, &code);
    EXPECT_EQ(-1, code);
    return message;
}

}  // namespace ui_test
