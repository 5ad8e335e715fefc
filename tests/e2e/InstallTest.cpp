// The installer for every user as an administrator deploys it: msiexec installs, upgrades and removes
// orlivex.scr in the system folder, with its entry among the installed programs. The packages are
// this build's, made by the release's script: the current version, and an earlier one whose saver
// carries a few bytes more.
#include <string>
#include <vector>

#include "tests/e2e/E2e.h"  // windows.h, which msi.h needs first
#include "tests/support/ImageFiles.h"

#include <msi.h>
#include "version.h"  // generated from the project's version

namespace {

const std::wstring VERSION = L"" ORLIVEX_VERSION_TEXT;
const std::wstring OLDER = L"" ORLIVEX_E2E_OLDER_VERSION;
const std::wstring URL = L"" ORLIVEX_E2E_URL;
// msiexec under Wine on a busy machine takes a few seconds.
constexpr DWORD INSTALL_MS = 60000;
const wchar_t* const UNINSTALL = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring buildFolder() {
    const std::wstring saver = e2e::saverPath();
    return saver.substr(0, saver.find_last_of(L'\\'));
}

std::wstring package(const std::wstring& version) {
    return buildFolder() + L"\\msi\\orlivex-" + version + L"-win64.msi";
}

std::wstring installedSaver() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length) + L"\\orlivex.scr";
}

// True when both files hold the same bytes (and exist).
bool sameBytes(const std::wstring& a, const std::wstring& b) {
    const std::vector<char> first = testing_support::readBytes(a);
    return !first.empty() && first == testing_support::readBytes(b);
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The exit code of msiexec with these arguments, silent; fails the test when it does not end.
DWORD msiexec(const std::wstring& arguments) {
    e2e::Process program(L"msiexec.exe", arguments + L" /qn");
    if (!program.waitExit(INSTALL_MS)) {
        ADD_FAILURE() << "msiexec " << testing::PrintToString(arguments) << " did not end";
        return ~DWORD{0};
    }
    return program.exitCode();
}
DWORD install(const std::wstring& version) { return msiexec(L"/i \"" + package(version) + L"\""); }
DWORD uninstall(const std::wstring& version) { return msiexec(L"/x \"" + package(version) + L"\""); }

// A string value of key\subkey; empty when there is none.
std::wstring text(HKEY key, const std::wstring& subkey, const wchar_t* name) {
    wchar_t value[1024];
    DWORD size = sizeof value;
    if (RegGetValueW(key, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size))
        return L"";
    return value;
}

DWORD number(HKEY key, const std::wstring& subkey, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(key, subkey.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size))
        return ~DWORD{0};
    return value;
}

// The icon the list of installed programs shows for a product: the installer keeps a copy of it.
std::wstring productIcon(const std::wstring& product) {
    wchar_t path[MAX_PATH];
    DWORD length = MAX_PATH;
    if (MsiGetProductInfoW(product.c_str(), INSTALLPROPERTY_PRODUCTICON, path, &length)) return L"";
    return path;
}

// An entry among the installed programs (in the 64-bit view, as this program is 64-bit).
struct Entry {
    std::wstring key, version, publisher, url, icon;
    DWORD noModify = 0, noRepair = 0;
};

std::vector<Entry> orlivexEntries() {
    std::vector<Entry> entries;
    HKEY list = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UNINSTALL, 0, KEY_READ | KEY_WOW64_64KEY, &list)) return entries;
    wchar_t name[256];
    for (DWORD i = 0, length = 256; RegEnumKeyExW(list, i, name, &length, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, length = 256) {
        if (text(list, name, L"DisplayName") != L"Orlivex") continue;
        entries.push_back({name, text(list, name, L"DisplayVersion"), text(list, name, L"Publisher"),
                           text(list, name, L"URLInfoAbout"), productIcon(name), number(list, name, L"NoModify"),
                           number(list, name, L"NoRepair")});
    }
    RegCloseKey(list);
    return entries;
}

// Each test starts with nothing installed and leaves nothing installed, whatever it did.
class Install : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(exists(package(VERSION))) << "no package of this build";
        ASSERT_TRUE(exists(package(OLDER))) << "no package of the earlier version";
        removeEverything();
        ASSERT_TRUE(orlivexEntries().empty()) << "installed before the test";
        ASSERT_FALSE(exists(installedSaver())) << "installed before the test";
    }
    void TearDown() override {
        removeEverything();
        EXPECT_TRUE(orlivexEntries().empty()) << "still installed after the test";
        EXPECT_FALSE(exists(installedSaver())) << "still installed after the test";
    }

    // This build's saver installed, with one entry of its version.
    static void expectOnlyThisBuild(const char* otherwise) {
        EXPECT_TRUE(sameBytes(installedSaver(), e2e::saverPath())) << otherwise;
        const std::vector<Entry> entries = orlivexEntries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].version, VERSION);
    }
    static void removeEverything() {
        for (const Entry& entry : orlivexEntries()) EXPECT_EQ(msiexec(L"/x " + entry.key), 0u) << "removing " << entry.version;
    }
};

TEST_F(Install, PutsThePackagedSaverInTheSystemFolderWithAnEntryNamingTheVersionAndItRunsFromThere) {
    const std::wstring desktop = L"Control Panel\\Desktop";
    const std::wstring chosenBefore = text(HKEY_CURRENT_USER, desktop, L"SCRNSAVE.EXE");

    ASSERT_EQ(install(VERSION), 0u);
    EXPECT_TRUE(sameBytes(installedSaver(), e2e::saverPath())) << "not the packaged saver";
    const std::vector<Entry> entries = orlivexEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].version, VERSION);
    EXPECT_EQ(entries[0].publisher, L"Kuroko");
    EXPECT_EQ(entries[0].url, URL);
    const HICON icon = static_cast<HICON>(LoadImageW(nullptr, entries[0].icon.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(icon, nullptr) << "no icon in " << testing::PrintToString(entries[0].icon);
    if (icon) DestroyIcon(icon);
    EXPECT_EQ(entries[0].noModify, 1u);
    EXPECT_EQ(entries[0].noRepair, 1u);
    EXPECT_EQ(text(HKEY_CURRENT_USER, desktop, L"SCRNSAVE.EXE"), chosenBefore) << "the installer chose the saver";
    // Started from there, it opens its dialog.
    e2e::Process dialog(installedSaver(), L"/c");
    const HWND window = e2e::waitForWindow(dialog.id(), e2e::STARTUP_MS);
    ASSERT_NE(window, nullptr) << "no dialog";
    EXPECT_EQ(e2e::textOf(window), e2e::TITLE);
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(dialog.waitExit(e2e::PROMPTLY_MS)) << "the dialog did not close";
    EXPECT_EQ(dialog.exitCode(), 0u);
}

TEST_F(Install, ReplacesAnEarlierVersionLeavingOneEntry) {
    ASSERT_EQ(install(OLDER), 0u);
    ASSERT_EQ(testing_support::readBytes(installedSaver()).size(),
              testing_support::readBytes(e2e::saverPath()).size() + 5)
        << "not the earlier version's saver";
    ASSERT_EQ(orlivexEntries().size(), 1u);
    EXPECT_EQ(orlivexEntries()[0].version, OLDER);

    ASSERT_EQ(install(VERSION), 0u);
    expectOnlyThisBuild("the earlier saver stayed");
}

TEST_F(Install, RefusesAnEarlierVersionOverALaterOneAndUninstallRemovesTheFileAndTheEntry) {
    ASSERT_EQ(install(VERSION), 0u);
    EXPECT_EQ(install(OLDER), DWORD{ERROR_INSTALL_FAILURE});
    expectOnlyThisBuild("the earlier saver replaced the later");
    EXPECT_EQ(uninstall(VERSION), 0u);
    EXPECT_FALSE(exists(installedSaver()));
    EXPECT_TRUE(orlivexEntries().empty());
}

}  // namespace
