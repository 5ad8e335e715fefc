// Choice: items and selection on both sides of the control, item events for the user's choices only,
// a field as high as its font with a list dropped below it, and Enter and Escape kept by an open list.
// The heights and the open list's keys, where the two controls differ, are checked with the system's
// default controls and with Common Controls 6 from the program's manifest, which the test program
// itself is built without.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Choice.h"
#include "awt/Listeners.h"
#include "awt/Window.h"

namespace {

using ui_test::Log;
using ui_test::press;
using ui_test::pumpUntil;

// The program's manifest as an activation context, active on this thread while the holder lives.
class CommonControls6 {
public:
    CommonControls6() {
        ACTCTXW description{};
        description.cbSize = sizeof description;
        description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.hModule = GetModuleHandleW(nullptr);
        description.lpResourceName = MAKEINTRESOURCEW(2);
        context = CreateActCtxW(&description);
        if (context != INVALID_HANDLE_VALUE && !ActivateActCtx(context, &cookie)) cookie = 0;
    }
    CommonControls6(const CommonControls6&) = delete;
    CommonControls6& operator=(const CommonControls6&) = delete;
    ~CommonControls6() {
        if (cookie != 0) DeactivateActCtx(0, cookie);
        if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
    }
    bool active() const noexcept { return cookie != 0; }

private:
    HANDLE context = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie = 0;
};

class ChoiceWindow : public ui_test::WidgetWindow {
protected:
    // With Common Controls 6 from the manifest when newer.
    void useControls(bool newer) {
        if (!newer) return;
        controls6 = std::make_unique<CommonControls6>();
        ASSERT_TRUE(controls6->active()) << "no activation context from the manifest: " << GetLastError();
    }
    void TearDown() override { controls6.reset(); }

    // A choice of three items in the window, focused, with the item log listening.
    awt::Choice* showChoice(int height = 200) {
        choice = new awt::Choice();  // owned by the window
        for (const wchar_t* item : {L"The screen", L"The wallpaper", L"Generated"}) choice->add(item);
        choice->addItemListener(&items);
        show(choice, 160, height);  // a height the field does not take
        if (controls6) {
            // The case is only worth running if the control really is the newer one.
            const HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
            EXPECT_NE(nullptr, comctl) << "Common Controls 6 was not loaded";
            HMODULE owner = nullptr;
            GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCWSTR>(GetClassLongPtrW(handle(), GCLP_WNDPROC)), &owner);
            EXPECT_EQ(comctl, owner) << "the control is not the one of Common Controls 6";
        }
        return choice;
    }
    HWND handle() const { return choice->getHandle(); }
    RECT droppedList() const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        RECT list{};
        if (GetComboBoxInfo(handle(), &info)) GetWindowRect(info.hwndList, &list);
        return list;
    }
    bool dropDown() {
        SendMessageW(handle(), CB_SHOWDROPDOWN, TRUE, 0);
        awt::Toolkit::rethrowParked();
        return pumpUntil([this] { return choice->isDropped(); });
    }

    std::unique_ptr<CommonControls6> controls6;
    awt::Choice* choice = nullptr;
    ui_test::LoggingListener items{log, L"items"};
    ui_test::LoggingListener enter{log, L"enter", true};
    ui_test::LoggingListener escape{log, L"escape", true};
};

TEST_F(ChoiceWindow, KeepsItsItemsAndSelectionAcrossControlsAndRefusesAnIndexOutside) {
    awt::Choice choiceWithoutControl;
    EXPECT_EQ(-1, choiceWithoutControl.getSelectedIndex());
    showChoice();
    EXPECT_EQ(0, choice->getSelectedIndex()) << "the first item is selected";
    EXPECT_NE(0, GetWindowLongPtrW(handle(), GWL_STYLE) & WS_TABSTOP) << "Tab would pass it by";
    EXPECT_EQ(3, SendMessageW(handle(), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"The wallpaper", choice->getItem(1));
    choice->select(2);
    EXPECT_EQ(2, SendMessageW(handle(), CB_GETCURSEL, 0, 0));
    SendMessageW(handle(), CB_SETCURSEL, 1, 0);  // as the user leaves it, without a notification
    choice->removeNotify();
    EXPECT_EQ(1, choice->getSelectedIndex());
    choice->addNotify();
    EXPECT_EQ(1, SendMessageW(handle(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(3, SendMessageW(handle(), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"index: 3 (must be 0<=index<3)", testing_support::messageOf<klib::IndexOutOfBoundsException>(
                                                     [this] { choice->select(3); }));
    EXPECT_EQ(L"index: -1 (must be 0<=index<3)", testing_support::messageOf<klib::IndexOutOfBoundsException>(
                                                      [this] { choice->getItem(-1); }));
    EXPECT_EQ(1, choice->getSelectedIndex());
    EXPECT_TRUE(log.empty()) << "select() fired an item event";
}

class ChoiceControls : public ChoiceWindow, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { useControls(GetParam()); }
};

TEST_P(ChoiceControls, TheFieldIsAsHighAsItsFontWhileTheDroppedListShowsEveryItem) {
    showChoice(12);  // a control keeps what it is given beyond its field for the list: here nothing
    RECT field{};
    GetWindowRect(handle(), &field);
    EXPECT_EQ(field.bottom - field.top, choice->getHeight()) << "the component's height is the field's";
    EXPECT_EQ(choice->getPreferredSize().height, choice->getHeight());
    EXPECT_EQ(160, choice->getWidth());
    EXPECT_LT(choice->getHeight(), 60) << "the field took the layout's height";
    // Wide enough for the widest item and the button beside it.
    SIZE widest{};
    choice->measureText(L"The wallpaper", &widest, nullptr);
    EXPECT_GT(choice->getPreferredSize().width, widest.cx + GetSystemMetrics(SM_CXVSCROLL));

    ASSERT_TRUE(dropDown()) << "the list never opened";
    const RECT list = droppedList();
    const LRESULT itemHeight = SendMessageW(handle(), CB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE(list.bottom - list.top, 3 * itemHeight) << "the list hides items";
    EXPECT_LE(list.bottom - list.top, 3 * itemHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 4) << "the list is oversized";
    EXPECT_GE(list.top, field.bottom - 1) << "the list does not drop below the field";

    // A new font makes a new field height, and the list still shows every item.
    SendMessageW(handle(), CB_SHOWDROPDOWN, FALSE, 0);
    choice->setFont(largeFont.get());
    window.validate();
    GetWindowRect(handle(), &field);
    EXPECT_EQ(field.bottom - field.top, choice->getHeight());
    EXPECT_EQ(field.bottom - field.top, choice->getPreferredSize().height);
    ASSERT_TRUE(dropDown());
    const RECT larger = droppedList();
    EXPECT_GE(larger.bottom - larger.top, 3 * SendMessageW(handle(), CB_GETITEMHEIGHT, 0, 0));
}

TEST_P(ChoiceControls, TheUsersChoiceFiresOneItemEventAndEscapeInTheOpenListPutsTheOldOneBack) {
    window.addKeyAccelerator(awt::KeyStroke{VK_RETURN, 0, false}, &enter);
    window.addKeyAccelerator(awt::KeyStroke{VK_ESCAPE, 0, false}, &escape);
    showChoice();
    press(handle(), VK_DOWN);  // a closed list steps at once
    EXPECT_EQ((Log{L"items:item 1"}), log);
    EXPECT_EQ(1, choice->getSelectedIndex());

    log.clear();
    ASSERT_TRUE(dropDown());
    press(handle(), VK_DOWN);
    press(handle(), VK_RETURN);
    EXPECT_FALSE(choice->isDropped()) << "Enter did not close the list";
    EXPECT_EQ(2, choice->getSelectedIndex());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(L"items:item 2", log.back()) << "the list's Enter reached the window";

    log.clear();
    ASSERT_TRUE(dropDown());
    press(handle(), VK_UP);
    press(handle(), VK_ESCAPE);
    EXPECT_FALSE(choice->isDropped()) << "Escape did not close the list";
    EXPECT_EQ(SendMessageW(handle(), CB_GETCURSEL, 0, 0), choice->getSelectedIndex());
    for (const std::wstring& line : log) EXPECT_EQ(L"items:item", line.substr(0, 10)) << "the list's Escape reached the window";

    // Closed, the window has them again.
    log.clear();
    press(handle(), VK_RETURN);
    press(handle(), VK_ESCAPE);
    EXPECT_EQ((Log{L"enter:keyPressed 13 0", L"escape:keyPressed 27 0"}), log);
}

INSTANTIATE_TEST_SUITE_P(Controls, ChoiceControls, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "CommonControls6" : "SystemDefault";
                         });

}  // namespace
