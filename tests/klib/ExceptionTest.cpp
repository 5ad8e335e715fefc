#include "klib/Exception.h"
#include "klib/Strings.h"
#include "tests/klib/DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <sstream>
#include <thread>

namespace {

// Unknown to the system message table.
constexpr int UNKNOWN_CODE = 0x12345678;
const wchar_t* const FORMAT_FAILURE_DEBUG_LINE =
    L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n";

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

TEST(ExceptionToString, NamesTheDynamicClassAndTheMessage) {
    const klib::IllegalArgumentException e(L"cols: -1");
    EXPECT_EQ(e.toString(), L"class klib::IllegalArgumentException: cols: -1");
}

TEST(ExceptionToString, AppendsACodeOtherThanMinusOne) {
    EXPECT_EQ(klib::Exception(L"::GlobalFree() failed", 5).toString(), L"class klib::Exception: ::GlobalFree() failed: 5");
    EXPECT_EQ(klib::RegException(L"type missmatch: 1", 0).toString(), L"class klib::RegException: type missmatch: 1: 0");
}

TEST(ExceptionToString, UsesTheClassOfTheThrownObjectWhenCaughtAsBase) {
    try {
        klib::parseInt(L"2147483648");
        FAIL() << "parseInt accepted an overflowing value";
    } catch (const klib::Exception& e) {
        EXPECT_EQ(e.toString(), L"class klib::NumberFormatException: 2147483648 (overflow)");
    }
}

TEST(ExceptionToString, NamesNestedSubclasses) {
    EXPECT_EQ(klib::IllegalThreadStateException(L"unmanaged thread").toString(),
              L"class klib::IllegalThreadStateException: unmanaged thread");
}

TEST(ExceptionCopy, KeepsMessageCodeAndClass) {
    const klib::RegException original(L"::RegOpenKeyEx(Software\\x) failed", 2);
    const klib::RegException copy(original);
    EXPECT_EQ(copy.getMessage(), L"::RegOpenKeyEx(Software\\x) failed");
    EXPECT_EQ(copy.getErrorCode(), 2);
    EXPECT_EQ(copy.getTypeName(), L"class klib::RegException");
}

TEST(ExceptionPrint, WritesOneLineWithoutCodePartForMinusOne) {
    std::wostringstream out;
    klib::IllegalStateException(L"no peer").print(out);
    EXPECT_EQ(out.str(), L"class klib::IllegalStateException: no peer\n");
}

TEST(ExceptionPrint, AddsTheCodeAndTheSystemText) {
    const std::wstring text = systemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    std::wostringstream out;
    klib::Exception(L"::RegOpenKeyEx(x) failed", ERROR_FILE_NOT_FOUND).print(out);
    EXPECT_EQ(out.str(), L"class klib::Exception: ::RegOpenKeyEx(x) failed: 2 (" + text + L")\n");
}

TEST(ExceptionPrint, WritesANegativeCodeAsUnsigned) {
    const int accessDenied = static_cast<int>(0x80070005u);
    const std::wstring text = systemText(0x80070005u);
    ASSERT_FALSE(text.empty());
    std::wostringstream out;
    klib::Exception(L"denied", accessDenied).print(out);
    EXPECT_EQ(out.str(), L"class klib::Exception: denied: 2147942405 (" + text + L")\n");
}

TEST(ExceptionPrint, LeavesNoCodePartWhenTheSystemHasNoText) {
    std::wostringstream out;
    try {
        klib::Exception(L"odd", UNKNOWN_CODE).print(out);
        FAIL() << "print swallowed the failed lookup";
    } catch (const klib::Exception& e) {
        EXPECT_EQ(e.getMessage(), L"::FormatMessage() failed");
    }
    EXPECT_EQ(out.str(), L"class klib::Exception: odd");
}

TEST(ExceptionPrint, ReturnsTheStream) {
    std::wostringstream out;
    EXPECT_EQ(&klib::NullPointerException(L"child").print(out), &out);
}

class MessageBoxText : public ::testing::Test {
protected:
    testing_support::DebugOutputCapture debugOutput;
};

TEST_F(MessageBoxText, HasTwoLinesForMinusOne) {
    EXPECT_EQ(klib::IllegalStateException(L"no parent").messageBoxText(), L"class klib::IllegalStateException\nno parent");
    EXPECT_TRUE(debugOutput.lines().empty());
}

TEST_F(MessageBoxText, ShowsCodeZeroWithItsSystemText) {
    const std::wstring text = systemText(0);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(klib::RegException(L"size missmatch: 2", 0).messageBoxText(),
              L"class klib::RegException\nsize missmatch: 2\nError code: 0 (" + text + L")");
}

TEST_F(MessageBoxText, ShowsANegativeCodeSigned) {
    const std::wstring text = systemText(0x80004005u);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(klib::Exception(L"failed", static_cast<int>(0x80004005u)).messageBoxText(),
              L"class klib::Exception\nfailed\nError code: -2147467259 (" + text + L")");
}

TEST_F(MessageBoxText, DropsTheParenthesisAndWritesOneDebugLineForAnUnknownCode) {
    EXPECT_EQ(klib::Exception(L"odd", UNKNOWN_CODE).messageBoxText(),
              L"class klib::Exception\nodd\nError code: 305419896");
    const std::vector<std::wstring> lines = debugOutput.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], FORMAT_FAILURE_DEBUG_LINE);
}

// Finds the box a thread shows, reads its text and presses OK, all from a second thread.
class MessageBoxCloser {
public:
    explicit MessageBoxCloser(const wchar_t* caption) : caption_(caption), thread_([this] { run(); }) {}
    ~MessageBoxCloser() { wait(); }

    // The text the box showed, once the closing thread is done.
    std::wstring text() {
        wait();
        return text_;
    }
    bool found() const { return found_; }

private:
    void wait() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void run() {
        const DWORD deadline = GetTickCount() + 10000;
        HWND box = nullptr;
        while ((box = FindWindowW(L"#32770", caption_)) == nullptr && GetTickCount() < deadline) {
            Sleep(10);
        }
        if (box == nullptr) {
            return;
        }
        wchar_t buffer[1024] = {};
        GetDlgItemTextW(box, 0xFFFF, buffer, 1024);
        text_ = buffer;
        found_ = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }

    const wchar_t* caption_;
    std::wstring text_;
    std::atomic<bool> found_{false};
    std::thread thread_;
};

TEST(ExceptionShowMessageBox, ShowsTheTextAndReturnsTheButtonPressed) {
    const wchar_t* const caption = L"Orlivex klib message box test";
    const klib::Exception e(L"::CreateWindowEx() failed", ERROR_INVALID_WINDOW_HANDLE);
    MessageBoxCloser closer(caption);
    const int result = e.showMessageBox(nullptr, caption, MB_ICONERROR);
    const std::wstring shown = closer.text();
    ASSERT_TRUE(closer.found()) << "no message box appeared";
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shown, e.messageBoxText());
    EXPECT_EQ(shown.rfind(L"class klib::Exception\n::CreateWindowEx() failed\nError code: 1400 (", 0), 0u);
}

TEST(FormatMessage, AppendsTheSystemTextForSuccess) {
    std::wstring out = L"prefix ";
    klib::formatMessage(0, out);
    EXPECT_EQ(out, L"prefix " + systemText(0));
    EXPECT_GT(out.size(), 7u);
}

TEST(FormatMessage, AppendsTheTextUntrimmed) {
    std::wstring out;
    klib::formatMessage(ERROR_ACCESS_DENIED, out);
    EXPECT_EQ(out, systemText(ERROR_ACCESS_DENIED));
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out.substr(out.size() - 2), L"\r\n");
}

TEST(FormatMessage, ThrowsWithTheLastErrorForAnUnknownCode) {
    std::wstring out = L"unchanged";
    try {
        klib::formatMessage(UNKNOWN_CODE, out);
        FAIL() << "formatMessage found a text for an unknown code";
    } catch (const klib::Exception& e) {
        EXPECT_EQ(e.getTypeName(), L"class klib::Exception");
        EXPECT_EQ(e.getMessage(), L"::FormatMessage() failed");
        EXPECT_EQ(e.getErrorCode(), ERROR_MR_MID_NOT_FOUND);
    }
    EXPECT_EQ(out, L"unchanged");
}

TEST(CheckIndex, AcceptsTheLowBoundAndTheLastIndex) {
    EXPECT_NO_THROW(klib::checkIndex(L"index", 0, 3, 0));
    EXPECT_NO_THROW(klib::checkIndex(L"index", 0, 3, 2));
    EXPECT_NO_THROW(klib::checkIndex(L"index", -5, -4, -5));
}

TEST(CheckIndex, RejectsTheHighBoundWithTheRangeInTheMessage) {
    try {
        klib::checkIndex(L"index", 0, 3, 3);
        FAIL();
    } catch (const klib::IndexOutOfBoundsException& e) {
        EXPECT_EQ(e.getMessage(), L"index: 3 (must be 0<=index<3)");
        EXPECT_EQ(e.getErrorCode(), -1);
    }
}

TEST(CheckIndex, RejectsEveryValueOfAnEmptyRange) {
    try {
        klib::checkIndex(L"index", 0, 0, 0);
        FAIL();
    } catch (const klib::IndexOutOfBoundsException& e) {
        EXPECT_EQ(e.getMessage(), L"index: 0 (must be 0<=index<0)");
    }
}

TEST(CheckIndex, RejectsValuesBelowTheLowBound) {
    EXPECT_THROW(klib::checkIndex(L"index", 0, 3, -1), klib::IndexOutOfBoundsException);
    EXPECT_THROW(klib::checkIndex(L"index", 0, 3, INT_MIN), klib::IndexOutOfBoundsException);
}

TEST(IndexOutOfBoundsException, FormatsNegativeNumbers) {
    EXPECT_EQ(klib::IndexOutOfBoundsException(L"row", -2, 5, 7).toString(),
              L"class klib::IndexOutOfBoundsException: row: 7 (must be -2<=row<5)");
}

TEST(CheckNotNull, ThrowsWithTheNameAsMessage) {
    try {
        klib::checkNotNull(L"child", nullptr);
        FAIL();
    } catch (const klib::NullPointerException& e) {
        EXPECT_EQ(e.toString(), L"class klib::NullPointerException: child");
    }
}

TEST(CheckNotNull, AcceptsAnyOtherPointer) {
    const int value = 0;
    EXPECT_NO_THROW(klib::checkNotNull(L"layout", &value));
}

TEST(ReportIgnoredFailure, WritesOneDebugLine) {
    testing_support::DebugOutputCapture debugOutput;
    klib::reportIgnoredFailure(L"lost");
    const std::vector<std::wstring> lines = debugOutput.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"lost"), std::wstring::npos);
    EXPECT_EQ(lines[0].back(), L'\n');
}

}  // namespace
