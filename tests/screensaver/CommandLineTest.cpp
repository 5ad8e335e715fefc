#include "screensaver/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using screensaver::CONFIGURE;
using screensaver::PREVIEW;
using screensaver::SAVER;

TEST(CommandLine, GivesModeAndWindowForEachArgumentListAfterAPlainOrAQuotedProgramPath) {
    const struct { const wchar_t* arguments; screensaver::ScreenSaverMode mode; int window; } cases[] = {
        {L"", CONFIGURE, 0}, {L"/c:42", CONFIGURE, 42}, {L"/C:42", CONFIGURE, 42}, {L"-c:42", CONFIGURE, 42},
        {L"/c", CONFIGURE, 0}, {L"/c:", CONFIGURE, 0}, {L"/c:abc", CONFIGURE, 0}, {L"/c142", CONFIGURE, 42},
        {L"/c: 42", CONFIGURE, 0}, {L"/c:99999999999", CONFIGURE, 0}, {L"/p 77", PREVIEW, 77}, {L"-P 77", PREVIEW, 77},
        {L"\"/p\" 77", PREVIEW, 77}, {L"/p", PREVIEW, 0}, {L"/p:77", PREVIEW, 0}, {L"/p -x", PREVIEW, 0},
        {L"/p \"\"", PREVIEW, 0}, {L"/p 4294967296", PREVIEW, 0}, {L"/p 2147483647", PREVIEW, 2147483647},
        // Handles above 2^31 in the unsigned, the signed and the sign-extended unsigned 64-bit form.
        {L"/p 3000000000", PREVIEW, -1294967296}, {L"/p -1294967296", PREVIEW, -1294967296},
        {L"/c:4294967295", CONFIGURE, -1}, {L"/p 18446744071562067968", PREVIEW, -2147483647 - 1},
        {L"/p 18446744071562067967", PREVIEW, 0}, {L"/p 18446744073709551616", PREVIEW, 0}, {L"/p +5", PREVIEW, 0},
        {L"/s", SAVER, 0}, {L"-S", SAVER, 0}, {L"/saver", SAVER, 0}, {L"/s 77", SAVER, 0}, {L"s", CONFIGURE, 0},
        {L"x", CONFIGURE, 0}, {L"/", CONFIGURE, 0}, {L"/x /s", CONFIGURE, 0}, {L"/\x0130 77", CONFIGURE, 0},
        {L"/\xFF33", CONFIGURE, 0}};
    for (const wchar_t* const path : {L"C:\\Windows\\orlivex.scr ", L"\"C:\\Program Files\\x\\orlivex.scr\" "}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "case " << (&c - cases) << " after path " << (*path == L'"'));
            const screensaver::CommandLine commandLine((path + std::wstring(c.arguments)).c_str());
            EXPECT_EQ(commandLine.mode, c.mode);
            EXPECT_EQ(commandLine.window, c.window);
        }
    }
}

TEST(IsSwitch, MatchesSlashOrDashAndTheAsciiLetterInEitherCaseOnly) {
    // Non-ASCII characters never match, whatever their case mapping: capital I with dot above, full-width S,
    // long s, U+FFFF and the Kelvin sign.
    const struct { const wchar_t* argument; wchar_t letter; bool matches; } cases[] = {
        {L"/s", L's', true}, {L"-S", L's', true}, {L"/scr", L's', true}, {L"", L's', false}, {L"/", L's', false},
        {L"s", L's', false}, {L"\\s", L's', false}, {L"/c", L's', false}, {L"/\x0130", L'i', false},
        {L"/\xFF33", L's', false}, {L"/\x017F", L's', false}, {L"/\xFFFF", L's', false}, {L"-\x212A", L'k', false}};
    for (const auto& c : cases) {
        EXPECT_EQ(screensaver::isSwitch(c.argument, c.letter), c.matches) << "case " << (&c - cases);
    }
}

}  // namespace
