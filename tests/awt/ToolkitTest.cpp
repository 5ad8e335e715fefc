#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"

using ui_test::CallRunnable;
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

// A quit inside a nested loop ends it and the loop around it too; endModal ending only the nested one
// is WindowLoops'.
TEST_F(ToolkitLoop, AQuitInANestedLoopEndsItAndTheLoopAroundIt) {
    int nestedResult = -1;
    CallRunnable quit([&] { toolkit->postQuit(7); });
    CallRunnable modal([&] {
        toolkit->invokeLater(&quit);
        nestedResult = toolkit->runModal(nullptr);
    });
    toolkit->invokeLater(&modal);
    EXPECT_EQ(7, testing_support::runWatched(toolkit));
    EXPECT_EQ(7, nestedResult);
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

}  // namespace
