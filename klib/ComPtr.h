#pragma once

#include <objbase.h>

#include <utility>

namespace klib {

// Owns one reference to a COM object and releases it when it goes; moves, never copies.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        reset(std::exchange(other.object_, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    // For calls that hand out a new reference: releases the one held first.
    T** put() noexcept {
        reset();
        return &object_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
    // Takes over a reference the caller owns.
    void reset(T* object = nullptr) noexcept {
        T* const held = std::exchange(object_, object);
        if (held != nullptr) held->Release();
    }

private:
    T* object_ = nullptr;
};

// CoInitializeEx for the calling thread for as long as it lives; CoUninitialize only when it succeeded.
class ComApartment {
public:
    explicit ComApartment(DWORD model) noexcept : result_(CoInitializeEx(nullptr, model)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    bool isReady() const noexcept { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

}  // namespace klib
