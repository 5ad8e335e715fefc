#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "klib/ComPtr.h"

namespace testing_support {

// Writes width x height pixels (0x00RRGGBB, row by row) to path with WIC's encoder for container
// (GUID_ContainerFormatPng, Bmp or Jpeg; JPEG at quality 0.95). COM must be initialised.
inline bool writeImage(const std::wstring& path, const GUID& container, int width, int height,
                       const std::vector<std::uint32_t>& pixels) {
    klib::ComPtr<IWICImagingFactory> factory;
    klib::ComPtr<IWICStream> stream;
    klib::ComPtr<IWICBitmapEncoder> encoder;
    klib::ComPtr<IWICBitmapFrameEncode> frame;
    klib::ComPtr<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) {
        return false;
    }
    if (container == GUID_ContainerFormatJpeg) {
        PROPBAG2 option{};
        option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = 0.95f;
        options->Write(1, &option, &value);
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::vector<BYTE> bgr;
    for (const std::uint32_t pixel : pixels) {
        bgr.push_back(static_cast<BYTE>(pixel));
        bgr.push_back(static_cast<BYTE>(pixel >> 8));
        bgr.push_back(static_cast<BYTE>(pixel >> 16));
    }
    if (FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) {
        return false;
    }
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 3,
                                        static_cast<UINT>(bgr.size()), bgr.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// A path in the temporary folder for stem, made this process's own.
inline std::wstring tempPath(const std::wstring& stem) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return folder + stem + L"-" + std::to_wstring(GetCurrentProcessId());
}

inline std::vector<char> readBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::wstring& path, const std::vector<char>& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace testing_support
