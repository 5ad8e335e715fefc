// Button: caption from the string table, click notification to action listeners, preferred size.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "WidgetTestSupport.h"
#include "awt/Button.h"
#include "awt/Toolkit.h"

namespace {

using widget_test::Log;
using widget_test::Recorder;

constexpr UINT CAPTION_ID = 0x4210;  // in string block CAPTION_ID / 16 + 1

// A copy of this program with one string (CAPTION_ID) in its string table, serving as the toolkit's module
// while a button is constructed.
class StringTableModule {
public:
    explicit StringTableModule(const std::wstring& caption) {
        wchar_t self[MAX_PATH];
        wchar_t directory[MAX_PATH];
        if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0 || GetTempPathW(MAX_PATH, directory) == 0) {
            return;
        }
        path_ = std::wstring(directory) + L"orlivex-button-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
        if (!CopyFileW(self, path_.c_str(), FALSE)) {
            return;
        }
        std::vector<WORD> block(16, 0);
        block.insert(block.begin() + CAPTION_ID % 16 + 1, caption.begin(), caption.end());
        block[CAPTION_ID % 16] = static_cast<WORD>(caption.size());
        HANDLE update = BeginUpdateResourceW(path_.c_str(), FALSE);
        if (update == nullptr) {
            return;
        }
        UpdateResourceW(update, RT_STRING, MAKEINTRESOURCEW(CAPTION_ID / 16 + 1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                        block.data(), static_cast<DWORD>(block.size() * sizeof(WORD)));
        if (EndUpdateResourceW(update, FALSE)) {
            module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        }
    }
    StringTableModule(const StringTableModule&) = delete;
    StringTableModule& operator=(const StringTableModule&) = delete;
    ~StringTableModule() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
        DeleteFileW(path_.c_str());
    }

    // Constructs a button from CAPTION_ID with this module as the toolkit's, then restores the module.
    awt::Button* newButton() const {
        const HINSTANCE original = awt::Toolkit::getInstanceHandle();
        awt::Toolkit::initialize(module_, SW_SHOW);
        awt::Button* const button = new awt::Button(static_cast<int>(CAPTION_ID));  // owned by the caller
        awt::Toolkit::initialize(original, SW_SHOW);
        return button;
    }

    bool loaded() const noexcept { return module_ != nullptr; }

private:
    std::wstring path_;
    HMODULE module_ = nullptr;
};

class ButtonWindow : public widget_test::WidgetWindow {
protected:
    Recorder first{log, L"first"};
    Recorder second{log, L"second", true};
    Recorder third{log, L"third"};
};

TEST_F(ButtonWindow, CaptionComesFromTheStringTable) {
    const StringTableModule strings(L"Apply now");
    ASSERT_TRUE(strings.loaded());
    awt::Button* const button = show(strings.newButton());
    EXPECT_EQ(L"Apply now", button->getText());
    EXPECT_EQ(L"Apply now", widget_test::windowText(button->getHandle()));
}

TEST_F(ButtonWindow, MissingStringGivesAnEmptyCaption) {
    awt::Button* const button = show(new awt::Button(54321));
    EXPECT_EQ(L"", widget_test::windowText(button->getHandle()));
}

TEST_F(ButtonWindow, ClickReachesEveryActionListenerNewestFirstEvenWhenOneConsumes) {
    awt::Button* const button = show(new awt::Button(1));
    button->addActionListener(&first);
    button->addActionListener(&second);
    button->addActionListener(&third);

    SendMessageW(button->getHandle(), BM_CLICK, 0, 0);
    awt::Toolkit::rethrowParked();

    EXPECT_EQ((Log{L"third:action", L"second:action", L"first:action"}), log);
}

TEST_F(ButtonWindow, OtherNotificationsFireNothingAndGoOnToTheDefault) {
    awt::Button* const button = show(new awt::Button(1));
    button->addActionListener(&first);
    bool handled = false;

    EXPECT_EQ(0, button->handleCommand(BN_SETFOCUS, MAKEWPARAM(0, BN_SETFOCUS), &handled));
    EXPECT_FALSE(handled);
    SendMessageW(window.getHandle(), WM_COMMAND, MAKEWPARAM(0, BN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(button->getHandle()));

    EXPECT_TRUE(log.empty());
}

TEST_F(ButtonWindow, ClickNotificationIsAnsweredByTheButton) {
    awt::Button* const button = show(new awt::Button(1));
    bool handled = false;
    EXPECT_EQ(0, button->handleCommand(BN_CLICKED, MAKEWPARAM(0, BN_CLICKED), &handled));
    EXPECT_TRUE(handled);
}

TEST_F(ButtonWindow, PreferredSizeIsTheCaptionWithEdgesAndAverageCharacterMargins) {
    const StringTableModule strings(L"Choose...");
    ASSERT_TRUE(strings.loaded());
    awt::Button* const button = show(strings.newButton());
    SendMessageW(button->getHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(largeFont.get()), FALSE);
    SIZE extent{};
    TEXTMETRICW metrics{};
    widget_test::measureWithControlFont(button->getHandle(), L"Choose...", &extent, &metrics);

    const awt::Dimension size = button->getPreferredSize();

    EXPECT_EQ(extent.cx + 2 * (GetSystemMetrics(SM_CXEDGE) + metrics.tmAveCharWidth) + 4, size.width);
    EXPECT_EQ(extent.cy + 2 * (GetSystemMetrics(SM_CYEDGE) + metrics.tmExternalLeading) + 4, size.height);
    EXPECT_GT(metrics.tmHeight, 20);  // really the large font
}

TEST(ButtonWithoutWindow, MeasuresWithTheDefaultGuiFontEveryControlIsGiven) {
    const StringTableModule strings(L"OK");
    ASSERT_TRUE(strings.loaded());
    std::unique_ptr<awt::Button> button(strings.newButton());
    SIZE extent{};
    TEXTMETRICW metrics{};
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(screen, L"OK", 2, &extent);
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);

    const awt::Dimension size = button->getPreferredSize();

    EXPECT_EQ(extent.cx + 2 * (GetSystemMetrics(SM_CXEDGE) + metrics.tmAveCharWidth) + 4, size.width);
    EXPECT_EQ(extent.cy + 2 * (GetSystemMetrics(SM_CYEDGE) + metrics.tmExternalLeading) + 4, size.height);
    EXPECT_EQ(nullptr, button->getHandle());
}

}  // namespace
