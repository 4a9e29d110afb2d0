// One move-only owner for every kind of handle, with the close function and the invalid
// value as traits, and a guard that puts the previous GDI object back.
#pragma once

#include <windows.h>

#include <utility>

namespace orv {

template <typename T, auto Close, T Invalid = T{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(T h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Invalid));
        return *this;
    }
    ~Unique() { reset(); }

    T get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    T release() { return std::exchange(h_, Invalid); }
    void reset(T h = Invalid) {
        if (h_ != Invalid) Close(h_);
        h_ = h;
    }
    T* put() {
        reset();
        return &h_;
    }

private:
    T h_ = Invalid;
};

inline void CloseKernel(HANDLE h) { CloseHandle(h); }
inline void CloseKey(HKEY k) { RegCloseKey(k); }
inline void DeleteGdi(HGDIOBJ o) { DeleteObject(o); }
inline void DeleteMemDc(HDC dc) { DeleteDC(dc); }

using UniqueHandle = Unique<HANDLE, CloseKernel>;
using UniqueKey = Unique<HKEY, CloseKey>;
using UniqueBitmap = Unique<HBITMAP, DeleteGdi>;
using UniqueBrush = Unique<HBRUSH, DeleteGdi>;
using UniqueFont = Unique<HFONT, DeleteGdi>;
using UniquePen = Unique<HPEN, DeleteGdi>;
using UniqueDc = Unique<HDC, DeleteMemDc>;

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
