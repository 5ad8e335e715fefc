#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/Strings.h"

using ui_test::CallRunnable;
using ui_test::LoopWatchdog;
using ui_test::messageOf;
using ui_test::PlainWindow;

namespace {

class ToolkitLoop : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        toolkit->runPending(true);
        ui_test::discardMessages();
    }

    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
};

TEST_F(ToolkitLoop, RunReturnsTheQuitCodeAfterAllQueuedRunnablesRanEvenWithInputWaiting) {
    std::vector<int> order;
    CallRunnable first([&] { order.push_back(1); });
    CallRunnable second([&] { order.push_back(2); });
    toolkit->invokeLater(&first);
    toolkit->invokeLater(&second);
    ui_test::discardMessages();  // only the WM_QUIT and a pending paint remain
    PlainWindow window(L"STATIC", WS_POPUP | WS_VISIBLE);
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
    EXPECT_EQ(L"r", messageOf<klib::NullPointerException>([&] { toolkit->invokeLater(nullptr); }));
}

TEST_F(ToolkitLoop, InvokeLaterFromAnotherThreadWakesTheWaitingLoop) {
    HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
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

// endModal ends only the nested loop; a quit inside it ends it and the loop around it too.
TEST_F(ToolkitLoop, EndModalEndsOnlyTheNestedLoopAndPostQuitEndsBoth) {
    for (const bool quit : {false, true}) {
        int nestedResult = -1;
        CallRunnable end([&] { quit ? toolkit->postQuit(7) : toolkit->endModal(nullptr); });
        CallRunnable afterNested([&] { toolkit->postQuit(5); });
        CallRunnable modal([&] {
            toolkit->invokeLater(&end);
            nestedResult = toolkit->runModal(nullptr);
            if (!quit) toolkit->invokeLater(&afterNested);
        });
        toolkit->invokeLater(&modal);
        LoopWatchdog watchdog;
        EXPECT_EQ(quit ? 7 : 5, toolkit->run()) << quit;
        EXPECT_EQ(quit ? 7 : 0, nestedResult) << quit;
        EXPECT_EQ(quit ? 0 : 1, afterNested.runs) << quit;
        TearDown();
    }
}

// Records its calls; handles a message when action says so.
class RecordingPreprocessor : public awt::MessagePreprocessor {
public:
    RecordingPreprocessor(std::vector<int>& calls, int name) : calls_(calls), name_(name) {}
    void preprocess(const MSG*, bool* handled) override {
        calls_.push_back(name_);
        if (action) {
            *handled = action();
        }
    }

    std::function<bool()> action;

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

    bool preprocess() {
        MSG msg{};
        msg.message = WM_APP;
        bool handled = false;
        toolkit->preprocessMessage(msg, &handled);
        return handled;
    }

    std::vector<int> calls;
    RecordingPreprocessor first{calls, 1};
    RecordingPreprocessor second{calls, 2};
    RecordingPreprocessor third{calls, 3};
};

TEST_F(Preprocessors, RunInTheOrderAddedOnceEachAndRemovingReturnsTheIndexOrMinusOne) {
    toolkit->addMessagePreprocessor(&first);
    toolkit->addMessagePreprocessor(&second);
    toolkit->addMessagePreprocessor(&first);
    EXPECT_EQ(-1, toolkit->removeMessagePreprocessor(&third));
    EXPECT_FALSE(preprocess());
    EXPECT_EQ((std::vector<int>{1, 2}), calls);
    EXPECT_EQ(1, toolkit->removeMessagePreprocessor(&second));
    EXPECT_EQ(0, toolkit->removeMessagePreprocessor(&first));
}

TEST_F(Preprocessors, OnlyAPreprocessorThatHandledTheMessageMayChangeTheList) {
    toolkit->addMessagePreprocessor(&first);
    toolkit->addMessagePreprocessor(&third);
    bool handles = true;
    first.action = [&] {
        toolkit->addMessagePreprocessor(&second);
        return handles;
    };
    EXPECT_TRUE(preprocess());
    EXPECT_EQ(2, toolkit->removeMessagePreprocessor(&second));

    handles = false;
    int code = 0;
    EXPECT_EQ(L"the MessagePreprocessor can't add/remove message preprocessors",
              messageOf<awt::AWTException>([&] { preprocess(); }, &code));
    EXPECT_EQ(-1, code);
    EXPECT_EQ((std::vector<int>{1, 1}), calls) << "a handled message stops the chain; a failure stops it too";
}

TEST(ToolkitResources, MissingStringIsTheNullStringAndAMissingIconThrows) {
    EXPECT_EQ(klib::nullString, awt::Toolkit::loadString(54321));
    EXPECT_EQ(L"::LoadImage() failed",
              messageOf<awt::AWTException>([] { awt::Toolkit::loadIcon(4711, 32, 32); }));
}

// A copy of this program with one string block of chosen lengths serves as the module strings load from.
class ToolkitLongStrings : public ::testing::Test {
protected:
    static constexpr UINT FIRST_ID = 0x4000;  // block FIRST_ID / 16 + 1; unused ids are empty strings

    // String i repeats its own letter.
    std::wstring expected(std::size_t i) const { return std::wstring(lengths[i], static_cast<wchar_t>(L'a' + i)); }

    void SetUp() override {
        wchar_t self[MAX_PATH];
        wchar_t directory[MAX_PATH];
        ASSERT_NE(0u, GetModuleFileNameW(nullptr, self, MAX_PATH));
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, directory));
        path = std::wstring(directory) + L"orlivex-strings-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
        ASSERT_TRUE(CopyFileW(self, path.c_str(), FALSE));
        std::vector<WORD> block;
        for (std::size_t i = 0; i < 16; ++i) {
            const std::wstring text = i < lengths.size() ? expected(i) : std::wstring();
            block.push_back(static_cast<WORD>(text.size()));
            block.insert(block.end(), text.begin(), text.end());
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

    const std::vector<std::size_t> lengths{5, 254, 255, 300, 5000};
    std::wstring path;
    HMODULE module = nullptr;
    HINSTANCE original = nullptr;
};

TEST_F(ToolkitLongStrings, StringsOfEveryLengthAreReturnedWholeAndAnEmptyOneIsAbsent) {
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        EXPECT_EQ(expected(i), awt::Toolkit::loadString(FIRST_ID + static_cast<UINT>(i))) << lengths[i];
    }
    EXPECT_EQ(klib::nullString, awt::Toolkit::loadString(FIRST_ID + 15));
}

}  // namespace
