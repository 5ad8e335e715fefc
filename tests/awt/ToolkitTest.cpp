#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ToolkitTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/ManagedThread.h"
#include "klib/Strings.h"

using awt_test::CallRunnable;
using awt_test::LoopWatchdog;
using awt_test::TestWindow;

namespace {

class ToolkitLoop : public ::testing::Test {
protected:
    void SetUp() override {
        toolkit = awt::Toolkit::forCurrentThread();
        toolkit->runPending(true);
        awt_test::discardMessages();
    }
    void TearDown() override {
        toolkit->runPending(true);
        awt_test::discardMessages();
    }

    awt::Toolkit* toolkit = nullptr;
};

TEST_F(ToolkitLoop, RunReturnsTheQuitCodeAfterAllQueuedRunnablesRanEvenWithInputWaiting) {
    std::vector<int> order;
    CallRunnable first([&] { order.push_back(1); });
    CallRunnable second([&] { order.push_back(2); });
    toolkit->invokeLater(&first);
    toolkit->invokeLater(&second);
    awt_test::discardMessages();  // only the WM_QUIT and a pending paint remain
    TestWindow window(L"STATIC", WS_POPUP | WS_VISIBLE);
    InvalidateRect(window.get(), nullptr, TRUE);
    PostQuitMessage(3);

    EXPECT_EQ(3, toolkit->run());
    EXPECT_EQ((std::vector<int>{1, 2}), order);
    EXPECT_NE(0u, HIWORD(GetQueueStatus(QS_PAINT))) << "the paint message should still be waiting";
}

TEST_F(ToolkitLoop, InvokeLaterTwiceQueuesOnceAndPostsOneWakeUp) {
    CallRunnable runnable([] {});
    toolkit->invokeLater(&runnable);
    toolkit->invokeLater(&runnable);

    int wakeUps = 0;
    MSG msg;
    while (PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_NULL, WM_NULL, PM_REMOVE)) {
        ++wakeUps;
    }
    toolkit->runPending(true);
    EXPECT_EQ(1, wakeUps);
    EXPECT_EQ(1, runnable.runs);
}

TEST_F(ToolkitLoop, RunnableQueuedByARunnableRunsInTheSameCallWhenAllAreRun) {
    CallRunnable second([] {});
    CallRunnable first([&] { toolkit->invokeLater(&second); });
    toolkit->invokeLater(&first);

    toolkit->runPending(true);
    EXPECT_EQ(1, first.runs);
    EXPECT_EQ(1, second.runs);
}

TEST_F(ToolkitLoop, RunnablesYieldToWaitingInput) {
    CallRunnable runnable([] {});
    toolkit->invokeLater(&runnable);  // its wake-up message is waiting input itself

    toolkit->runPending(false);
    EXPECT_EQ(0, runnable.runs);
    awt_test::discardMessages();
    toolkit->runPending(false);
    EXPECT_EQ(1, runnable.runs);
}

TEST_F(ToolkitLoop, InvokeLaterFromAnotherThreadWakesTheWaitingLoop) {
    HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, started);
    CallRunnable announce([&] { SetEvent(started); });
    CallRunnable quit([&] { toolkit->postQuit(7); });
    toolkit->invokeLater(&announce);
    std::thread other([&] {
        WaitForSingleObject(started, 5000);
        toolkit->invokeLater(&quit);
    });
    int result = 0;
    {
        LoopWatchdog watchdog;
        result = toolkit->run();
    }
    other.join();
    CloseHandle(started);
    EXPECT_EQ(7, result);
}

TEST_F(ToolkitLoop, InvokeLaterRejectsNull) {
    try {
        toolkit->invokeLater(nullptr);
        FAIL() << "no exception";
    } catch (const klib::NullPointerException& e) {
        EXPECT_EQ(L"r", e.getMessage());
    }
}

TEST_F(ToolkitLoop, EndModalEndsOnlyTheNestedLoop) {
    int nestedResult = -1;
    bool outerContinued = false;
    CallRunnable end([&] { toolkit->endModal(nullptr); });
    CallRunnable afterNested([&] {
        outerContinued = true;
        toolkit->postQuit(5);
    });
    CallRunnable modal([&] {
        toolkit->invokeLater(&end);
        nestedResult = toolkit->runModal(nullptr);
        toolkit->invokeLater(&afterNested);
    });
    toolkit->invokeLater(&modal);

    LoopWatchdog watchdog;
    EXPECT_EQ(5, toolkit->run());
    EXPECT_EQ(0, nestedResult);
    EXPECT_TRUE(outerContinued);
}

TEST_F(ToolkitLoop, ExceptionFromARunnableLeavesRun) {
    CallRunnable failing([] { throw klib::IllegalStateException(L"runnable failed"); });
    toolkit->invokeLater(&failing);
    LoopWatchdog watchdog;
    try {
        toolkit->run();
        FAIL() << "no exception";
    } catch (const klib::IllegalStateException& e) {
        EXPECT_EQ(L"runnable failed", e.getMessage());
    }
}

// Wait handles: the loop calls handler i when handle i is signalled.
class SignalHandler : public awt::WaitHandler {
public:
    explicit SignalHandler(awt::Toolkit* toolkit) : toolkit_(toolkit) {}
    void handleWait(awt::WaitEvent* event) override {
        seen.push_back(*event);
        ResetEvent(event->handle);
        toolkit_->postQuit(11);
    }

    std::vector<awt::WaitEvent> seen;

private:
    awt::Toolkit* toolkit_;
};

TEST_F(ToolkitLoop, SignalledWaitHandleCallsItsHandler) {
    HANDLE idle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE signalled = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    SignalHandler idleHandler(toolkit);
    SignalHandler handler(toolkit);
    toolkit->addWaitHandle(idle, &idleHandler);
    toolkit->addWaitHandle(signalled, &handler);

    int result = 0;
    {
        LoopWatchdog watchdog;
        result = toolkit->run();
    }
    EXPECT_TRUE(toolkit->removeWaitHandle(idle));
    EXPECT_TRUE(toolkit->removeWaitHandle(signalled));
    EXPECT_FALSE(toolkit->removeWaitHandle(signalled));
    CloseHandle(idle);
    CloseHandle(signalled);

    EXPECT_EQ(11, result);
    EXPECT_TRUE(idleHandler.seen.empty());
    ASSERT_EQ(1u, handler.seen.size());
    EXPECT_EQ(signalled, handler.seen[0].handle);
    EXPECT_FALSE(handler.seen[0].handled);
}

// Preprocessors.

class RecordingPreprocessor : public awt::MessagePreprocessor {
public:
    RecordingPreprocessor(std::vector<int>& calls, int name) : calls_(calls), name_(name) {}
    void preprocess(const MSG* msg, bool* handled) override {
        calls_.push_back(name_);
        lastMessage = msg->message;
        if (action) {
            action();
        }
        if (consume) {
            *handled = true;
        }
    }

    bool consume = false;
    UINT lastMessage = 0;
    std::function<void()> action;

private:
    std::vector<int>& calls_;
    int name_;
};

class Preprocessors : public ToolkitLoop {
protected:
    void TearDown() override {
        for (RecordingPreprocessor* p : {&first, &second, &third}) {
            toolkit->removeMessagePreprocessor(p);
        }
        ToolkitLoop::TearDown();
    }

    MSG message(UINT id) const {
        MSG msg{};
        msg.message = id;
        return msg;
    }

    std::vector<int> calls;
    RecordingPreprocessor first{calls, 1};
    RecordingPreprocessor second{calls, 2};
    RecordingPreprocessor third{calls, 3};
};

TEST_F(Preprocessors, RunInTheOrderAddedAndOnlyOnceEach) {
    toolkit->addMessagePreprocessor(&first);
    toolkit->addMessagePreprocessor(&second);
    toolkit->addMessagePreprocessor(&first);
    bool handled = false;
    toolkit->preprocessMessage(message(WM_APP), &handled);
    EXPECT_EQ((std::vector<int>{1, 2}), calls);
    EXPECT_FALSE(handled);
}

TEST_F(Preprocessors, AConsumingPreprocessorStopsTheChain) {
    toolkit->addMessagePreprocessor(&first);
    toolkit->addMessagePreprocessor(&second);
    first.consume = true;
    bool handled = false;
    toolkit->preprocessMessage(message(WM_APP), &handled);
    EXPECT_EQ((std::vector<int>{1}), calls);
    EXPECT_TRUE(handled);
}

TEST_F(Preprocessors, ConsumingPreprocessorMayAddAnother) {
    toolkit->addMessagePreprocessor(&first);
    first.consume = true;
    first.action = [&] { toolkit->addMessagePreprocessor(&second); };
    bool handled = false;
    EXPECT_NO_THROW(toolkit->preprocessMessage(message(WM_APP), &handled));
    EXPECT_TRUE(handled);
    EXPECT_EQ(1, toolkit->removeMessagePreprocessor(&second));
}

TEST_F(Preprocessors, NonConsumingPreprocessorThatChangesTheListThrows) {
    toolkit->addMessagePreprocessor(&first);
    toolkit->addMessagePreprocessor(&third);
    first.action = [&] { toolkit->addMessagePreprocessor(&second); };
    bool handled = false;
    try {
        toolkit->preprocessMessage(message(WM_APP), &handled);
        FAIL() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"the MessagePreprocessor can't add/remove message preprocessors", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
    EXPECT_EQ((std::vector<int>{1}), calls);
}

TEST_F(Preprocessors, RemovingAnAbsentPreprocessorReturnsMinusOneAndChangesNothing) {
    toolkit->addMessagePreprocessor(&first);
    toolkit->addMessagePreprocessor(&second);
    EXPECT_EQ(-1, toolkit->removeMessagePreprocessor(&third));
    bool handled = false;
    toolkit->preprocessMessage(message(WM_APP), &handled);
    EXPECT_EQ((std::vector<int>{1, 2}), calls);
    EXPECT_EQ(1, toolkit->removeMessagePreprocessor(&second));
    EXPECT_EQ(0, toolkit->removeMessagePreprocessor(&first));
}

// A window class that counts WM_APP and ends the loop on WM_APP + 1.
class CountingWindowClass {
public:
    static constexpr const wchar_t* NAME = L"ToolkitTest.Counting";

    CountingWindowClass() {
        WNDCLASSEXW info{};
        info.cbSize = sizeof(info);
        info.lpfnWndProc = procedure;
        info.hInstance = GetModuleHandleW(nullptr);
        info.lpszClassName = NAME;
        RegisterClassExW(&info);
        appMessages = 0;
    }
    CountingWindowClass(const CountingWindowClass&) = delete;
    CountingWindowClass& operator=(const CountingWindowClass&) = delete;
    ~CountingWindowClass() { UnregisterClassW(NAME, GetModuleHandleW(nullptr)); }

    static int appMessages;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_APP) {
            ++appMessages;
            return 0;
        }
        if (msg == WM_APP + 1) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(window, msg, wParam, lParam);
    }
};
int CountingWindowClass::appMessages = 0;

// Consumes the WM_APP messages whose wParam is 1.
class MarkedMessageFilter : public awt::MessagePreprocessor {
public:
    void preprocess(const MSG* msg, bool* handled) override {
        if (msg->message == WM_APP && msg->wParam == 1) {
            ++consumed;
            *handled = true;
        }
    }
    int consumed = 0;
};

TEST_F(Preprocessors, ConsumedMessagesAreNotDispatchedByTheLoop) {
    const CountingWindowClass windowClass;
    TestWindow window(CountingWindowClass::NAME);
    MarkedMessageFilter filter;
    toolkit->addMessagePreprocessor(&filter);
    PostMessageW(window.get(), WM_APP, 1, 0);
    PostMessageW(window.get(), WM_APP, 0, 0);
    PostMessageW(window.get(), WM_APP, 1, 0);
    PostMessageW(window.get(), WM_APP + 1, 0, 0);

    int result = 0;
    {
        LoopWatchdog watchdog;
        result = toolkit->run();
    }
    toolkit->removeMessagePreprocessor(&filter);
    EXPECT_EQ(0, result);
    EXPECT_EQ(2, filter.consumed);
    EXPECT_EQ(1, CountingWindowClass::appMessages);
}

TEST_F(Preprocessors, ExceptionFromAPreprocessorLeavesRun) {
    first.action = [] { throw klib::IllegalArgumentException(L"preprocessor failed"); };
    toolkit->addMessagePreprocessor(&first);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    LoopWatchdog watchdog;
    try {
        toolkit->run();
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"preprocessor failed", e.getMessage());
    }
}

// Menu commands.

class RecordingMenu : public awt::MenuCommandTarget {
public:
    void activateItem(int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

TEST(ToolkitMenuCommand, ActivatesTheItemOfTheMenuObjectStoredInTheMenu) {
    RecordingMenu target;
    const HMENU menu = CreatePopupMenu();
    ASSERT_NE(nullptr, menu);
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_MENUDATA;
    info.dwMenuData = reinterpret_cast<ULONG_PTR>(&target);
    ASSERT_TRUE(SetMenuInfo(menu, &info));

    bool handled = false;
    const LRESULT result = awt::Toolkit::forCurrentThread()->handleMenuCommand(
        WM_MENUCOMMAND, 2, reinterpret_cast<LPARAM>(menu), &handled);
    DestroyMenu(menu);
    EXPECT_EQ(0, result);
    EXPECT_TRUE(handled);
    EXPECT_EQ((std::vector<int>{2}), target.positions);
}

TEST(ToolkitMenuCommand, OtherMessagesAreLeftUnhandled) {
    bool handled = false;
    EXPECT_EQ(0, awt::Toolkit::forCurrentThread()->handleMenuCommand(WM_COMMAND, 1, 0, &handled));
    EXPECT_FALSE(handled);
}

// Process-wide services.

TEST(ToolkitWindowClass, SecondCallReturnsTheSameAtom) {
    const ATOM atom = awt::Toolkit::getWindowClass();
    EXPECT_NE(0, atom);
    EXPECT_EQ(atom, awt::Toolkit::getWindowClass());

    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(awt::Toolkit::getInstanceHandle(), L"awt::Window", &info));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), info.hbrBackground);
    EXPECT_EQ(0u, info.style);
}

TEST(ToolkitWindowClass, RegisteringANameTwiceThrowsWithTheName) {
    const std::wstring name = L"ToolkitTest.Twice";
    const ATOM atom = awt::Toolkit::registerWindowClass(name, CS_HREDRAW, nullptr, nullptr, nullptr);
    EXPECT_NE(0, atom);
    try {
        awt::Toolkit::registerWindowClass(name, 0, nullptr, nullptr, nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::RegisterClassEx(ToolkitTest.Twice) failed", e.getMessage());
        EXPECT_EQ(ERROR_CLASS_ALREADY_EXISTS, static_cast<DWORD>(e.getErrorCode()));
    }
    UnregisterClassW(name.c_str(), awt::Toolkit::getInstanceHandle());
}

TEST(ToolkitResources, MissingStringIsTheNullStringNotAnEmptyOne) {
    const std::wstring text = awt::Toolkit::loadString(54321);
    EXPECT_EQ(klib::nullString, text);
    EXPECT_EQ(std::wstring(1, L'\xFFFF'), text);
}

TEST(ToolkitResources, MissingIconThrows) {
    try {
        awt::Toolkit::loadIcon(4711, 32, 32);
        FAIL() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::LoadImage() failed", e.getMessage());
        EXPECT_NE(0, e.getErrorCode());
    }
}

// Long strings: a copy of this program gets a string table with strings of chosen lengths and serves
// as the module the toolkit loads from.
class ToolkitLongStrings : public ::testing::Test {
protected:
    static constexpr UINT FIRST_ID = 0x4000;  // block FIRST_ID / 16 + 1

    void SetUp() override {
        wchar_t self[MAX_PATH];
        ASSERT_NE(0u, GetModuleFileNameW(nullptr, self, MAX_PATH));
        wchar_t directory[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, directory));
        path = std::wstring(directory) + L"orlivex-strings-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
        ASSERT_TRUE(CopyFileW(self, path.c_str(), FALSE));

        // One string block: 16 counted strings; ids FIRST_ID .. FIRST_ID + 15.
        std::vector<WORD> block;
        for (std::size_t length : lengths) {
            block.push_back(static_cast<WORD>(length));
            for (std::size_t i = 0; i < length; ++i) {
                block.push_back(static_cast<WORD>(L'a' + i % 26));
            }
        }
        for (std::size_t i = lengths.size(); i < 16; ++i) {
            block.push_back(0);
        }
        HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
        ASSERT_NE(nullptr, update);
        ASSERT_TRUE(UpdateResourceW(update, RT_STRING, MAKEINTRESOURCEW(FIRST_ID / 16 + 1),
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), block.data(),
                                    static_cast<DWORD>(block.size() * sizeof(WORD))));
        ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
        module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module);
        original = awt::Toolkit::getInstanceHandle();
        awt::Toolkit::initialize(module, SW_SHOW);
    }

    void TearDown() override {
        if (original != nullptr) {
            awt::Toolkit::initialize(original, SW_SHOW);
        }
        if (module != nullptr) {
            FreeLibrary(module);
        }
        DeleteFileW(path.c_str());
    }

    static std::wstring expected(std::size_t length) {
        std::wstring text;
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(static_cast<wchar_t>(L'a' + i % 26));
        }
        return text;
    }

    const std::vector<std::size_t> lengths{5, 254, 255, 300, 5000};
    std::wstring path;
    HMODULE module = nullptr;
    HINSTANCE original = nullptr;
};

TEST_F(ToolkitLongStrings, StringsOfEveryLengthAreReturnedWhole) {
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const std::wstring text = awt::Toolkit::loadString(FIRST_ID + static_cast<UINT>(i));
        EXPECT_EQ(lengths[i], text.size()) << "id " << FIRST_ID + i;
        EXPECT_EQ(expected(lengths[i]), text) << "id " << FIRST_ID + i;
    }
}

TEST_F(ToolkitLongStrings, AnEmptyStringIsReportedAbsent) {
    EXPECT_EQ(klib::nullString, awt::Toolkit::loadString(FIRST_ID + 15));
}

// Toolkits of other threads.

TEST(ToolkitThreads, UnmanagedThreadGetsAnErrorAndThenItsToolkit) {
    std::wstring message;
    int code = 0;
    awt::Toolkit* second = nullptr;
    DWORD threadId = 0;
    DWORD toolkitThreadId = 1;
    std::thread other([&] {
        threadId = GetCurrentThreadId();
        try {
            awt::Toolkit::forCurrentThread();
        } catch (const awt::AWTException& e) {
            message = e.getMessage();
            code = e.getErrorCode();
        }
        second = awt::Toolkit::forCurrentThread();
        toolkitThreadId = second->getThreadId();
        delete second;  // nobody else would: the thread is unmanaged
    });
    other.join();
    EXPECT_EQ(L"using awt without klib management", message);
    EXPECT_EQ(-1, code);
    EXPECT_NE(awt::Toolkit::forCurrentThread(), second);
    EXPECT_EQ(threadId, toolkitThreadId);
}

class SilentPreprocessor : public awt::MessagePreprocessor {
public:
    void preprocess(const MSG*, bool*) override {}
};

TEST(ToolkitThreads, ManagedThreadDestroysItsToolkitWithItsExitActions) {
    bool sameOnSecondCall = false;
    bool freshAfterExit = false;
    std::thread other([&] {
        klib::ManagedThread record;
        klib::ManagedThread::attach(&record);
        SilentPreprocessor p;
        awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
        toolkit->addMessagePreprocessor(&p);
        sameOnSecondCall = awt::Toolkit::forCurrentThread() == toolkit;
        record.runExitActions();
        // The slot forgot the deleted toolkit: a new, empty one is made.
        awt::Toolkit* const fresh = awt::Toolkit::forCurrentThread();
        freshAfterExit = fresh->removeMessagePreprocessor(&p) == -1;
        record.runExitActions();
        klib::ManagedThread::attach(nullptr);
    });
    other.join();
    EXPECT_TRUE(sameOnSecondCall);
    EXPECT_TRUE(freshAfterExit);
}

}  // namespace
