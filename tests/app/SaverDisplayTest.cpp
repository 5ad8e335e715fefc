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

void sendDisplayState(HWND window, DWORD state, const GUID& setting = GUID_CONSOLE_DISPLAY_STATE) {
    POWERBROADCAST_SETTING message{setting, sizeof(DWORD), {}};
    CopyMemory(message.Data, &state, sizeof(state));
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&message));
}

// Off stops the generations and keeps the board; on or dimmed (still visible) goes on from it. A
// repeated state changes nothing, nor does a message about another power setting. Windows 7 tells
// only whether the monitor has power.
TEST(SaverDisplayStateTest, NoGenerationIsComputedWhileTheDisplayIsOff) {
    Orlivex renderer;
    renderer.setInterval(10);
    renderer.setCellSize(10);
    {
        screensaver::SaverWindow saver;
        saver.setRenderer(&renderer);
        saver.setVisible(true);
        const struct { DWORD state; const GUID* setting; bool runs; } steps[] = {
            {0, &GUID_CONSOLE_DISPLAY_STATE, false}, {0, &GUID_CONSOLE_DISPLAY_STATE, false},
            {1, &GUID_ACDC_POWER_SOURCE, false},     {2, &GUID_CONSOLE_DISPLAY_STATE, true},
            {0, &GUID_CONSOLE_DISPLAY_STATE, false}, {1, &GUID_CONSOLE_DISPLAY_STATE, true},
            {0, &GUID_MONITOR_POWER_ON, false},      {1, &GUID_MONITOR_POWER_ON, true}};
        for (const auto& step : steps) {
            sendDisplayState(saver.getHandle(), step.state, *step.setting);
            const std::vector<bool> board = boardOf(renderer);
            EXPECT_EQ(pumpUntil([&] { return boardOf(renderer) != board; }, step.runs ? 2000 : 300), step.runs)
                << "state " << step.state;
        }
        saver.endSaving();
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

}  // namespace
