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

class ExecutableResources : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW(e2e::saverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }

    std::wstring string(UINT id) const {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 ? std::wstring(text, length) : std::wstring();
    }

    HMODULE module = nullptr;
};

TEST_F(ExecutableResources, CarryTheJapaneseUserInterfaceTexts) {
    EXPECT_EQ(string(1), L"Orlivex Screen Saver");
    EXPECT_EQ(string(2), L"OK");
    EXPECT_EQ(string(3), L"\u30AD\u30E3\u30F3\u30BB\u30EB");
    EXPECT_EQ(string(4), L"\u30D7\u30EC\u30D3\u30E5\u30FC");
    EXPECT_EQ(string(5), L"\u9593\u9694[ms]");
    EXPECT_EQ(string(6), L"\u30B5\u30A4\u30BA");
    EXPECT_EQ(string(7), L"\u8272");
    EXPECT_EQ(string(8), L"\u9078\u629E");
}

TEST_F(ExecutableResources, CarryTheIconAndTheVersionNames) {
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
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
        return VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) && text
                   ? std::wstring(text)
                   : std::wstring();
    };
    EXPECT_EQ(value(L"InternalName"), L"orlivex");
    EXPECT_EQ(value(L"OriginalFilename"), L"orlivex.scr");
}

}  // namespace
