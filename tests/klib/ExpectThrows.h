#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// Expects action to throw E (or a subclass) whose toString() is exactly text.
template <typename E, typename F>
void expectThrows(F&& action, const std::wstring& text) {
    try {
        action();
        ADD_FAILURE() << "nothing thrown, expected " << text;
    } catch (const E& e) {
        EXPECT_EQ(e.toString(), text);
    }
}

}  // namespace testing_support
