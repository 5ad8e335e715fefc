#include "tests/support/SaverFixture.h"

#include "awt/Screen.h"
#include "tests/support/E2eWindows.h"

namespace e2e {

namespace {

const wchar_t* const SETTINGS = L"Software\\Kuroko\\Orlivex";
const wchar_t* const MAKER = L"Software\\Kuroko";

// The middle row of the virtual screen, across every monitor.
RECT middleRow() {
    const RECT all = awt::getVirtualScreen();
    return RECT{all.left, all.bottom / 2, all.right, all.bottom / 2 + 1};
}

}  // namespace

StoredSettings::StoredSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, MAKER);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SETTINGS, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr))
        fail("RegCreateKeyExW");
}

StoredSettings::~StoredSettings() {
    if (key_) RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, MAKER);
}

void StoredSettings::makeUnwritable() {
    RegCloseKey(key_);
    key_ = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, MAKER);
    HKEY maker = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, MAKER, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &maker,
                        nullptr))
        fail("RegCreateKeyExW(volatile)");
    RegCloseKey(maker);
}

long long StoredSettings::get(const wchar_t* name) const {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size)) return -1;
    return type == REG_DWORD && size == sizeof value ? value : -2;
}

void SaverFixture::TearDown() {
    saver.reset();
    // Destroyed only after the saver is gone: destroying them under a running saver takes Wine seconds.
    ramps.clear();
}

void SaverFixture::startSaver(COLORREF colour) {
    saver = std::make_unique<Process>(L"/s");
    window = waitForWindow(saver->id(), STARTUP_MS);
    ASSERT_NE(window, nullptr) << "no saver window";
    // Over the ramps the seed is a band of every monitor's middle row: live and dead pixels there,
    // and no other colour, show the first paint (an unpainted window would show black only).
    const RECT middle = middleRow();
    ASSERT_TRUE(pumpUntil(
        [&] {
            const int live = livePixels(middle, colour);
            return live > 0 && live < middle.right - middle.left;
        },
        STARTUP_MS))
        << "the first paint did not replace the picture";
}

bool SaverFixture::waitForGenerations(int count) {
    const RECT middle = middleRow();
    for (int i = 0; i < count; ++i) {
        const std::vector<std::uint32_t> before = captureScreen(middle).pixels;
        if (!pumpUntil([&] { return captureScreen(middle).pixels != before; }, PROMPTLY_MS)) return false;
    }
    return true;
}

void SaverFixture::expectEndsPromptlyWithZero() {
    ASSERT_TRUE(saver->waitExit(PROMPTLY_MS)) << "the saver did not end";
    EXPECT_EQ(saver->exitCode(), 0u);
}

}  // namespace e2e
