// orlivex.scr as a file: a program that needs nothing beside Windows, with its resources.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/E2e.h"

namespace {

std::vector<char> readSaver() {
    std::vector<char> image;
    HANDLE file = CreateFileW(e2e::saverPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return image;
    image.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr)) read = 0;
    image.resize(read);
    CloseHandle(file);
    return image;
}

template <class T>
T at(const std::vector<char>& image, size_t offset) {
    T value;
    if (offset + sizeof value > image.size()) throw std::out_of_range("outside the file");
    std::memcpy(&value, image.data() + offset, sizeof value);
    return value;
}

// The PE headers of the file, and the names of the DLLs its import table names.
struct PortableExecutable {
    explicit PortableExecutable(const std::vector<char>& image) : image(image) {
        const auto dos = at<IMAGE_DOS_HEADER>(image, 0);
        nt = at<IMAGE_NT_HEADERS64>(image, dos.e_lfanew);
        const size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                nt.FileHeader.SizeOfOptionalHeader;
        for (int i = 0; i < nt.FileHeader.NumberOfSections; ++i)
            headers.push_back(at<IMAGE_SECTION_HEADER>(image, sections + i * sizeof(IMAGE_SECTION_HEADER)));
    }

    size_t fileOffset(DWORD rva) const {
        for (const auto& s : headers)
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        throw std::out_of_range("address outside every section");
    }

    std::set<std::string> importedDlls() const {
        std::set<std::string> names;
        const auto& directory = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (size_t offset = fileOffset(directory.VirtualAddress);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto descriptor = at<IMAGE_IMPORT_DESCRIPTOR>(image, offset);
            if (descriptor.Name == 0) break;
            std::string name(image.data() + fileOffset(descriptor.Name));
            std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(tolower(c)); });
            names.insert(name);
        }
        return names;
    }

    const std::vector<char>& image;
    IMAGE_NT_HEADERS64 nt{};
    std::vector<IMAGE_SECTION_HEADER> headers;
};

TEST(Executable, ImportsOnlyWindowsSystemDlls) {
    const auto image = readSaver();
    const std::set<std::string> system{"kernel32.dll", "user32.dll", "gdi32.dll",   "advapi32.dll",
                                       "shell32.dll",  "comdlg32.dll", "imm32.dll", "msvcrt.dll"};
    const auto imported = PortableExecutable(image).importedDlls();
    EXPECT_TRUE(imported.count("kernel32.dll"));
    for (const auto& name : imported) EXPECT_TRUE(system.count(name)) << name << " does not come with Windows";
}

// The texts of one language's string table and version block.
struct Language {
    const char* name;
    LANGID id;
    const wchar_t* versionBlock;
    std::vector<std::wstring> texts;  // strings 1 to 8
};

class ExecutableResources : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override {
        module = LoadLibraryExW(e2e::saverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }

    // String id of exactly this language's table: a bundle of 16 counted strings.
    std::wstring string(UINT id, LANGID language) const {
        const HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
        if (!found) return L"<missing>";
        auto text = static_cast<const wchar_t*>(LockResource(LoadResource(module, found)));
        for (UINT i = 0; i < id % 16; ++i) text += 1 + *text;
        return std::wstring(text + 1, *text);
    }

    HMODULE module = nullptr;
};

TEST_P(ExecutableResources, CarryTheUserInterfaceTextsOfTheLanguage) {
    for (UINT id = 1; id <= 8; ++id) EXPECT_EQ(string(id, GetParam().id), GetParam().texts[id - 1]) << id;
}

TEST_P(ExecutableResources, CarryTheIconAndTheVersionNamesOfTheLanguage) {
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(101), RT_GROUP_ICON), nullptr);
    const std::wstring path = e2e::saverPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\") + GetParam().versionBlock + L"\\" + name;
        return VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) && text
                   ? std::wstring(text)
                   : std::wstring();
    };
    EXPECT_EQ(value(L"InternalName"), L"orlivex");
    EXPECT_EQ(value(L"OriginalFilename"), L"orlivex.scr");
    EXPECT_EQ(value(L"FileDescription"), L"Orlivex Screen Saver");
}

// Windows shows the Japanese table to a Japanese user and the English (United States) one otherwise.
INSTANTIATE_TEST_SUITE_P(
    Languages, ExecutableResources,
    ::testing::Values(Language{"Japanese", MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), L"041104b0",
                               {L"Orlivex Screen Saver", L"OK", L"\u30AD\u30E3\u30F3\u30BB\u30EB",
                                L"\u30D7\u30EC\u30D3\u30E5\u30FC", L"\u9593\u9694[ms]", L"\u30B5\u30A4\u30BA", L"\u8272",
                                L"\u9078\u629E"}},
                      Language{"English", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), L"040904b0",
                               {L"Orlivex Screen Saver", L"OK", L"Cancel", L"Preview", L"Interval [ms]", L"Size",
                                L"Color", L"Choose..."}}),
    [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.name); });

}  // namespace
