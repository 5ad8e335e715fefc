// Initialises the main thread's toolkit once for a whole GUI test program, as the main routine does.
#include <gtest/gtest.h>

#include <windows.h>

#include "awt/Toolkit.h"

namespace {

class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override { awt::Toolkit::initialize(GetModuleHandleW(nullptr), SW_SHOW); }
};

// GoogleTest owns and deletes registered environments.
::testing::Environment* const toolkitEnvironment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

}  // namespace
