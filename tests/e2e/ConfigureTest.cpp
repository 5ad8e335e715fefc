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
using e2e::TITLE;

// The tests run under an English locale, but for the language test.
const wchar_t* const CANCEL = L"Cancel";

// Types into a field: clicks it, clears it and types the text.
void typeInto(HWND field, const std::string& text) {
    e2e::click(field);
    ASSERT_TRUE(e2e::pumpUntil([&] { return e2e::focusOf(field) == field; }, e2e::PROMPTLY_MS))
        << "the clicked field has no focus";
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
        dialog = e2e::waitForWindow(dialogProcess->id(), e2e::STARTUP_MS);
        ASSERT_EQ(e2e::textOf(dialog), TITLE);
        for (HWND child : e2e::descendants(dialog)) {
            const std::wstring cls = e2e::classOf(child), text = e2e::textOf(child);
            const RECT r = e2e::rectOf(child);
            if (cls == L"Edit") edits.push_back(child);
            if (cls == L"ComboBox") pictureList = child;
            if (cls == L"Button") buttons[text] = child;
            if (cls == L"Static" && r.right - r.left == 128 && r.bottom - r.top == 96) preview = child;
            if (cls != L"Edit" && !text.empty()) texts.insert(text);
        }
        // The interval field comes first, above the size field.
        std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) { return e2e::rectOf(a).top < e2e::rectOf(b).top; });
        ASSERT_EQ(edits.size(), 2u);
        ASSERT_NE(preview, nullptr) << "no 128 x 96 preview";
        ASSERT_EQ(buttons.size(), 3u);
        ASSERT_NE(pictureList, nullptr) << "no picture list";
        ASSERT_TRUE(e2e::waitUntilReadyForKeys(dialog)) << "the dialog is not in front with a focused control";
    }

    HWND intervalField() const { return edits[0]; }

    // Opens the picture list with a click and picks the entry below the shown one with Down and Enter,
    // which the open list keeps for itself.
    void pickNextPicture() {
        e2e::click(pictureList);
        ASSERT_TRUE(e2e::pumpUntil([&] { return SendMessageW(pictureList, CB_GETDROPPEDSTATE, 0, 0) != 0; },
                                   e2e::PROMPTLY_MS))
            << "the picture list did not open";
        const LRESULT before = SendMessageW(pictureList, CB_GETCURSEL, 0, 0);
        e2e::xdotool("key Down Return");
        ASSERT_TRUE(e2e::pumpUntil(
            [&] {
                return SendMessageW(pictureList, CB_GETDROPPEDSTATE, 0, 0) == 0 &&
                       SendMessageW(pictureList, CB_GETCURSEL, 0, 0) == before + 1;
            },
            e2e::PROMPTLY_MS))
            << "the list did not close on the next entry";
        ASSERT_TRUE(IsWindow(dialog)) << "Enter in the open list closed the dialog";
    }
    HWND sizeField() const { return edits[1]; }

    // Opens the system colour chooser, types red, green and blue (as many as given) and closes it.
    void chooseColour(std::initializer_list<const wchar_t*> rgb, int closeWith) {
        e2e::click(buttons[L"Choose..."]);
        HWND chooser = nullptr;
        ASSERT_TRUE(e2e::pumpUntil(
            [&] {
                for (HWND w : e2e::windowsOf(dialogProcess->id()))
                    if (w != dialog && e2e::classOf(w) == L"#32770") chooser = w;
                return chooser != nullptr && GetForegroundWindow() == chooser;  // placed and ready for input
            },
            e2e::STARTUP_MS))
            << "no colour chooser in the foreground";
        int field = 706;  // the chooser's red, green and blue fields
        for (const wchar_t* value : rgb) SetDlgItemTextW(chooser, field++, value);
        e2e::click(GetDlgItem(chooser, closeWith));
        ASSERT_TRUE(e2e::pumpUntil([&] { return !IsWindow(chooser); }, e2e::PROMPTLY_MS));
        // Keys must reach the dialog again: in front, with the focus in it (not always on a control).
        ASSERT_TRUE(e2e::waitUntilReadyForKeys(dialog, false)) << "keys would not reach the dialog";
    }

    // The stored interval, size, colour and picture (-1: none).
    void expectStored(const std::vector<long long>& values) const {
        EXPECT_EQ((std::vector<long long>{settings.get(L"interval"), settings.get(L"size"), settings.get(L"color"),
                                          settings.get(L"picture")}),
                  values);
    }
    void expectClosesWithZero() {
        ASSERT_TRUE(dialogProcess->waitExit(e2e::PROMPTLY_MS)) << "the dialog did not close";
        EXPECT_EQ(dialogProcess->exitCode(), 0u);
    }

    e2e::StoredSettings settings;
    std::unique_ptr<Process> dialogProcess;
    HWND dialog = nullptr;
    HWND preview = nullptr;
    HWND pictureList = nullptr;
    HWND host = nullptr;
    std::vector<HWND> edits;
    std::map<std::wstring, HWND> buttons;
    std::set<std::wstring> texts;  // of the labels and buttons
};

// Cancelling the colour chooser keeps the colour, and OK with values unchanged writes all four.
TEST_F(ConfigureTest, WithoutOwnerItIsCentredOnTheWorkAreaShowsTheStoredValuesAndOkWritesAllFour) {
    settings.set(L"interval", 250);
    settings.set(L"size", 7);
    open(L"");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = e2e::rectOf(dialog);
    EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(e2e::textOf(intervalField()), L"250");
    EXPECT_EQ(e2e::textOf(sizeField()), L"7");
    chooseColour({}, IDCANCEL);
    e2e::xdotool("key Return");
    expectClosesWithZero();
    expectStored({250, 7, e2e::DEFAULT_COLOUR, 0});
}

struct Language {
    const char* name;
    const char* locale;
    std::set<std::wstring> texts;
};

class ConfigureLanguageTest : public ConfigureTest, public ::testing::WithParamInterface<Language> {};

TEST_P(ConfigureLanguageTest, ShowsTheTextsOfTheLocalesLanguage) {
    open(L"/c", GetParam().locale);
    EXPECT_EQ(texts, GetParam().texts);
    e2e::xdotool("key Escape");
    expectClosesWithZero();
}

INSTANTIATE_TEST_SUITE_P(
    Locales, ConfigureLanguageTest,
    ::testing::Values(Language{"English", "en_US.UTF-8",
                               {L"Interval [ms]", L"Size", L"Color", L"Picture", L"The screen", L"Preview", L"OK", L"Cancel",
                                L"Choose..."}},
                      Language{"Japanese", "ja_JP.UTF-8",
                               {L"\u9593\u9694[ms]", L"\u30B5\u30A4\u30BA", L"\u8272", L"\u753B\u50CF",
                                L"\u753B\u9762",
                                L"\u30D7\u30EC\u30D3\u30E5\u30FC", L"OK", L"\u30AD\u30E3\u30F3\u30BB\u30EB",
                                L"\u9078\u629E"}}),
    [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.name); });

TEST_F(ConfigureTest, IsOwnedByTheHostsFrameWhichItDisablesUntilItCloses) {
    host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 50, 60, 500, 400, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    HWND inner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, host, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    open(L"/c:" + std::to_wstring(reinterpret_cast<INT_PTR>(inner)));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);
    const RECT r = e2e::rectOf(dialog);
    EXPECT_NEAR((r.left + r.right) / 2, 50 + 250, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, 60 + 200, 1);
    EXPECT_FALSE(IsWindowEnabled(host));
    e2e::click(buttons[CANCEL]);
    expectClosesWithZero();
    EXPECT_TRUE(IsWindowEnabled(host));
}


// After a new size and a colour chosen, Escape, the close box and Cancel close the dialog and store
// nothing.
class ConfigureClosingTest : public ConfigureTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ConfigureClosingTest, ClosesWithoutWriting) {
    open(L"/c");
    typeInto(sizeField(), "9");
    pickNextPicture();
    chooseColour({L"255", L"0", L"0"}, IDOK);
    const std::string way = GetParam();
    if (way == "Escape") e2e::xdotool("key Escape");
    if (way == "CloseBox") PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (way == "Cancel") e2e::click(buttons[CANCEL]);
    expectClosesWithZero();
    expectStored({-1, -1, -1, -1});
}

INSTANTIATE_TEST_SUITE_P(Ways, ConfigureClosingTest, ::testing::Values("Escape", "CloseBox", "Cancel"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST_F(ConfigureTest, TypedValuesAreClampedAndStoredOnOkWithThePicturePickedFromTheStoredOne) {
    settings.set(L"picture", 1);
    open(L"/c");
    typeInto(intervalField(), "2000");
    typeInto(sizeField(), "0");
    EXPECT_EQ(e2e::textOf(pictureList), L"The wallpaper");
    pickNextPicture();
    EXPECT_EQ(e2e::textOf(pictureList), L"Generated");
    e2e::click(buttons[L"OK"]);
    expectClosesWithZero();
    expectStored({1000, 1, e2e::DEFAULT_COLOUR, 2});
}

// The preview animates in the stored colour; a chosen colour paints new cells and is stored on OK.
TEST_F(ConfigureTest, ThePreviewAnimatesAndAChosenColourPaintsNewCellsAndIsStoredOnOk) {
    settings.set(L"interval", 20);
    open(L"/c");
    const e2e::Capture first = e2e::captureScreen(e2e::rectOf(preview));
    for (std::uint32_t p : first.pixels) ASSERT_TRUE(p == 0 || p == e2e::rgbOf(e2e::DEFAULT_COLOUR)) << std::hex << p;
    EXPECT_TRUE(e2e::pumpUntil([&] { return e2e::captureScreen(e2e::rectOf(preview)).pixels != first.pixels; }, 3000));
    chooseColour({L"0", L"255", L"0"}, IDOK);
    EXPECT_TRUE(e2e::pumpUntil(
        [&] {
            const e2e::Capture c = e2e::captureScreen(e2e::rectOf(preview));
            return std::count(c.pixels.begin(), c.pixels.end(), 0x00FF00u) > 0;
        },
        e2e::PROMPTLY_MS))
        << "no cell in the chosen colour";
    e2e::click(buttons[L"OK"]);
    expectClosesWithZero();
    expectStored({20, 2, 0x00FF00, 0});
}

TEST_F(ConfigureTest, AFailedSaveIsShownAndTheDialogStillCloses) {
    settings.makeUnwritable();
    open(L"/c");
    e2e::xdotool("key Return");
    HWND box = nullptr;
    const std::wstring text = e2e::waitForMessageBox(dialogProcess->id(), &box);
    EXPECT_EQ(text.rfind(L"class klib::RegException\n::RegCreateKeyEx(Software\\Kuroko\\Orlivex) failed\nError code: ", 0),
              0u)
        << text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    expectClosesWithZero();
}

}  // namespace
