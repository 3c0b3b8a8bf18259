#pragma once
// Move-only owners of Win32 handles and GDI objects. Each owner kind has a
// Traits class naming its handle type, its invalid value and how it is freed.
// Release() hands ownership on (SetWindowRgn takes the region).

#include <windows.h>

#include <type_traits>
#include <utility>

namespace vh::win32 {

template <class Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle handle) noexcept : h_(handle) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : h_(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~Unique() { Reset(); }

    [[nodiscard]] Handle Get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    [[nodiscard]] Handle Release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        const Handle old = std::exchange(h_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle h_ = Traits::Invalid();
};

// Traits of a handle kind whose invalid value is null and that is freed by
// one call.
template <class H, auto CloseFunction>
struct NullHandleTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { CloseFunction(h); }
};

template <class H>
using GdiTraits = NullHandleTraits<H, &DeleteObject>;
using MemoryDcTraits = NullHandleTraits<HDC, &DeleteDC>;
using WindowTraits = NullHandleTraits<HWND, &DestroyWindow>;
using MenuTraits = NullHandleTraits<HMENU, &DestroyMenu>;
using IconTraits = NullHandleTraits<HICON, &DestroyIcon>;
using GlobalMemoryTraits = NullHandleTraits<HGLOBAL, &GlobalFree>;
// Kernel objects that report failure as null (OpenProcess, CreateEventW).
using KernelHandleTraits = NullHandleTraits<HANDLE, &CloseHandle>;
using RegistryKeyTraits = NullHandleTraits<HKEY, &RegCloseKey>;

// Kernel objects that report failure as INVALID_HANDLE_VALUE (CreateFileW,
// FindFirstFileW).
template <auto CloseFunction>
struct InvalidValueHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { CloseFunction(h); }
};
using FileHandleTraits = InvalidValueHandleTraits<&CloseHandle>;
using FindHandleTraits = InvalidValueHandleTraits<&FindClose>;

using UniqueBitmap = Unique<GdiTraits<HBITMAP>>;
using UniqueBrush = Unique<GdiTraits<HBRUSH>>;
using UniqueFont = Unique<GdiTraits<HFONT>>;
using UniquePen = Unique<GdiTraits<HPEN>>;
using UniqueRegion = Unique<GdiTraits<HRGN>>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;
using UniqueWindow = Unique<WindowTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueGlobal = Unique<GlobalMemoryTraits>;
using UniqueFileHandle = Unique<FileHandleTraits>;
using UniqueFindHandle = Unique<FindHandleTraits>;
using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueRegistryKey = Unique<RegistryKeyTraits>;

static_assert(!std::is_copy_constructible_v<UniqueBitmap> && !std::is_copy_assignable_v<UniqueBitmap>);
static_assert(!std::is_copy_constructible_v<UniqueMemoryDc> && !std::is_copy_assignable_v<UniqueMemoryDc>);
static_assert(!std::is_copy_constructible_v<UniqueWindow> && !std::is_copy_assignable_v<UniqueWindow>);
static_assert(std::is_nothrow_move_constructible_v<UniqueRegion>);
static_assert(!std::is_copy_constructible_v<UniqueFileHandle> && !std::is_copy_assignable_v<UniqueHandle>);

// A window's client DC: GetDC paired with ReleaseDC on the same window.
class ClientDc {
public:
    explicit ClientDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ClientDc(const ClientDc&) = delete;
    ClientDc& operator=(const ClientDc&) = delete;
    ~ClientDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A window's paint DC for one WM_PAINT: BeginPaint paired with EndPaint, also
// when drawing raises.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }
    HDC Get() const noexcept { return dc_; }
    const RECT& Invalid() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and restores the previous one on exit. Declare
// the object's owner before this, so the owner outlives the selection.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

static_assert(!std::is_copy_constructible_v<ClientDc> && !std::is_copy_constructible_v<ScopedSelect> &&
              !std::is_copy_constructible_v<PaintDc>);

}  // namespace vh::win32
