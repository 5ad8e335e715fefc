// A minute of the saver at its busiest (interval 0, cell size 1): private memory and GDI objects stay
// flat, so a saver left running for hours neither grows nor runs out of handles.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include "app/Orlivex.h"
#include "screensaver/SaverWindow.h"

namespace {

struct Usage {
    SIZE_T privateBytes;
    DWORD gdiObjects;  // 0 where the platform does not count them (Wine)
    WORD gdiSlot;      // where a new GDI object lands; Wine reuses freed slots first, so it climbs on a leak
};

Usage usageNow() {
    // The private committed bytes: Windows reports them in both fields, Wine only in PagefileUsage.
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    const HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    const WORD slot = LOWORD(reinterpret_cast<UINT_PTR>(probe));
    DeleteObject(probe);
    return Usage{counters.PagefileUsage, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), slot};
}

TEST(Soak, AMinuteAtIntervalZeroAndCellSizeOneKeepsMemoryAndGdiObjectsFlat) {
    Orlivex renderer;
    renderer.setInterval(0);
    renderer.setCellSize(1);
    screensaver::SaverWindow window;
    window.setRenderer(&renderer);
    window.setVisible(true);
    Usage settled{};
    int ticks = 0;
    const ULONGLONG start = GetTickCount64();
    for (ULONGLONG now = start; now - start < 60000; now = GetTickCount64()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ticks += msg.message == WM_TIMER && msg.hwnd == window.getHandle();
            DispatchMessageW(&msg);
        }
        if (settled.gdiSlot == 0 && now - start >= 5000) settled = usageNow();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    const Usage last = usageNow();
    window.setVisible(false);
    EXPECT_GT(ticks, 1000);
    EXPECT_LT(last.privateBytes, settled.privateBytes + 1024 * 1024) << "private bytes grew";
    EXPECT_LE(last.gdiObjects, settled.gdiObjects + 4);
    EXPECT_LE(last.gdiSlot, settled.gdiSlot + 64) << "new GDI objects land ever further out";
}

}  // namespace
