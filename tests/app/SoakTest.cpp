// The saver at its busiest (cell size 1) for a fixed number of generations: private memory and GDI
// objects stay flat, so a saver left running for hours neither grows nor runs out of handles.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include "app/Orlivex.h"
#include "awt/Events.h"
#include "screensaver/SaverWindow.h"
#include "tests/support/Pump.h"

namespace {

struct Usage {
    SIZE_T privateBytes;
    DWORD gdiObjects;  // counted by Windows; 0 where the platform does not count them (Wine)
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

TEST(Soak, TwoThousandGenerationsAtCellSizeOneKeepMemoryAndGdiObjectsFlat) {
    Orlivex renderer;
    renderer.setInterval(1000);
    renderer.setCellSize(1);
    screensaver::SaverWindow window;
    window.setRenderer(&renderer);
    window.setVisible(true);
    renderer.suspend();  // the generations come from here, each as a timer tick delivers it
    awt::WindowProcedure* const source = &window;
    awt::ActionEvent tick{source, false};
    Usage settled{};
    for (int generation = 0; generation < 2200; ++generation) {
        if (generation == 200) settled = usageNow();
        renderer.actionPerformed(tick);
        ASSERT_TRUE(testing_support::pumpWaiting()) << "the saving ended";
    }
    const Usage last = usageNow();
    window.setVisible(false);
    EXPECT_LT(last.privateBytes, settled.privateBytes + 1024 * 1024) << "private bytes grew";
    if (settled.gdiObjects != 0) {
        EXPECT_LE(last.gdiObjects, settled.gdiObjects + 4);
    } else {
        EXPECT_LE(last.gdiSlot, settled.gdiSlot + 64) << "new GDI objects land ever further out";
    }
}

}  // namespace
