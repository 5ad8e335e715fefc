#include "klib/Exception.h"
#include "klib/Strings.h"
#include "tests/support/ExpectThrows.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using testing_support::expectThrows;

TEST(NumberText, ParseIntAcceptsStrictDecimalRejectsAllElseWithTheExactMessageAndToStringWritesIntMinInFull) {
    const struct { const wchar_t* text; int value; const wchar_t* error; } cases[] = {
        {L"0", 0, nullptr}, {L"-0", 0, nullptr}, {L"007", 7, nullptr}, {L"-42", -42, nullptr},
        {L"2147483647", INT_MAX, nullptr}, {L"-2147483648", INT_MIN, nullptr}, {L"0002147483647", INT_MAX, nullptr},
        {L"", 0, L"empty string"}, {L"-", 0, L"-"}, {L"+5", 0, L"+5"}, {L" 5", 0, L" 5"}, {L"5 ", 0, L"5 "},
        {L"1a", 0, L"1a"}, {L"--1", 0, L"--1"}, {L"1-", 0, L"1-"},
        {L"\x0661", 0, L"\x0661"},  // an Arabic-Indic digit is no decimal digit here
        {L"\xFF15", 0, L"\xFF15"},  // nor is a full-width five
        {L"2147483648", 0, L"2147483648 (overflow)"}, {L"-2147483649", 0, L"-2147483649 (overflow)"},
        {L"4294967296", 0, L"4294967296 (overflow)"}, {L"21474836470", 0, L"21474836470 (overflow)"},
        {L"99999999999x", 0, L"99999999999x (overflow)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        if (c.error == nullptr) {
            EXPECT_EQ(klib::parseInt(c.text), c.value);
        } else {
            expectThrows<klib::NumberFormatException>([&] { klib::parseInt(c.text); },
                                                      L"class klib::NumberFormatException: " + std::wstring(c.error));
        }
    }
    EXPECT_EQ(klib::toString(INT_MIN), L"-2147483648");
}

TEST(SplitCommandLine, ReplacesTheWordsAndKeepsAQuotedArgumentWithASpaceAsOneWordWithoutQuotes) {
    std::vector<std::wstring> words{L"old", L"older"};
    klib::splitCommandLine(words, L"C:\\Windows\\orlivex.scr");
    EXPECT_EQ(words, std::vector<std::wstring>{L"C:\\Windows\\orlivex.scr"});
    klib::splitCommandLine(words, L"\"C:\\Program Files\\x\\orlivex.scr\" /p \"a b\" 77");
    EXPECT_EQ(words, (std::vector<std::wstring>{L"C:\\Program Files\\x\\orlivex.scr", L"/p", L"a b", L"77"}));
}

}  // namespace
