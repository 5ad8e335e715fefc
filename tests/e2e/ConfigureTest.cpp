// orlivex.scr /c[:handle] and without argument: the configuration dialog as a user meets it, with real
// mouse and key input from xdotool.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/E2e.h"

namespace {

using e2e::Process;

constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD PROMPTLY_MS = 5000;
const wchar_t* const TITLE = L"Orlivex Screen Saver";
// The tests run under an English locale, but for the language test.
const wchar_t* const CANCEL = L"Cancel";
const wchar_t* const CHOOSE = L"Choose...";

std::wstring classOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// The text of a window of another process: asked of the window itself, as GetWindowText does not
// for controls of other processes.
std::wstring textOf(HWND window) {
    wchar_t text[256] = L"";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

RECT rectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::vector<HWND> descendants(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void click(HWND window) {
    const RECT r = rectOf(window);
    e2e::xdotool("mousemove " + std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2) +
                 " click 1");
}

// Types into a field: clicks it, clears it and types the text.
void typeInto(HWND field, const std::string& text) {
    click(field);
    e2e::pumpUntil([] { return false; }, 300);
    e2e::xdotool("key End BackSpace BackSpace BackSpace BackSpace BackSpace type " + text);
}

class ConfigureTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (host) DestroyWindow(host);
    }

    // Starts the dialog and finds its parts.
    void open(const std::wstring& arguments, const char* locale = nullptr) {
        dialogProcess = std::make_unique<Process>(arguments, locale);
        ASSERT_TRUE(e2e::pumpUntil(
            [&] {
                for (HWND w : e2e::windowsOf(dialogProcess->id()))
                    if (textOf(w) == TITLE) dialog = w;
                return dialog != nullptr;
            },
            STARTUP_MS))
            << "no dialog";
        for (HWND child : descendants(dialog)) {
            const std::wstring cls = classOf(child);
            const RECT r = rectOf(child);
            if (cls == L"Edit") edits.push_back(child);
            if (cls == L"Button") buttons[textOf(child)] = child;
            if (cls == L"Static" && r.right - r.left == 128 && r.bottom - r.top == 96) preview = child;
            if (cls == L"Static" && !textOf(child).empty()) labels.insert(textOf(child));
        }
        // The interval field comes first, above the size field.
        std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) { return rectOf(a).top < rectOf(b).top; });
        ASSERT_EQ(edits.size(), 2u);
        ASSERT_NE(preview, nullptr) << "no 128 x 96 preview";
        ASSERT_EQ(buttons.size(), 3u);
        e2e::pumpUntil([&] { return GetForegroundWindow() == dialog; }, 2000);
    }

    HWND intervalField() const { return edits[0]; }
    HWND sizeField() const { return edits[1]; }
    HWND button(const wchar_t* text) { return buttons[text]; }

    void expectClosesWithZero() {
        ASSERT_TRUE(dialogProcess->waitExit(PROMPTLY_MS)) << "the dialog did not close";
        EXPECT_EQ(dialogProcess->exitCode(), 0u);
    }

    e2e::StoredSettings settings;
    std::unique_ptr<Process> dialogProcess;
    HWND dialog = nullptr;
    HWND preview = nullptr;
    HWND host = nullptr;
    std::vector<HWND> edits;
    std::map<std::wstring, HWND> buttons;
    std::set<std::wstring> labels;
};

TEST_F(ConfigureTest, WithoutOwnerItIsCentredOnTheWorkAreaAndShowsTheStoredValues) {
    settings.setDword(L"interval", 250);
    settings.setDword(L"size", 7);
    open(L"");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = rectOf(dialog);
    EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(textOf(intervalField()), L"250");
    EXPECT_EQ(textOf(sizeField()), L"7");
    e2e::xdotool("key Escape");
    expectClosesWithZero();
}

struct Language {
    const char* name;
    const char* locale;
    std::set<std::wstring> labels;
    std::set<std::wstring> buttons;
};

class ConfigureLanguageTest : public ConfigureTest, public ::testing::WithParamInterface<Language> {};

TEST_P(ConfigureLanguageTest, ShowsTheTextsOfTheLocalesLanguage) {
    open(L"/c", GetParam().locale);
    EXPECT_EQ(textOf(dialog), TITLE);
    EXPECT_EQ(labels, GetParam().labels);
    std::set<std::wstring> buttonTexts;
    for (const auto& b : buttons) buttonTexts.insert(b.first);
    EXPECT_EQ(buttonTexts, GetParam().buttons);
    e2e::xdotool("key Escape");
    expectClosesWithZero();
}

INSTANTIATE_TEST_SUITE_P(
    Locales, ConfigureLanguageTest,
    ::testing::Values(Language{"English", "en_US.UTF-8",
                               {L"Interval [ms]", L"Size", L"Color", L"Preview"},
                               {L"OK", L"Cancel", L"Choose..."}},
                      Language{"Japanese", "ja_JP.UTF-8",
                               {L"\u9593\u9694[ms]", L"\u30B5\u30A4\u30BA", L"\u8272", L"\u30D7\u30EC\u30D3\u30E5\u30FC"},
                               {L"OK", L"\u30AD\u30E3\u30F3\u30BB\u30EB", L"\u9078\u629E"}}),
    [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.name); });

TEST_F(ConfigureTest, IsOwnedByTheHostsFrameWhichItDisablesUntilItCloses) {
    host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 50, 60, 500, 400, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    HWND inner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, host, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    open(L"/c:" + std::to_wstring(reinterpret_cast<INT_PTR>(inner)));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);
    const RECT r = rectOf(dialog);
    EXPECT_NEAR((r.left + r.right) / 2, 50 + 250, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, 60 + 200, 1);
    EXPECT_FALSE(IsWindowEnabled(host));
    click(button(CANCEL));
    expectClosesWithZero();
    EXPECT_TRUE(IsWindowEnabled(host));
    EXPECT_FALSE(settings.exists(L"interval")) << "Cancel must store nothing";
}

TEST_F(ConfigureTest, ThePreviewAnimatesInsideTheDialog) {
    settings.setDword(L"interval", 20);
    open(L"/c");
    const RECT r = rectOf(preview);
    const e2e::Capture first = e2e::captureScreen(r.left, r.top, 128, 96);
    EXPECT_TRUE(e2e::pumpUntil([&] { return e2e::captureScreen(r.left, r.top, 128, 96).pixels != first.pixels; },
                               3000));
    for (std::uint32_t p : first.pixels) ASSERT_TRUE(p == 0 || p == e2e::rgbOf(0x804060)) << std::hex << p;
    e2e::xdotool("key Escape");
    expectClosesWithZero();
}

TEST_F(ConfigureTest, TypedValuesAreClampedAndStoredOnOk) {
    open(L"/c");
    typeInto(intervalField(), "2000");
    typeInto(sizeField(), "0");
    click(button(L"OK"));
    expectClosesWithZero();
    EXPECT_EQ(settings.getDword(L"interval"), 1000u);
    EXPECT_EQ(settings.getDword(L"size"), 1u);
    EXPECT_EQ(settings.getDword(L"color"), 0x804060u);
}

TEST_F(ConfigureTest, EscapeAndTheCloseBoxCloseWithoutWriting) {
    for (const bool escape : {true, false}) {
        open(L"/c");
        typeInto(sizeField(), "9");
        if (escape) {
            e2e::xdotool("key Escape");
        } else {
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        expectClosesWithZero();
        EXPECT_FALSE(settings.exists(L"size")) << escape;
        dialog = preview = nullptr;
        edits.clear();
        buttons.clear();
    }
}

// The system colour chooser of the dialog's process.
HWND findChooser(DWORD pid, HWND dialog) {
    HWND chooser = nullptr;
    e2e::pumpUntil(
        [&] {
            for (HWND w : e2e::windowsOf(pid))
                if (w != dialog && classOf(w) == L"#32770") chooser = w;
            return chooser != nullptr;
        },
        STARTUP_MS);
    return chooser;
}

TEST_F(ConfigureTest, CancellingTheColourChooserKeepsTheColourAndOkWithUnchangedValuesWritesAllThree) {
    open(L"/c");
    click(button(CHOOSE));
    HWND chooser = findChooser(dialogProcess->id(), dialog);
    ASSERT_NE(chooser, nullptr) << "no colour chooser";
    click(GetDlgItem(chooser, IDCANCEL));
    ASSERT_TRUE(e2e::pumpUntil([&] { return !IsWindow(chooser); }, PROMPTLY_MS));
    e2e::pumpUntil([&] { return GetForegroundWindow() == dialog; }, 2000);  // Return must reach the dialog
    e2e::xdotool("key Return");
    expectClosesWithZero();
    EXPECT_EQ(settings.getDword(L"interval"), 50u);
    EXPECT_EQ(settings.getDword(L"size"), 2u);
    EXPECT_EQ(settings.getDword(L"color"), 0x804060u);
}

TEST_F(ConfigureTest, AChosenColourPaintsNewCellsAndIsStoredOnOk) {
    settings.setDword(L"interval", 20);
    open(L"/c");
    click(button(CHOOSE));
    HWND chooser = findChooser(dialogProcess->id(), dialog);
    ASSERT_NE(chooser, nullptr) << "no colour chooser";
    // The chooser's red, green and blue fields.
    SetDlgItemTextW(chooser, 706, L"0");
    SetDlgItemTextW(chooser, 707, L"255");
    SetDlgItemTextW(chooser, 708, L"0");
    click(GetDlgItem(chooser, IDOK));
    ASSERT_TRUE(e2e::pumpUntil([&] { return !IsWindow(chooser); }, PROMPTLY_MS));
    const RECT r = rectOf(preview);
    EXPECT_TRUE(e2e::pumpUntil(
        [&] {
            const e2e::Capture c = e2e::captureScreen(r.left, r.top, 128, 96);
            return std::count(c.pixels.begin(), c.pixels.end(), 0x00FF00u) > 0;
        },
        5000))
        << "no cell in the chosen colour";
    click(button(L"OK"));
    expectClosesWithZero();
    EXPECT_EQ(settings.getDword(L"color"), static_cast<DWORD>(RGB(0, 255, 0)));
}

TEST_F(ConfigureTest, CancellingTheDialogAfterChoosingAColourStoresNothing) {
    open(L"/c");
    click(button(CHOOSE));
    HWND chooser = findChooser(dialogProcess->id(), dialog);
    ASSERT_NE(chooser, nullptr);
    SetDlgItemTextW(chooser, 706, L"255");
    click(GetDlgItem(chooser, IDOK));
    ASSERT_TRUE(e2e::pumpUntil([&] { return !IsWindow(chooser); }, PROMPTLY_MS));
    e2e::xdotool("key Escape");
    expectClosesWithZero();
    EXPECT_FALSE(settings.exists(L"color"));
}

TEST_F(ConfigureTest, AFailedSaveIsShownAndTheDialogStillCloses) {
    settings.makeUnwritable();
    open(L"/c");
    e2e::xdotool("key Return");
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(e2e::pumpUntil(
        [&] {
            text = e2e::messageBoxText(dialogProcess->id(), TITLE, &box);
            return !text.empty();
        },
        STARTUP_MS))
        << "no error box";
    EXPECT_EQ(text.rfind(L"class klib::RegException\n::RegCreateKeyEx(Software\\Kuroko\\Orlivex) failed\nError code: ", 0),
              0u)
        << text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    expectClosesWithZero();
}

}  // namespace
