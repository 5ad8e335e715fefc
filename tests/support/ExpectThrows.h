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

// Runs action and returns the message of the E it throws (its error code to *code), or "no exception".
template <typename E, typename F>
std::wstring messageOf(F&& action, int* code = nullptr) {
    try {
        action();
    } catch (const E& e) {
        if (code != nullptr) {
            *code = e.getErrorCode();
        }
        return e.getMessage();
    }
    return L"no exception";
}

}  // namespace testing_support
