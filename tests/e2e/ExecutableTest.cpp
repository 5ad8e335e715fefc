// orlivex.scr as a file: a program that needs nothing beside Windows, with its resources.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/E2e.h"
#include "version.h"  // generated from the project's version

namespace {

// orlivex.scr mapped as an image, as the loader lays it out, without running it.
class Executable : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module, nullptr); }
    void TearDown() override { FreeLibrary(module); }

    // The address of rva in the image (the handle carries flags in its low bits).
    template <class T>
    const T* at(DWORD rva) const {
        return reinterpret_cast<const T*>((reinterpret_cast<UINT_PTR>(module) & ~UINT_PTR{3}) + rva);
    }

    HMODULE module = LoadLibraryExW(e2e::saverPath().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
};

TEST_F(Executable, ImportsOnlyWindowsSystemDlls) {
    const auto* nt = at<IMAGE_NT_HEADERS64>(at<IMAGE_DOS_HEADER>(0)->e_lfanew);
    const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::set<std::string> names;
    for (const auto* d = at<IMAGE_IMPORT_DESCRIPTOR>(imports); d->Name; ++d) {
        std::string name = at<char>(d->Name);
        std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(tolower(c)); });
        names.insert(name);
    }
    const std::set<std::string> system{"kernel32.dll", "user32.dll", "gdi32.dll",   "advapi32.dll",
                                       "shell32.dll",  "comdlg32.dll", "imm32.dll", "msvcrt.dll", "ole32.dll"};
    EXPECT_TRUE(names.count("kernel32.dll"));
    for (const auto& name : names) EXPECT_TRUE(system.count(name)) << name << " does not come with Windows";
}

// One language's string table and version block. Windows shows the Japanese table to a Japanese user
// and the English (United States) one otherwise; ConfigureLanguageTest checks the texts as the dialog
// shows them.
struct Language {
    const char* name;
    LANGID id;
    const wchar_t* versionBlock;
};

class ExecutableResources : public Executable, public ::testing::WithParamInterface<Language> {};

TEST_P(ExecutableResources, CarryTheStringsIconAndVersionTextsOfTheLanguage) {
    EXPECT_NE(FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(1), GetParam().id), nullptr) << "no string table";
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(101), RT_GROUP_ICON), nullptr);
    const std::wstring path = e2e::saverPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    std::vector<std::wstring> texts;
    for (const wchar_t* name :
         {L"InternalName", L"OriginalFilename", L"FileDescription", L"FileVersion", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\") + GetParam().versionBlock + L"\\" + name;
        ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) << key;
        texts.push_back(text);
    }
    const std::wstring version = L"" ORLIVEX_VERSION_TEXT;
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"orlivex", L"orlivex.scr", L"Orlivex Screen Saver", version, version}));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ExecutableResources,
    ::testing::Values(Language{"Japanese", MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), L"041104b0"},
                      Language{"English", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), L"040904b0"}),
    [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.name); });

}  // namespace
