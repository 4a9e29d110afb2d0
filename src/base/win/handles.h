// One move-only owner for every kind of handle, with the handle type, its invalid value and
// its close function as traits, and a guard that puts the previous GDI object back.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace orv {

// Traits: Type, static Type Invalid(), static void Close(Type) for a valid handle, and
// kArrow = true for pointers to objects that are called through the owner.
template <typename Traits>
class Unique {
public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    ~Unique() { reset(); }

    Type get() const { return h_; }
    // Owners of interface pointers (traits with kArrow) call through the owner.
    Type operator->() const requires(Traits::kArrow) { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    Type release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(Type h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }
    // For functions that hand out a new handle through a pointer.
    Type* put() {
        reset();
        return &h_;
    }

private:
    Type h_ = Traits::Invalid();
};

// Handles whose invalid value is null.
template <typename T, auto CloseFn>
struct NullInvalid {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseFn(h); }
};

inline void CloseKernel(HANDLE h) { CloseHandle(h); }
inline void CloseKey(HKEY k) { RegCloseKey(k); }
inline void DeleteGdi(HGDIOBJ o) { DeleteObject(o); }
inline void DeleteMemDc(HDC dc) { DeleteDC(dc); }
template <typename T>
void FreeTaskMem(T* p) { CoTaskMemFree(p); }

using UniqueHandle = Unique<NullInvalid<HANDLE, CloseKernel>>;
using UniqueKey = Unique<NullInvalid<HKEY, CloseKey>>;
using UniqueBitmap = Unique<NullInvalid<HBITMAP, DeleteGdi>>;
using UniqueBrush = Unique<NullInvalid<HBRUSH, DeleteGdi>>;
using UniqueFont = Unique<NullInvalid<HFONT, DeleteGdi>>;
using UniquePen = Unique<NullInvalid<HPEN, DeleteGdi>>;
using UniqueRegion = Unique<NullInvalid<HRGN, DeleteGdi>>;
using UniqueDc = Unique<NullInvalid<HDC, DeleteMemDc>>;  // from CreateCompatibleDC / CreateDC
// Memory the shell or COM hands out to be freed with CoTaskMemFree, such as item ID lists.
template <typename T>
using UniqueTaskMem = Unique<NullInvalid<T*, FreeTaskMem<T>>>;

// CreateFileW's handles: INVALID_HANDLE_VALUE when none.
struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
using UniqueFile = Unique<FileTraits>;

// FindFirstFileW's search handle: INVALID_HANDLE_VALUE when none.
struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
using UniqueFind = Unique<FindTraits>;

// A window's DC from GetDC (the screen's with a null window), given back with ReleaseDC.
struct WindowDc {
    HWND window = nullptr;
    HDC dc = nullptr;
    bool operator==(const WindowDc&) const = default;
};
struct WindowDcTraits {
    using Type = WindowDc;
    static Type Invalid() { return {}; }
    static void Close(Type d) { ReleaseDC(d.window, d.dc); }
};
using UniqueWindowDc = Unique<WindowDcTraits>;
inline UniqueWindowDc GetWindowDc(HWND window) {
    HDC dc = GetDC(window);
    return dc ? UniqueWindowDc(WindowDc{window, dc}) : UniqueWindowDc();
}

// A COM interface pointer, released once by its one owner.
template <typename I>
struct ComTraits {
    using Type = I*;
    static constexpr bool kArrow = true;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { p->Release(); }
};
template <typename I>
using ComPtr = Unique<ComTraits<I>>;

// Selects an object into a DC and selects the previous one back when it goes out of scope.
// Declare the object's owner before the guard, so it is deselected before it is deleted.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's DC for painting, released at the end of the scope.
class PaintDc {
public:
    explicit PaintDc(HWND w) : w_(w), dc_(BeginPaint(w, &ps_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(w_, &ps_); }
    HDC get() const { return dc_; }

private:
    HWND w_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

}  // namespace orv
