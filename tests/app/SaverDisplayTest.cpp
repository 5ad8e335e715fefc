// The Life renderer in the saver window while the console display goes off and on: the saver
// hears of it through WM_POWERBROADCAST, delivered here as the system would deliver it.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/Orlivex.h"
#include "screensaver/SaverWindow.h"

namespace {

std::vector<bool> boardOf(const Orlivex& renderer) {
    std::vector<bool> cells;
    for (int row = 0; row < renderer.getRows(); ++row)
        for (int column = 0; column < renderer.getColumns(); ++column) cells.push_back(renderer.isAlive(column, row));
    return cells;
}

// Dispatches this thread's messages (timer ticks among them) until condition holds or ms pass.
template <typename Condition>
bool pumpUntil(Condition condition, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void sendDisplayState(HWND window, DWORD state) {
    POWERBROADCAST_SETTING message{GUID_CONSOLE_DISPLAY_STATE, sizeof(DWORD), {}};
    CopyMemory(message.Data, &state, sizeof(state));
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&message));
}

TEST(SaverDisplayStateTest, NoGenerationIsComputedWhileTheDisplayIsOffAndTheBoardGoesOnAfterwards) {
    Orlivex renderer;
    renderer.setInterval(10);
    renderer.setCellSize(10);
    {
        screensaver::SaverWindow saver;
        saver.setRenderer(&renderer);
        saver.setVisible(true);
        ASSERT_TRUE(renderer.isTicking());

        sendDisplayState(saver.getHandle(), 0);
        const std::vector<bool> asLeft = boardOf(renderer);
        EXPECT_FALSE(pumpUntil([&] { return boardOf(renderer) != asLeft; }, 400)) << "a generation while off";
        EXPECT_FALSE(renderer.isTicking());

        sendDisplayState(saver.getHandle(), 1);
        EXPECT_TRUE(pumpUntil([&] { return boardOf(renderer) != asLeft; }, 2000)) << "no generation after on";
        saver.endSaving();
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    ShowCursor(TRUE);
}

}  // namespace
