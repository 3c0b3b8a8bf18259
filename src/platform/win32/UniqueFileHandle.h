#pragma once
// Move-only owner of a kernel file handle (CreateFileW, FindFirstFileW).

#include <windows.h>

#include <type_traits>
#include <utility>

namespace vh::win32 {

template <HANDLE (*InvalidValue)(), BOOL(WINAPI* Close)(HANDLE)>
class UniqueKernelHandle {
public:
    UniqueKernelHandle() noexcept = default;
    explicit UniqueKernelHandle(HANDLE handle) noexcept : handle_(handle) {}
    UniqueKernelHandle(UniqueKernelHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueKernelHandle& operator=(UniqueKernelHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueKernelHandle(const UniqueKernelHandle&) = delete;
    UniqueKernelHandle& operator=(const UniqueKernelHandle&) = delete;
    ~UniqueKernelHandle() { Reset(); }

    HANDLE Get() const noexcept { return handle_; }
    bool Valid() const noexcept { return handle_ != InvalidValue() && handle_ != nullptr; }
    [[nodiscard]] HANDLE Release() noexcept { return std::exchange(handle_, InvalidValue()); }
    void Reset(HANDLE handle = InvalidValue()) noexcept {
        if (Valid()) Close(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = InvalidValue();
};

inline HANDLE InvalidHandleValue() noexcept {
    return INVALID_HANDLE_VALUE;
}

using UniqueFileHandle = UniqueKernelHandle<&InvalidHandleValue, &CloseHandle>;
using UniqueFindHandle = UniqueKernelHandle<&InvalidHandleValue, &FindClose>;

static_assert(!std::is_copy_constructible_v<UniqueFileHandle>);

}  // namespace vh::win32
