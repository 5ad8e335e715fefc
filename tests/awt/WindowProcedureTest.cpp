#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Listeners.h"
#include "awt/Toolkit.h"
#include "awt/WindowProcedure.h"
#include "klib/Exception.h"
#include "tests/support/DebugOutputCapture.h"
#include "tests/support/SurfaceWindow.h"

using awt::WindowProcedure;
using testing_support::runWatched;
using ui_test::messageOf;
using ui_test::PlainWindow;

namespace {

constexpr UINT WM_FAIL = WM_APP + 10;  // the test procedure throws on this message

// An object bound to a window that is not a component: records its messages and passes them on.
class RecordingProcedure : public WindowProcedure {
public:
    RecordingProcedure() = default;
    explicit RecordingProcedure(HWND window) {
        bindWindow(window, this);
        handle = window;
    }

    // Gives the window back without destroying it.
    void detach() {
        if (handle != nullptr) {
            unbindWindow(handle);
            handle = nullptr;
        }
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

// Records the sources of timer ticks; onTick may throw.
class TickListener : public awt::ActionListener {
public:
    ~TickListener() noexcept override = default;  // lets a fixture hold it
    void actionPerformed(awt::ActionEvent& event) override {
        sources.push_back(event.source);
        if (onTick) {
            onTick();
        }
    }

    std::vector<void*> sources;
    std::function<void()> onTick;
};

// A bound edit control keeps its own procedure behind ours: every edit in these tests types and
// reads as the system's does.
// The messages that reach the class procedure of "ui_test::Recorder" windows.
std::vector<UINT> classMessages;

LRESULT CALLBACK recordingClassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    classMessages.push_back(msg);
    return DefWindowProcW(window, msg, wParam, lParam);
}

TEST(WindowBinding, ADestroyedComponentsControlHandlesItsDestructionMessagesItself) {
    static const ATOM atom = testing_support::registerWindowClass(L"ui_test::Recorder", recordingClassProc);
    ASSERT_NE(0, atom);
    for (const bool deleted : {false, true}) {
        auto window = std::make_unique<ui_test::TestWindow>();
        window->addNotify();
        auto* const control = new ui_test::Control(L"ui_test::Recorder");  // owned by the window
        window->add(control);
        classMessages.clear();
        if (deleted) {
            window.reset();  // deletes the control while its window exists
        } else {
            control->removeNotify();
        }
        ASSERT_FALSE(classMessages.empty());
        EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), classMessages.back()) << "deleted " << deleted;
    }
}

TEST(WindowBinding, AWindowThatDoesNotRunTheToolkitsProcedureHasNoObjectWhateverItsUserData) {
    PlainWindow foreign;
    RecordingProcedure object;
    SetWindowLongPtrW(foreign.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(nullptr, WindowProcedure::fromWindow(foreign.get()));
    EXPECT_EQ(nullptr, WindowProcedure::componentFromWindow(foreign.get()));
    SetWindowLongPtrW(foreign.get(), GWLP_USERDATA, 0);
}

class WindowTimers : public ::testing::Test {
protected:
    void SetUp() override { ui_test::discardMessages(); }
    void TearDown() override {
        object.detach();
        awt::Toolkit::forCurrentThread()->runPending(true);
        ui_test::discardMessages();
    }

    PlainWindow window;
    // Held on the heap: a fixture's destructor may not throw, a bound object's may.
    std::unique_ptr<RecordingProcedure> objectHolder = std::make_unique<RecordingProcedure>(window.get());
    RecordingProcedure& object = *objectHolder;
    TickListener listener;
};

TEST_F(WindowTimers, TickReachesTheListenerFromOneTimerPerListenerAndFailuresNameTheCall) {
    RecordingProcedure unbound;
    int code = 0;
    EXPECT_EQ(L"no peer", messageOf<klib::IllegalStateException>([&] { unbound.setTimer(10, &listener); }, &code));
    EXPECT_EQ(-1, code);
    EXPECT_EQ(L"::KillTimer() failed", messageOf<awt::AWTException>([&] { object.killTimer(&listener); }));
    object.setTimer(60000, &listener);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(&listener), object.setTimer(10, &listener));  // replaces the first
    EXPECT_TRUE(ui_test::pumpUntil([&] { return listener.sources.size() >= 2; }));
    object.killTimer(&listener);
    EXPECT_THROW(object.killTimer(&listener), awt::AWTException) << "the second timer was not replaced";
    EXPECT_EQ(static_cast<void*>(static_cast<WindowProcedure*>(&object)), listener.sources.at(0));
}

// Exceptions thrown behind Win32 frames are parked there and reach the caller of the loop or of SendMessage.
using CallbackExceptions = WindowTimers;

TEST_F(CallbackExceptions, ExceptionFromADispatchedMessageOrATimerTickLeavesRunAndTheNextLoopRunsNormally) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    PostMessageW(window.get(), WM_FAIL, 1, 0);
    EXPECT_EQ(L"failed in message 1", messageOf<klib::IllegalStateException>([&] { runWatched(toolkit); }));
    listener.onTick = [] { throw klib::IllegalArgumentException(L"tick failed"); };
    object.setTimer(10, &listener);
    EXPECT_EQ(L"tick failed", messageOf<klib::IllegalArgumentException>([&] { runWatched(toolkit); }));
    object.killTimer(&listener);
    PostQuitMessage(2);
    EXPECT_EQ(2, runWatched(toolkit));
}

TEST_F(CallbackExceptions, FirstExceptionFromSentMessagesIsRethrownOnceAndALaterOneIsReported) {
    const testing_support::DebugOutputCapture debugOutput;
    EXPECT_EQ(0, SendMessageW(window.get(), WM_FAIL, 1, 0));
    EXPECT_EQ(0, SendMessageW(window.get(), WM_FAIL, 2, 0));
    EXPECT_EQ(L"failed in message 1", messageOf<klib::IllegalStateException>([] { awt::Toolkit::rethrowParked(); }));
    EXPECT_NO_THROW(awt::Toolkit::rethrowParked());
    EXPECT_EQ(debugOutput.lines(), std::vector<std::wstring>{L"ignored failure: a second exception in a Win32 "
                                                             L"callback: class klib::IllegalStateException: failed "
                                                             L"in message 2\n"});
}

TEST(CallbackFailure, AFailedCloseRequestNeitherDestroysTheWindowNorRunsTwice) {
    std::vector<std::wstring> log;
    ui_test::LoggingListener failing(log, L"A");
    failing.action = [] { throw klib::IllegalStateException(L"keep me"); };
    auto window = std::make_unique<ui_test::TestWindow>();
    window->addWindowListener(&failing);
    window->addNotify();
    const HWND handle = window->getHandle();
    for (const UINT msg : {UINT{WM_CLOSE}, UINT{WM_SYSCOMMAND}}) {
        log.clear();
        EXPECT_EQ(0, SendMessageW(handle, msg, SC_CLOSE, 0));  // WM_CLOSE takes no parameter
        EXPECT_EQ(L"keep me", messageOf<klib::IllegalStateException>([] { awt::Toolkit::rethrowParked(); }));
        EXPECT_TRUE(IsWindow(handle)) << msg;
        EXPECT_EQ(std::vector<std::wstring>{L"A:windowClosing"}, log) << msg;
    }
    window->removeWindowListener(&failing);
}

}  // namespace
