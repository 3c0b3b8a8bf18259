#pragma once
// Joins the calling thread to a COM apartment for the object's life. A thread
// already in one (of either kind) keeps it.

#include <windows.h>

#include <objbase.h>

namespace vh::win32 {

class ComApartment {
public:
    ComApartment() noexcept : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();  // S_FALSE too: every success is paired
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

}  // namespace vh::win32
