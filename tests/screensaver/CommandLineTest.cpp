#include "screensaver/CommandLine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using screensaver::CommandLine;
using screensaver::ScreenSaverMode;

struct Case {
    const wchar_t* arguments;  // after the program path
    ScreenSaverMode mode;
    int window;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    out << '"';
    for (const wchar_t* p = c.arguments; *p != L'\0'; ++p) {
        out << (*p < 0x80 ? static_cast<char>(*p) : '?');
    }
    return out << "\" -> mode " << c.mode << ", window " << c.window;
}

class CommandLineTable : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTable, GivesModeAndWindow) {
    const std::wstring text = std::wstring(L"C:\\Windows\\orlivex.scr ") + GetParam().arguments;
    const CommandLine commandLine(text.c_str());
    EXPECT_EQ(commandLine.mode, GetParam().mode);
    EXPECT_EQ(commandLine.window, GetParam().window);
}

TEST_P(CommandLineTable, GivesTheSameAfterAQuotedPathWithSpaces) {
    const std::wstring text = std::wstring(L"\"C:\\Program Files\\x\\orlivex.scr\" ") + GetParam().arguments;
    const CommandLine commandLine(text.c_str());
    EXPECT_EQ(commandLine.mode, GetParam().mode);
    EXPECT_EQ(commandLine.window, GetParam().window);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTable,
    ::testing::Values(Case{L"", screensaver::CONFIGURE, 0}, Case{L"/c:42", screensaver::CONFIGURE, 42},
                      Case{L"/C:42", screensaver::CONFIGURE, 42}, Case{L"-c:42", screensaver::CONFIGURE, 42},
                      Case{L"/c", screensaver::CONFIGURE, 0}, Case{L"/c:", screensaver::CONFIGURE, 0},
                      Case{L"/c:abc", screensaver::CONFIGURE, 0}, Case{L"/c142", screensaver::CONFIGURE, 42},
                      Case{L"/p 77", screensaver::PREVIEW, 77}, Case{L"-P 77", screensaver::PREVIEW, 77},
                      Case{L"/p", screensaver::PREVIEW, 0}, Case{L"/p:77", screensaver::PREVIEW, 0},
                      Case{L"/s", screensaver::SAVER, 0}, Case{L"-S", screensaver::SAVER, 0},
                      Case{L"/saver", screensaver::SAVER, 0}, Case{L"/s 77", screensaver::SAVER, 0},
                      Case{L"s", screensaver::CONFIGURE, 0}, Case{L"x", screensaver::CONFIGURE, 0},
                      Case{L"/", screensaver::CONFIGURE, 0}, Case{L"/x /s", screensaver::CONFIGURE, 0},
                      Case{L"/c:99999999999", screensaver::CONFIGURE, 0}, Case{L"/p -x", screensaver::PREVIEW, 0},
                      Case{L"/p 4294967296", screensaver::PREVIEW, 0}, Case{L"/p 2147483647", screensaver::PREVIEW, 2147483647},
                      Case{L"/p \"\"", screensaver::PREVIEW, 0}, Case{L"/c: 42", screensaver::CONFIGURE, 0},
                      Case{L"\"/p\" 77", screensaver::PREVIEW, 77}, Case{L"/\x0130 77", screensaver::CONFIGURE, 0},
                      Case{L"/\xFF33", screensaver::CONFIGURE, 0}));

TEST(CommandLine, DefaultConstructionReadsThisProcess) {
    // The test program runs without a mode switch, or with gtest's own options.
    const CommandLine commandLine;
    EXPECT_EQ(commandLine.mode, screensaver::CONFIGURE);
    EXPECT_EQ(commandLine.window, 0);
}

TEST(IsSwitch, MatchesSlashOrDashAndTheLetterInEitherCase) {
    EXPECT_TRUE(screensaver::isSwitch(L"/s", L's'));
    EXPECT_TRUE(screensaver::isSwitch(L"-S", L's'));
    EXPECT_TRUE(screensaver::isSwitch(L"/scr", L's'));
    EXPECT_TRUE(screensaver::isSwitch(L"-p:1", L'p'));
}

TEST(IsSwitch, RejectsShortOrUnprefixedArguments) {
    EXPECT_FALSE(screensaver::isSwitch(L"", L's'));
    EXPECT_FALSE(screensaver::isSwitch(L"/", L's'));
    EXPECT_FALSE(screensaver::isSwitch(L"s", L's'));
    EXPECT_FALSE(screensaver::isSwitch(L"\\s", L's'));
    EXPECT_FALSE(screensaver::isSwitch(L"/c", L's'));
}

TEST(IsSwitch, FoldsOnlyAsciiLetters) {
    // Characters whose lower case is not ASCII, or that lie outside the runtime's tolower domain.
    EXPECT_FALSE(screensaver::isSwitch(L"/\x0130", L'i'));  // capital I with dot above
    EXPECT_FALSE(screensaver::isSwitch(L"/\xFF33", L's'));  // full-width S
    EXPECT_FALSE(screensaver::isSwitch(L"/\x017F", L's'));  // long s
    EXPECT_FALSE(screensaver::isSwitch(L"/\xFFFF", L's'));
    EXPECT_FALSE(screensaver::isSwitch(L"-\x212A", L'k'));  // Kelvin sign
}

}  // namespace
