#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "ToolkitTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Listeners.h"
#include "awt/Toolkit.h"
#include "awt/WindowProcedure.h"
#include "klib/Exception.h"

using awt_test::LoopWatchdog;
using awt_test::TestWindow;

namespace {

constexpr UINT WM_FAIL = WM_APP + 10;  // the test procedure throws on this message

// An object bound to a window that is not a component: records its messages and passes them on.
class RecordingProcedure : public awt::WindowProcedure {
public:
    RecordingProcedure() = default;
    // Binds window and takes it over, as a component does with its peer.
    explicit RecordingProcedure(HWND window) { attach(window); }

    void attach(HWND window) {
        bindWindow(window, this);
        handle = window;
    }
    // Gives the window back without destroying it.
    void detach() {
        unbindWindow(handle);
        handle = nullptr;
    }

    awt::Toolkit* getToolkit() override { return awt::Toolkit::forCurrentThread(); }

    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(msg);
        if (msg == WM_FAIL) {
            throw klib::IllegalStateException(L"failed in message " + std::to_wstring(wParam));
        }
        return callDefault(msg, wParam, lParam);
    }

    std::vector<UINT> messages;
};

// Records timer ticks; can end the loop or throw from a tick.
class TickListener : public awt::ActionListener {
public:
    void actionPerformed(awt::ActionEvent& event) override {
        sources.push_back(event.source);
        consumedFlags.push_back(event.consumed);
        if (onTick) {
            onTick();
        }
    }

    std::vector<void*> sources;
    std::vector<bool> consumedFlags;
    std::function<void()> onTick;
};

WNDPROC editClassProcedure() {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    GetClassInfoExW(nullptr, L"EDIT", &info);
    return info.lpfnWndProc;
}

TEST(WindowBinding, FromWindowOfNullIsNull) {
    EXPECT_EQ(nullptr, awt::WindowProcedure::fromWindow(nullptr));
    EXPECT_EQ(nullptr, awt::WindowProcedure::componentFromWindow(nullptr));
}

TEST(WindowBinding, BoundWindowLeadsToItsObjectButNotToAComponent) {
    TestWindow window;
    RecordingProcedure object(window.get());
    EXPECT_EQ(&object, awt::WindowProcedure::fromWindow(window.get()));
    EXPECT_EQ(nullptr, awt::WindowProcedure::componentFromWindow(window.get()));
    object.detach();
}

TEST(WindowBinding, BindingTwiceThrowsAndKeepsTheFirstObject) {
    TestWindow window;
    RecordingProcedure first(window.get());
    RecordingProcedure second;
    try {
        awt::WindowProcedure::bindWindow(window.get(), &second);
        ADD_FAILURE() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"window user data already set", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
    EXPECT_EQ(&first, awt::WindowProcedure::fromWindow(window.get()));
    first.detach();
}

TEST(WindowBinding, UnbindingAnUnboundWindowThrows) {
    TestWindow window;
    try {
        awt::WindowProcedure::unbindWindow(window.get());
        FAIL() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"window user data broken", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
}

TEST(WindowBinding, BindingADestroyedWindowReportsTheSystemError) {
    HWND window = nullptr;
    {
        TestWindow destroyed;
        window = destroyed.get();
    }
    RecordingProcedure object;
    try {
        awt::WindowProcedure::bindWindow(window, &object);
        FAIL() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::SetWindowLongPtr() failed", e.getMessage());
        EXPECT_EQ(ERROR_INVALID_WINDOW_HANDLE, static_cast<DWORD>(e.getErrorCode()));
    }
    EXPECT_EQ(reinterpret_cast<WNDPROC>(DefWindowProcW), object.getPreviousProcedure());
}

TEST(WindowBinding, WindowOfTheToolkitClassFallsBackToDefWindowProc) {
    TestWindow window(MAKEINTATOM(awt::Toolkit::getWindowClass()));
    ASSERT_NE(nullptr, window.get());
    RecordingProcedure object(window.get());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(DefWindowProcW), object.getPreviousProcedure());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(&awt::WindowProcedure::windowProc),
              reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window.get(), GWLP_WNDPROC)));
    object.detach();
}

TEST(WindowBinding, BoundEditControlPassesMessagesToTheEditProcedure) {
    TestWindow edit(L"EDIT");
    ASSERT_NE(nullptr, edit.get());
    RecordingProcedure object(edit.get());
    EXPECT_EQ(editClassProcedure(), object.getPreviousProcedure());

    // Only the edit procedure knows the text limit; DefWindowProcW answers 0.
    EXPECT_NE(0, SendMessageW(edit.get(), EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(std::vector<UINT>{EM_GETLIMITTEXT}, object.messages);
    object.detach();
}

TEST(WindowBinding, AfterUnbindingDefWindowProcAnswers) {
    TestWindow edit(L"EDIT");
    RecordingProcedure object(edit.get());
    object.detach();

    EXPECT_EQ(0, SendMessageW(edit.get(), EM_GETLIMITTEXT, 0, 0));
    EXPECT_TRUE(object.messages.empty());
    EXPECT_EQ(nullptr, awt::WindowProcedure::fromWindow(edit.get()));
}

TEST(WindowBinding, RebindingNeverMakesTheProcedureCallItself) {
    TestWindow edit(L"EDIT");
    RecordingProcedure first(edit.get());
    first.detach();
    RecordingProcedure second(edit.get());

    EXPECT_NE(reinterpret_cast<WNDPROC>(&awt::WindowProcedure::windowProc), second.getPreviousProcedure());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(DefWindowProcW), second.getPreviousProcedure());
    SendMessageW(edit.get(), WM_NULL, 0, 0);
    EXPECT_EQ(std::vector<UINT>{WM_NULL}, second.messages);
    second.detach();
}

TEST(WindowBinding, DestructorDestroysTheWindowWithoutCallingTheObject) {
    TestWindow window;
    auto object = std::make_unique<RecordingProcedure>(window.get());
    const HWND handle = window.get();
    object.reset();
    EXPECT_FALSE(IsWindow(handle));
}

// Timers.

class WindowTimers : public ::testing::Test {
protected:
    void SetUp() override { awt_test::discardMessages(); }
    void TearDown() override {
        awt::Toolkit::forCurrentThread()->runPending(true);
        awt_test::discardMessages();
    }
};

TEST_F(WindowTimers, SetTimerWithoutPeerThrows) {
    RecordingProcedure object;
    TickListener listener;
    try {
        object.setTimer(10, &listener);
        FAIL() << "no exception";
    } catch (const klib::IllegalStateException& e) {
        EXPECT_EQ(L"no peer", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
}

TEST_F(WindowTimers, KillingATimerThatIsNotRunningThrows) {
    TestWindow window;
    RecordingProcedure object(window.get());
    TickListener listener;
    try {
        object.killTimer(&listener);
        ADD_FAILURE() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::KillTimer() failed", e.getMessage());
    }
    object.detach();
}

TEST_F(WindowTimers, TickReachesTheListenerWithTheBoundObjectAsSource) {
    TestWindow window;
    RecordingProcedure object(window.get());
    TickListener listener;
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(&listener), object.setTimer(10, &listener));

    EXPECT_TRUE(awt_test::pumpUntil([&] { return !listener.sources.empty(); }));
    object.killTimer(&listener);
    ASSERT_FALSE(listener.sources.empty());
    EXPECT_EQ(static_cast<void*>(static_cast<awt::WindowProcedure*>(&object)), listener.sources[0]);
    EXPECT_FALSE(listener.consumedFlags[0]);
    object.detach();
}

TEST_F(WindowTimers, SettingTheSameListenerTwiceLeavesOneTimerAtTheLastInterval) {
    TestWindow window;
    RecordingProcedure object(window.get());
    TickListener listener;
    object.setTimer(60000, &listener);
    object.setTimer(10, &listener);

    EXPECT_TRUE(awt_test::pumpUntil([&] { return listener.sources.size() >= 2; }));
    EXPECT_EQ(TRUE, object.killTimer(&listener));
    EXPECT_THROW(object.killTimer(&listener), awt::AWTException);
    object.detach();
}

TEST_F(WindowTimers, TicksOfAnUnboundWindowAreIgnored) {
    TestWindow window;
    RecordingProcedure object(window.get());
    TickListener listener;
    object.setTimer(10, &listener);
    const HWND handle = object.getHandle();
    object.detach();

    // The timer keeps running; its ticks are dispatched but find no object.
    int ticks = 0;
    const ULONGLONG deadline = GetTickCount64() + 3000;
    while (ticks < 2 && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == handle) {
                ++ticks;
            }
            DispatchMessageW(&msg);
        }
    }
    EXPECT_EQ(2, ticks);
    KillTimer(handle, reinterpret_cast<UINT_PTR>(&listener));
    EXPECT_TRUE(listener.sources.empty());
}

// Exceptions thrown behind Win32 frames reach our own code.

class CallbackExceptions : public WindowTimers {};

TEST_F(CallbackExceptions, ExceptionFromADispatchedMessageLeavesRun) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    TestWindow window;
    RecordingProcedure object(window.get());
    PostMessageW(window.get(), WM_FAIL, 1, 0);
    {
        LoopWatchdog watchdog;
        try {
            toolkit->run();
            ADD_FAILURE() << "no exception";
        } catch (const klib::IllegalStateException& e) {
            EXPECT_EQ(L"failed in message 1", e.getMessage());
        }
    }
    // The program goes on: the next loop runs normally.
    PostQuitMessage(2);
    LoopWatchdog watchdog;
    EXPECT_EQ(2, toolkit->run());
    object.detach();
}

TEST_F(CallbackExceptions, ExceptionFromATimerTickLeavesRun) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    TestWindow window;
    RecordingProcedure object(window.get());
    TickListener listener;
    listener.onTick = [] { throw klib::IllegalArgumentException(L"tick failed"); };
    object.setTimer(10, &listener);
    {
        LoopWatchdog watchdog;
        try {
            toolkit->run();
            ADD_FAILURE() << "no exception";
        } catch (const klib::IllegalArgumentException& e) {
            EXPECT_EQ(L"tick failed", e.getMessage());
        }
    }
    object.killTimer(&listener);
    object.detach();
}

TEST_F(CallbackExceptions, ExceptionFromASentMessageIsRethrownByRethrowParked) {
    TestWindow window;
    RecordingProcedure object(window.get());
    EXPECT_EQ(0, SendMessageW(window.get(), WM_FAIL, 1, 0));
    EXPECT_EQ(0, SendMessageW(window.get(), WM_FAIL, 2, 0));
    try {
        awt::Toolkit::rethrowParked();
        ADD_FAILURE() << "no exception";
    } catch (const klib::IllegalStateException& e) {
        EXPECT_EQ(L"failed in message 1", e.getMessage()) << "the first exception wins";
    }
    EXPECT_NO_THROW(awt::Toolkit::rethrowParked());
    object.detach();
}

}  // namespace
