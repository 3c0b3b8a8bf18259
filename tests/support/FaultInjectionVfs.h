#pragma once
// A test VFS registered over the default one that makes the Nth file
// operation (open, read, write or truncate, sync, lock) fail with a chosen
// result code, as a failing disk, a full disk or another process's lock
// would. Every connection opened while a TFaultInjectionVfs exists goes
// through it. Run an operation with Arm(1), Arm(2), ... until Hit() stays
// false: then every fault point of the operation has been tried.

#include <functional>
#include <string>
#include <vector>

namespace vh::testing {

class TFaultInjectionVfs {
public:
    TFaultInjectionVfs();   // registers as the default VFS
    ~TFaultInjectionVfs();  // restores the previous default
    TFaultInjectionVfs(const TFaultInjectionVfs&) = delete;
    TFaultInjectionVfs& operator=(const TFaultInjectionVfs&) = delete;

    // The `failAt`th operation from now fails with `resultCode`; the
    // operations before and after it succeed.
    void Arm(int failAt, int resultCode);
    void Disarm();
    // The armed fault was injected.
    bool Hit() const;
    // Operations counted since the last Arm.
    int Operations() const;
};

// The result codes the loops inject: a failing disk, a full one, a lock
// another process holds.
struct TFaultCode {
    int code;
    const char* name;
};
const std::vector<TFaultCode>& FaultCodes();

// Runs `operation` with the Nth file operation failing with `code`, for
// N = 1, 2, ... until a run completes without reaching the fault. `prepare`
// runs before and `check(n)` after every run, both with no fault armed.
// Returns how many fault points were injected.
int ForEachFaultPoint(TFaultInjectionVfs& vfs, int code, const std::function<void()>& prepare,
                      const std::function<void()>& operation, const std::function<void(int n)>& check);

// "ok" when the file passes PRAGMA integrity_check, else the engine's report.
std::string IntegrityCheck(const std::string& fileName);

}  // namespace vh::testing
