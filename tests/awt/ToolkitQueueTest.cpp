#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Component.h"
#include "awt/Toolkit.h"

namespace {

// A component that records its validations and updates in a shared log.
class ProbeComponent : public ui_test::Control {
public:
    ProbeComponent(std::vector<std::wstring>& log, std::wstring name) : log_(log), name_(std::move(name)) {}

    void validate() override {
        log_.push_back(L"validate " + name_);
        Control::validate();
    }
    void update() override {
        log_.push_back(L"update " + name_);
        if (onUpdate) {
            onUpdate();
        }
        Control::update();
    }

    std::function<void()> onUpdate;

private:
    std::vector<std::wstring>& log_;
    std::wstring name_;
};

using Log = std::vector<std::wstring>;

class ToolkitQueues : public ::testing::Test {
protected:
    void SetUp() override { ui_test::discardMessages(); }
    void TearDown() override {
        for (ProbeComponent* c : {&a, &b}) {
            toolkit->cancelPending(c);
        }
        toolkit->runPending(true);
        ui_test::discardMessages();
    }

    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    Log log;
    // Held by pointer: a fixture's destructor may not throw, a component's may.
    std::unique_ptr<ProbeComponent> ownedA = std::make_unique<ProbeComponent>(log, L"a");
    std::unique_ptr<ProbeComponent> ownedB = std::make_unique<ProbeComponent>(log, L"b");
    ProbeComponent& a = *ownedA;
    ProbeComponent& b = *ownedB;
};

TEST_F(ToolkitQueues, ValidationsRunInQueueOrderOnceEachAndCancelledComponentsAreSkipped) {
    auto c = std::make_unique<ProbeComponent>(log, L"c");
    for (ProbeComponent* p : {&a, &b, c.get(), &a}) {
        toolkit->queueValidate(p);
    }
    toolkit->queueUpdate(c.get());
    toolkit->cancelPending(c.get());
    toolkit->idle();
    EXPECT_EQ((Log{L"validate a", L"validate b"}), log);
}

TEST_F(ToolkitQueues, RepaintsWaitForPendingLayoutAndOneRequestedDuringItsOwnUpdateIsAbsorbed) {
    a.onUpdate = [&] { toolkit->queueUpdate(&a); };
    toolkit->queueUpdate(&a);
    toolkit->queueValidate(&b);
    toolkit->updatePending();
    EXPECT_TRUE(log.empty());

    toolkit->idle();
    toolkit->updatePending();
    EXPECT_EQ((Log{L"validate b", L"update a"}), log);
}

TEST_F(ToolkitQueues, AComponentThatLeavesTheUpdateQueueDuringItsUpdateCostsNoOtherItsRepaint) {
    a.onUpdate = [&] { toolkit->cancelPending(&a); };
    toolkit->queueUpdate(&a);
    toolkit->queueUpdate(&b);
    toolkit->updatePending();
    EXPECT_EQ((Log{L"update a", L"update b"}), log);
}

}  // namespace
