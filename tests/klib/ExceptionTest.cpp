#include "klib/Exception.h"
#include "klib/Strings.h"
#include "tests/support/DebugOutputCapture.h"
#include "tests/support/ExpectThrows.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

using testing_support::expectThrows;

constexpr int UNKNOWN_CODE = 0x12345678;  // not in the system message table

// The system text for code, looked up independently of the code under test.
std::wstring systemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    return text;
}

// A stream buffer that keeps what is written and what had been written at each flush (sync).
class RecordingBuffer : public std::wstreambuf {
public:
    std::wstring text;
    std::vector<std::wstring> flushed;

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) text += traits_type::to_char_type(c);
        return traits_type::not_eof(c);
    }
    int sync() override {
        flushed.push_back(text);
        return 0;
    }
};

// The line is flushed once it is whole, and a stream tied to the one printed to is flushed first.
TEST(ExceptionPrint, FlushesTheTiedStreamFirstAndTheLineOnceItIsWhole) {
    RecordingBuffer tiedBuffer;
    std::wostream tied(&tiedBuffer);
    tied << L"prompt";
    RecordingBuffer buffer;
    std::wostream out(&buffer);
    out.tie(&tied);
    klib::IllegalStateException(L"no peer").print(out);
    EXPECT_EQ(tiedBuffer.flushed, std::vector<std::wstring>{L"prompt"});
    EXPECT_EQ(buffer.flushed, std::vector<std::wstring>{L"class klib::IllegalStateException: no peer\n"});
    // A failed lookup leaves the first part unflushed.
    RecordingBuffer cut;
    std::wostream cutOut(&cut);
    EXPECT_THROW(klib::Exception(L"odd", UNKNOWN_CODE).print(cutOut), klib::Exception);
    EXPECT_TRUE(cut.flushed.empty());
}

// The box gives the type and the message on lines of their own and adds any code but -1, signed; print
// writes one line with the code unsigned. Both add the code's system text where there is one.
TEST(ExceptionTexts, TheBoxHasALineEachAndPrintOneLineAndAFailedLookupIsLeftOutOrThrown) {
    const klib::IllegalStateException noPeer(L"no peer");
    const klib::RegException mismatch(L"size mismatch: 2", 0);
    const klib::Exception failed(L"failed", static_cast<int>(0x80004005u));
    const klib::IndexOutOfBoundsException index(L"index", 0, 1, 1);
    const struct { const klib::Exception* e; std::wstring box, line; } texts[] = {
        {&noPeer, L"class klib::IllegalStateException\nno peer", L"class klib::IllegalStateException: no peer\n"},
        {&mismatch, L"class klib::RegException\nsize mismatch: 2\nError code: 0 (" + systemText(0) + L")",
         L"class klib::RegException: size mismatch: 2: 0 (" + systemText(0) + L")\n"},
        {&failed, L"class klib::Exception\nfailed\nError code: -2147467259 (" + systemText(0x80004005u) + L")",
         L"class klib::Exception: failed: 2147500037 (" + systemText(0x80004005u) + L")\n"},
        {&index, L"class klib::IndexOutOfBoundsException\nindex: 1 (must be 0<=index<1)",
         L"class klib::IndexOutOfBoundsException: index: 1 (must be 0<=index<1)\n"}};
    for (const auto& t : texts) {
        EXPECT_EQ(t.e->messageBoxText(), t.box);
        std::wostringstream out;
        EXPECT_EQ(&t.e->print(out), &out);
        EXPECT_EQ(out.str(), t.line);
    }
    // Without a system text the box leaves the parenthesis out and reports the lost lookup once; print
    // throws the lookup's failure, with only the first part written.
    const testing_support::DebugOutputCapture debugOutput;
    EXPECT_EQ(klib::Exception(L"odd", UNKNOWN_CODE).messageBoxText(), L"class klib::Exception\nodd\nError code: 305419896");
    EXPECT_EQ(debugOutput.lines(), std::vector<std::wstring>{
        L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n"});
    std::wostringstream out;
    expectThrows<klib::Exception>([&] { klib::Exception(L"odd", UNKNOWN_CODE).print(out); },
                                  L"class klib::Exception: ::FormatMessage() failed: 317");
    EXPECT_EQ(out.str(), L"class klib::Exception: odd");
    // A stream that has failed gets nothing, as with the stream's own inserters.
    std::wostringstream failedStream;
    failedStream.setstate(std::ios_base::failbit);
    noPeer.print(failedStream);
    EXPECT_EQ(failedStream.str(), L"");
}

// The lookup's failure is print's case above.
TEST(SystemMessageText, IsAppendedToTheTextThere) {
    std::wstring out = L"prefix ";
    klib::formatMessage(ERROR_ACCESS_DENIED, out);
    EXPECT_EQ(out, L"prefix " + systemText(ERROR_ACCESS_DENIED));
}

TEST(ArgumentChecks, AcceptValidArgumentsAndNameWhatTheyReject) {
    EXPECT_NO_THROW(klib::checkIndex(L"index", 0, 3, 2));
    EXPECT_NO_THROW(klib::checkIndex(L"index", -5, -4, -5));
    EXPECT_NO_THROW(klib::checkNotNull(L"layout", &UNKNOWN_CODE));
    expectThrows<klib::NullPointerException>([] { klib::checkNotNull(L"child", nullptr); },
                                             L"class klib::NullPointerException: child");
    const struct { int low, high, value; const wchar_t* text; } rejected[] = {
        {0, 3, 3, L"index: 3 (must be 0<=index<3)"}, {0, 0, 0, L"index: 0 (must be 0<=index<0)"},
        {0, 3, -1, L"index: -1 (must be 0<=index<3)"}, {-2, 5, INT_MIN, L"index: -2147483648 (must be -2<=index<5)"}};
    for (const auto& c : rejected) {
        // Caught as the base class, the exception still names its own.
        expectThrows<klib::Exception>([&] { klib::checkIndex(L"index", c.low, c.high, c.value); },
                                      std::wstring(L"class klib::IndexOutOfBoundsException: ") + c.text);
    }
}

}  // namespace
