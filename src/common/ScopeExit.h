#pragma once
// Runs a clean-up when the scope ends, however it ends (a return or an
// exception), so that hand-written catch-and-rethrow blocks are not needed.

#include <exception>
#include <utility>

namespace vh {

template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F cleanUp) : cleanUp_(std::move(cleanUp)), exceptions_(std::uncaught_exceptions()) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    // A clean-up that fails on the ordinary way out raises; while an
    // exception is already on its way out, that one is the failure reported.
    ~ScopeExit() noexcept(false) {
        if (!armed_) return;
        if (std::uncaught_exceptions() == exceptions_) {
            cleanUp_();
            return;
        }
        try {
            cleanUp_();
        } catch (...) {
        }
    }
    // The clean-up is not wanted any more (the work it undoes succeeded).
    void Dismiss() noexcept { armed_ = false; }

private:
    F cleanUp_;
    int exceptions_;
    bool armed_ = true;
};

}  // namespace vh
