#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ToolkitTestSupport.h"
#include "awt/Component.h"
#include "awt/Toolkit.h"
#include "awt/WindowProcedure.h"

using awt_test::LoopWatchdog;

namespace {

// A component that records its validations and updates in a shared log.
class ProbeComponent : public awt::Component {
public:
    ProbeComponent(std::vector<std::wstring>& log, std::wstring name, bool* deleted = nullptr)
        : log_(log), name_(std::move(name)), deleted_(deleted) {}
    ~ProbeComponent() noexcept(false) override {
        if (deleted_ != nullptr) {
            *deleted_ = true;
        }
    }

    const wchar_t* getClassName() const override { return L"STATIC"; }
    awt::Dimension getPreferredSize() override { return awt::Dimension{10, 10}; }
    bool isChild() const override { return false; }

    void validate() override {
        log_.push_back(L"validate " + name_);
        if (onValidate) {
            onValidate();
        }
        awt::Component::validate();
    }
    void update() override {
        log_.push_back(L"update " + name_);
        if (onUpdate) {
            onUpdate();
        }
        awt::Component::update();
    }

    std::function<void()> onValidate;
    std::function<void()> onUpdate;

private:
    std::vector<std::wstring>& log_;
    std::wstring name_;
    bool* deleted_;
};

class ToolkitQueues : public ::testing::Test {
protected:
    void SetUp() override {
        toolkit = awt::Toolkit::forCurrentThread();
        toolkit->runPending(true);
        awt_test::discardMessages();
    }
    void TearDown() override {
        for (ProbeComponent* c : {&a, &b}) {
            toolkit->cancelPending(c);
        }
        toolkit->runPending(true);
        awt_test::discardMessages();
    }

    awt::Toolkit* toolkit = nullptr;
    std::vector<std::wstring> log;
    // Held by pointer: a fixture's destructor may not throw, a component's may.
    std::unique_ptr<ProbeComponent> ownedA = std::make_unique<ProbeComponent>(log, L"a");
    std::unique_ptr<ProbeComponent> ownedB = std::make_unique<ProbeComponent>(log, L"b");
    ProbeComponent& a = *ownedA;
    ProbeComponent& b = *ownedB;
};

TEST_F(ToolkitQueues, ValidationsRunInQueueOrderOnceEach) {
    toolkit->queueValidate(&a);
    toolkit->queueValidate(&b);
    toolkit->queueValidate(&a);
    toolkit->validatePending();
    EXPECT_EQ((std::vector<std::wstring>{L"validate a", L"validate b"}), log);
}

TEST_F(ToolkitQueues, ComponentQueuedDuringItsOwnValidationIsValidatedAgainInTheSameCall) {
    int validations = 0;
    a.onValidate = [&] {
        if (++validations == 1) {
            toolkit->queueValidate(&a);
        }
    };
    toolkit->queueValidate(&a);
    toolkit->validatePending();
    EXPECT_EQ((std::vector<std::wstring>{L"validate a", L"validate a"}), log);
}

TEST_F(ToolkitQueues, RepaintsWaitUntilNoLayoutIsPending) {
    toolkit->queueUpdate(&a);
    toolkit->queueValidate(&b);
    toolkit->updatePending();
    EXPECT_TRUE(log.empty());

    toolkit->idle();
    EXPECT_EQ((std::vector<std::wstring>{L"validate b", L"update a"}), log);
}

TEST_F(ToolkitQueues, RepaintRequestedDuringItsOwnUpdateIsAbsorbed) {
    a.onUpdate = [&] { toolkit->queueUpdate(&a); };
    toolkit->queueUpdate(&a);
    toolkit->updatePending();
    toolkit->updatePending();
    EXPECT_EQ((std::vector<std::wstring>{L"update a"}), log);
}

TEST_F(ToolkitQueues, CancelledComponentIsNeitherValidatedNorUpdated) {
    toolkit->queueValidate(&a);
    toolkit->queueValidate(&b);
    toolkit->queueUpdate(&a);
    toolkit->cancelPending(&a);
    toolkit->idle();
    EXPECT_EQ((std::vector<std::wstring>{L"validate b"}), log);
}

TEST_F(ToolkitQueues, QuitLeavesLayoutAndRepaintQueuesAsTheyAre) {
    toolkit->queueValidate(&a);
    toolkit->queueUpdate(&b);
    PostQuitMessage(4);
    {
        LoopWatchdog watchdog;
        EXPECT_EQ(4, toolkit->run());
    }
    EXPECT_TRUE(log.empty());

    toolkit->idle();
    EXPECT_EQ((std::vector<std::wstring>{L"validate a", L"update b"}), log);
}

TEST_F(ToolkitQueues, DeleteLaterDeletesOnlyInALaterStepAndAtTheLatestWhenTheLoopQuits) {
    bool deleted = false;
    auto* doomed = new ProbeComponent(log, L"doomed", &deleted);  // owned by the toolkit's deleter from here
    toolkit->deleteLater(doomed);
    EXPECT_FALSE(deleted);
    toolkit->runPending(false);  // the wake-up message is waiting: input comes first
    EXPECT_FALSE(deleted);

    PostQuitMessage(0);
    LoopWatchdog watchdog;
    EXPECT_EQ(0, toolkit->run());
    EXPECT_TRUE(deleted);
}

TEST_F(ToolkitQueues, ComponentFromWindowFindsTheComponentOfItsPeer) {
    a.addNotify();
    ASSERT_NE(nullptr, a.getHandle());
    EXPECT_EQ(&a, awt::WindowProcedure::componentFromWindow(a.getHandle()));
    EXPECT_EQ(&a, awt::WindowProcedure::fromWindow(a.getHandle()));
    a.removeNotify();
}

}  // namespace
