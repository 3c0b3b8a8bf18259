#pragma once
// A timer of a form: WM_TIMER with its id on the form's window, which calls
// OnTimer while enabled. Setting the interval or enabling restarts it.

#include <windows.h>

#include <functional>

namespace vh::win32 {

class TForm;

class TTimer {
public:
    TTimer(TForm& form, UINT_PTR id) noexcept : form_(form), id_(id) {}
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;
    ~TTimer();

    std::function<void(TTimer&)> OnTimer;
    UINT Interval() const noexcept { return interval_; }
    void SetInterval(UINT milliseconds);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    UINT_PTR Id() const noexcept { return id_; }

private:
    void Apply();
    TForm& form_;
    UINT_PTR id_;
    UINT interval_ = 1000;
    bool enabled_ = false;
};

}  // namespace vh::win32
