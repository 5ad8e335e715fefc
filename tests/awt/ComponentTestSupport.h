#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/Listeners.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"

namespace ui_test {

// Pumps messages the way the toolkit loop does (preprocessors, dispatch, parked exceptions, idle step)
// until condition holds or timeoutMs passed; returns condition(). A WM_QUIT is put back and ends the pump.
inline bool pumpToolkitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 3000) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        toolkit->idle();
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return condition();
            }
            bool handled = false;
            toolkit->preprocessMessage(msg, &handled);
            if (!handled) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                awt::Toolkit::rethrowParked();
            }
            toolkit->idle();
        }
    }
}

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

// A plain window class for test containers.
inline const wchar_t* panelClass() {
    static const ATOM atom = awt::Toolkit::registerWindowClass(L"awt_test::Panel", 0, nullptr, nullptr,
                                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return MAKEINTATOM(atom);
}

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

    const wchar_t* getClassName() const override { return panelClass(); }
    DWORD getStyle() const override { return Container::getStyle() | extraStyle_; }
    awt::Insets getInsets() const override { return insets_; }

private:
    DWORD extraStyle_;
    awt::Insets insets_;
};

// A top-level window that reports its deletion.
class TestWindow : public awt::Window {
public:
    explicit TestWindow(awt::Window* owner = nullptr, std::function<void(TestWindow*)> deleted = nullptr)
        : awt::Window(owner), onDelete(std::move(deleted)) {}
    ~TestWindow() noexcept(false) override {
        if (onDelete) {
            onDelete(this);
        }
    }

    std::function<void(TestWindow*)> onDelete;
};

// Appends one line per notification to a shared log, consumes when told to, then runs action (e.g. to throw).
class LoggingListener : public awt::ActionListener,
                        public awt::TextListener,
                        public awt::AdjustmentListener,
                        public awt::FocusListener,
                        public awt::KeyListener,
                        public awt::MouseListener,
                        public awt::WindowListener,
                        public awt::ContainerListener {
public:
    LoggingListener(std::vector<std::wstring>& log, std::wstring name, bool consume = false)
        : log_(log), name_(std::move(name)), consume_(consume) {}
    ~LoggingListener() noexcept override = default;  // fixtures hold listeners and must not throw from ~

    void actionPerformed(awt::ActionEvent& e) override { record(L"action", e.consumed); }
    void textValueChanged(awt::TextEvent& e) override { record(L"text", e.consumed); }
    void adjustmentValueChanged(awt::AdjustmentEvent& e) override {
        record(L"adjust " + std::to_wstring(e.adjustmentType) + L" " + std::to_wstring(e.value), e.consumed);
    }
    void focusGained(awt::FocusEvent& e) override { record(L"focusGained", e.consumed); }
    void focusLost(awt::FocusEvent& e) override { record(L"focusLost", e.consumed); }
    void keyPressed(awt::KeyEvent& e) override { record(key(L"keyPressed", e), e.consumed); }
    void keyReleased(awt::KeyEvent& e) override { record(key(L"keyReleased", e), e.consumed); }
    void keyTyped(awt::KeyEvent& e) override { record(key(L"keyTyped", e), e.consumed); }
    void mouseEntered(awt::MouseEvent& e) override { record(mouse(L"mouseEntered", e), e.consumed); }
    void mouseExited(awt::MouseEvent& e) override { record(mouse(L"mouseExited", e), e.consumed); }
    void mousePressed(awt::MouseEvent& e) override { record(mouse(L"mousePressed", e), e.consumed); }
    void mouseReleased(awt::MouseEvent& e) override { record(mouse(L"mouseReleased", e), e.consumed); }
    void mouseDoubleClicked(awt::MouseEvent& e) override { record(mouse(L"mouseDoubleClicked", e), e.consumed); }
    void windowActivated(awt::WindowEvent& e) override { record(L"windowActivated", e.consumed); }
    void windowDeactivated(awt::WindowEvent& e) override { record(L"windowDeactivated", e.consumed); }
    void windowClosing(awt::WindowEvent& e) override { record(L"windowClosing", e.consumed); }
    void windowClosed(awt::WindowEvent& e) override { record(L"windowClosed", e.consumed); }
    void componentAdded(awt::ContainerEvent& e) override { record(L"componentAdded", e.consumed); }
    void componentRemoved(awt::ContainerEvent& e) override { record(L"componentRemoved", e.consumed); }

    std::function<void()> action;

private:
    static std::wstring key(const wchar_t* what, const awt::KeyEvent& e) {
        return what + (L" " + std::to_wstring(e.keyCode)) + L" " + std::to_wstring(e.modifiers);
    }
    static std::wstring mouse(const wchar_t* what, const awt::MouseEvent& e) {
        return what + (L" id" + std::to_wstring(e.id)) + L" b" + std::to_wstring(e.button) + L" (" +
               std::to_wstring(e.x) + L"," + std::to_wstring(e.y) + L") n" + std::to_wstring(e.clickCount);
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

}  // namespace ui_test
