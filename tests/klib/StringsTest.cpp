#include "klib/Exception.h"
#include "klib/Strings.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct ParseCase {
    const wchar_t* text;
    int value;
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c) {
    return out << klib::toString(c.value).size() << " digits from " << std::wstring(c.text).size() << " units";
}

class ParseIntAccepts : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntAccepts, TheDecimalText) {
    EXPECT_EQ(klib::parseInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseIntAccepts,
                         ::testing::Values(ParseCase{L"0", 0}, ParseCase{L"-0", 0}, ParseCase{L"000", 0},
                                           ParseCase{L"007", 7}, ParseCase{L"42", 42}, ParseCase{L"-42", -42},
                                           ParseCase{L"2147483647", INT_MAX}, ParseCase{L"-2147483648", INT_MIN},
                                           ParseCase{L"0002147483647", INT_MAX}, ParseCase{L"-2147483647", -INT_MAX}));

struct RejectCase {
    const wchar_t* text;
    const wchar_t* message;
};

std::ostream& operator<<(std::ostream& out, const RejectCase& c) {
    return out << "text of " << std::wstring(c.text).size() << " units";
}

class ParseIntRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ParseIntRejects, TheTextWithTheExactMessage) {
    try {
        klib::parseInt(GetParam().text);
        FAIL() << "accepted";
    } catch (const klib::NumberFormatException& e) {
        EXPECT_EQ(e.getMessage(), GetParam().message);
        EXPECT_EQ(e.getErrorCode(), -1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseIntRejects,
    ::testing::Values(RejectCase{L"", L"empty string"}, RejectCase{L"-", L"-"}, RejectCase{L"+5", L"+5"},
                      RejectCase{L" 5", L" 5"}, RejectCase{L"5 ", L"5 "}, RejectCase{L"1a", L"1a"},
                      RejectCase{L"--1", L"--1"}, RejectCase{L"-x", L"-x"}, RejectCase{L"1-", L"1-"},
                      RejectCase{L"\x0661", L"\x0661"},  // an Arabic-Indic digit is no decimal digit here
                      RejectCase{L"\xFF15", L"\xFF15"},  // nor is a full-width five
                      RejectCase{L"2147483648", L"2147483648 (overflow)"},
                      RejectCase{L"-2147483649", L"-2147483649 (overflow)"},
                      RejectCase{L"4294967296", L"4294967296 (overflow)"},
                      RejectCase{L"21474836470", L"21474836470 (overflow)"},
                      RejectCase{L"99999999999x", L"99999999999x (overflow)"},
                      RejectCase{L"3000000000", L"3000000000 (overflow)"}));

TEST(ToString, WritesTheMostNegativeValueInFull) {
    EXPECT_EQ(klib::toString(INT_MIN), L"-2147483648");
}

TEST(ToString, WritesPlainDecimal) {
    EXPECT_EQ(klib::toString(0), L"0");
    EXPECT_EQ(klib::toString(1234567), L"1234567");
    EXPECT_EQ(klib::toString(-7), L"-7");
    EXPECT_EQ(klib::toString(INT_MAX), L"2147483647");
}

TEST(Widen, MapsEachAsciiByteToOneCodeUnit) {
    EXPECT_EQ(klib::widen("class klib::Exception"), L"class klib::Exception");
    EXPECT_EQ(klib::widen(""), L"");
    EXPECT_EQ(klib::widen("\x01\x7F"), std::wstring(L"\x0001\x007F"));
}

TEST(NullString, IsOneCodeUnitFFFF) {
    EXPECT_EQ(klib::nullString, std::wstring(1, L'\xFFFF'));
}

TEST(CstrOrNull, GivesNullForTheNullString) {
    EXPECT_EQ(klib::cstrOrNull(klib::nullString), nullptr);
    EXPECT_EQ(klib::cstrOrNull(std::wstring(1, L'\xFFFF')), nullptr);
}

TEST(CstrOrNull, GivesTheCharactersOfAnyOtherString) {
    const std::wstring name = L"interval";
    EXPECT_EQ(klib::cstrOrNull(name), name.c_str());
    const std::wstring longer = std::wstring(1, L'\xFFFF') + L"x";
    EXPECT_STREQ(klib::cstrOrNull(longer), longer.c_str());
}

TEST(SplitCommandLine, GivesOneWordForTheProgramPathAlone) {
    std::vector<std::wstring> words;
    klib::splitCommandLine(words, L"C:\\Windows\\orlivex.scr");
    EXPECT_EQ(words, std::vector<std::wstring>{L"C:\\Windows\\orlivex.scr"});
}

TEST(SplitCommandLine, KeepsAQuotedArgumentWithASpaceAsOneWordWithoutQuotes) {
    std::vector<std::wstring> words;
    klib::splitCommandLine(words, L"\"C:\\Program Files\\x\\orlivex.scr\" /p \"a b\" 77");
    EXPECT_EQ(words, (std::vector<std::wstring>{L"C:\\Program Files\\x\\orlivex.scr", L"/p", L"a b", L"77"}));
}

TEST(SplitCommandLine, ReplacesWhatTheVectorHeld) {
    std::vector<std::wstring> words{L"old", L"older", L"oldest"};
    klib::splitCommandLine(words, L"orlivex.scr /s");
    EXPECT_EQ(words, (std::vector<std::wstring>{L"orlivex.scr", L"/s"}));
}

}  // namespace
