#include "FaultInjectionVfs.h"

#include <sqlite3.h>

#include <cstring>
#include <stdexcept>

#include "support/StorageTestSupport.h"

namespace vh::testing {

namespace {

struct State {
    sqlite3_vfs* real = nullptr;
    int failAt = 0;  // 0: no fault armed
    int resultCode = SQLITE_IOERR;
    int operations = 0;
    bool hit = false;
};
State state;

// True when this operation is the one that must fail.
bool Fails() {
    if (state.failAt == 0) return false;
    if (++state.operations != state.failAt) return false;
    state.hit = true;
    return true;
}

// Our file, with the real VFS's file right behind it.
struct FaultFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* file) {
    return reinterpret_cast<FaultFile*>(file)->real;
}

// A file method forwarded to the real file; a `Faulty` one fails instead
// when its turn comes.
template <auto Method, bool Faulty>
struct FileCall;
template <typename... Args, int (*sqlite3_io_methods::*Method)(sqlite3_file*, Args...), bool Faulty>
struct FileCall<Method, Faulty> {
    static int Run(sqlite3_file* file, Args... args) {
        if (Faulty && Fails()) return state.resultCode;
        return (Real(file)->pMethods->*Method)(Real(file), args...);
    }
};

// Version 1: no shared memory and no memory mapping, which the rollback
// journal the program uses does not need.
const sqlite3_io_methods kMethods = {
    1,
    FileCall<&sqlite3_io_methods::xClose, false>::Run,
    FileCall<&sqlite3_io_methods::xRead, true>::Run,
    FileCall<&sqlite3_io_methods::xWrite, true>::Run,
    FileCall<&sqlite3_io_methods::xTruncate, true>::Run,
    FileCall<&sqlite3_io_methods::xSync, true>::Run,
    FileCall<&sqlite3_io_methods::xFileSize, false>::Run,
    FileCall<&sqlite3_io_methods::xLock, true>::Run,
    FileCall<&sqlite3_io_methods::xUnlock, false>::Run,
    FileCall<&sqlite3_io_methods::xCheckReservedLock, false>::Run,
    FileCall<&sqlite3_io_methods::xFileControl, false>::Run,
    FileCall<&sqlite3_io_methods::xSectorSize, false>::Run,
    FileCall<&sqlite3_io_methods::xDeviceCharacteristics, false>::Run,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* ours = reinterpret_cast<FaultFile*>(file);
    ours->base.pMethods = nullptr;
    if (Fails()) return state.resultCode;
    ours->real = reinterpret_cast<sqlite3_file*>(ours + 1);
    const int rc = state.real->xOpen(state.real, name, ours->real, flags, outFlags);
    if (rc == SQLITE_OK) ours->base.pMethods = &kMethods;
    return rc;
}

// A method of the VFS itself, forwarded to the real one: only opening a
// file may fail.
template <auto Method>
struct VfsCall;
template <typename R, typename... Args, R (*sqlite3_vfs::*Method)(sqlite3_vfs*, Args...)>
struct VfsCall<Method> {
    static R Run(sqlite3_vfs*, Args... args) { return (state.real->*Method)(state.real, args...); }
};

sqlite3_vfs vfs{};

}  // namespace

TFaultInjectionVfs::TFaultInjectionVfs() {
    if (state.real != nullptr) throw std::logic_error("one fault-injection VFS at a time");
    state = State{};
    state.real = sqlite3_vfs_find(nullptr);
    if (state.real == nullptr) throw std::runtime_error("no default VFS");
    vfs = sqlite3_vfs{};
    vfs.iVersion = 1;
    vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + state.real->szOsFile;
    vfs.mxPathname = state.real->mxPathname;
    vfs.zName = "vh-fault-injection";
    vfs.xOpen = Open;
    vfs.xDelete = VfsCall<&sqlite3_vfs::xDelete>::Run;
    vfs.xAccess = VfsCall<&sqlite3_vfs::xAccess>::Run;
    vfs.xFullPathname = VfsCall<&sqlite3_vfs::xFullPathname>::Run;
    vfs.xRandomness = VfsCall<&sqlite3_vfs::xRandomness>::Run;
    vfs.xSleep = VfsCall<&sqlite3_vfs::xSleep>::Run;
    vfs.xCurrentTime = VfsCall<&sqlite3_vfs::xCurrentTime>::Run;
    if (state.real->xGetLastError) vfs.xGetLastError = VfsCall<&sqlite3_vfs::xGetLastError>::Run;
    if (sqlite3_vfs_register(&vfs, 1) != SQLITE_OK) throw std::runtime_error("cannot register the VFS");
}

TFaultInjectionVfs::~TFaultInjectionVfs() {
    sqlite3_vfs_unregister(&vfs);
    sqlite3_vfs_register(state.real, 1);
    state = State{};
}

void TFaultInjectionVfs::Arm(int failAt, int resultCode) {
    state.failAt = failAt;
    state.resultCode = resultCode;
    state.operations = 0;
    state.hit = false;
}

void TFaultInjectionVfs::Disarm() {
    state.failAt = 0;
}

bool TFaultInjectionVfs::Hit() const {
    return state.hit;
}

int TFaultInjectionVfs::Operations() const {
    return state.operations;
}

const std::vector<TFaultCode>& FaultCodes() {
    static const std::vector<TFaultCode> codes{
        {SQLITE_IOERR, "SQLITE_IOERR"}, {SQLITE_FULL, "SQLITE_FULL"}, {SQLITE_BUSY, "SQLITE_BUSY"}};
    return codes;
}

int ForEachFaultPoint(TFaultInjectionVfs& vfs, int code, const std::function<void()>& prepare,
                      const std::function<void()>& operation, const std::function<void(int n)>& check) {
    // Far above any operation here: a loop that never completes is a fault of its own.
    constexpr int kMaxFaultPoints = 5000;
    for (int n = 1; n <= kMaxFaultPoints; ++n) {
        prepare();
        vfs.Arm(n, code);
        operation();
        vfs.Disarm();
        const bool hit = vfs.Hit();
        check(n);
        if (!hit) return n - 1;
    }
    throw std::runtime_error("the operation never completed");
}

std::string IntegrityCheck(const std::string& fileName) {
    std::string report;
    for (const auto& row : QueryRows(fileName, "PRAGMA integrity_check"))
        for (const auto& cell : row) report += (report.empty() ? "" : "; ") + cell;
    return report;
}

}  // namespace vh::testing
