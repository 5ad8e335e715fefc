// The Life renderer in the saver window while the display goes off and on (the saver hears of it
// through WM_POWERBROADCAST, delivered here as the system would deliver it), and when a part of the
// window is uncovered.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "tests/support/Canvas.h"
#include "tests/support/LifeGrid.h"
#include "tests/support/Pump.h"
#include "app/Orlivex.h"
#include "screensaver/SaverWindow.h"

namespace {

using testing_support::pumpUntil;

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
            const testing_support::Grid board = testing_support::snapshot(renderer);
            EXPECT_EQ(pumpUntil([&] { return testing_support::snapshot(renderer) != board; }, step.runs ? 2000 : 300),
                      step.runs)
                << "state " << step.state;
        }
        saver.endSaving();
    }
}

// The system invalidates the part of the window that another one uncovers; that part alone is painted,
// from the current generation's picture at the same place.
TEST(SaverRepaintTest, AnUncoveredPartShowsTheBoardAsItIsNowWhereItLies) {
    Orlivex renderer;
    renderer.setInterval(1000);
    renderer.setCellSize(5);
    {
        screensaver::SaverWindow saver;
        saver.setRenderer(&renderer);
        saver.setVisible(true);
        renderer.suspend();  // no generation from here on
        const HWND window = saver.getHandle();
        // Shown and painted, with nothing more on its way.
        ASSERT_TRUE(pumpUntil(
            [&] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0 && !GetUpdateRect(window, nullptr, FALSE); }, 2000));
        const int width = saver.getWidth();
        const int height = saver.getHeight();
        // What covered the window, and cells that changed meanwhile in a pattern that shows a
        // misplaced copy.
        const HDC dc = GetDC(window);
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(window, dc);
        const RECT part{100, 60, 300, 160};
        for (int row = part.top / 5; row < part.bottom / 5; ++row)
            for (int column = part.left / 5; column < part.right / 5; ++column)
                renderer.setAlive(column, row, (column * 7 + row * 3) % 5 == 0);
        InvalidateRect(window, &part, FALSE);
        UpdateWindow(window);

        testing_support::Canvas shown(width, height, RGB(0, 0, 0));
        shown.copyFrom(window);
        // The board as the renderer paints it now, inside the part; the cover outside it.
        const testing_support::Canvas board(width, height, RGB(0, 0, 0));
        renderer.paint(board.getDC());
        testing_support::Canvas expected(width, height, RGB(255, 255, 255));
        BitBlt(expected.getDC(), part.left, part.top, part.right - part.left, part.bottom - part.top, board.getDC(),
               part.left, part.top, SRCCOPY);
        EXPECT_EQ(0, shown.differences(expected));
        saver.endSaving();
    }
}

}  // namespace
