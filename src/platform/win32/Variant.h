#pragma once
// A VARIANT that is cleared (and so releases what it holds) when it dies.

#include <windows.h>

#include <oleauto.h>

namespace vh::win32 {

class UniqueVariant {
public:
    UniqueVariant() noexcept { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* Put() noexcept {
        VariantClear(&value_);
        return &value_;
    }
    const VARIANT& Get() const noexcept { return value_; }

private:
    VARIANT value_;
};

}  // namespace vh::win32
