// Initialises the main thread's toolkit once for a whole GUI test program, as the main routine does,
// and starts every test without a WM_QUIT waiting.
#include <gtest/gtest.h>

#include <windows.h>

#include "awt/Toolkit.h"

namespace {


// A window that ends its loop as an earlier test puts it away (a saver window that is hidden) posts a
// WM_QUIT, at which the next test's pump would stop.
class LeftoverQuits : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOW);
        ::testing::UnitTest::GetInstance()->listeners().Append(new LeftoverQuits);
    }
};

// GoogleTest owns and deletes registered environments and listeners.
::testing::Environment* const toolkitEnvironment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

}  // namespace
