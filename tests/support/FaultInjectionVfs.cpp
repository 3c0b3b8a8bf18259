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

int Close(sqlite3_file* file) {
    return Real(file)->pMethods->xClose(Real(file));
}
int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    if (Fails()) return state.resultCode;
    return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}
int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    if (Fails()) return state.resultCode;
    return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    if (Fails()) return state.resultCode;
    return Real(file)->pMethods->xTruncate(Real(file), size);
}
int Sync(sqlite3_file* file, int flags) {
    if (Fails()) return state.resultCode;
    return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) {
    return Real(file)->pMethods->xFileSize(Real(file), size);
}
int Lock(sqlite3_file* file, int level) {
    if (Fails()) return state.resultCode;
    return Real(file)->pMethods->xLock(Real(file), level);
}
int Unlock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xUnlock(Real(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* result) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), result);
}
int FileControl(sqlite3_file* file, int op, void* arg) {
    return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}
int SectorSize(sqlite3_file* file) {
    return Real(file)->pMethods->xSectorSize(Real(file));
}
int DeviceCharacteristics(sqlite3_file* file) {
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

// Version 1: no shared memory and no memory mapping, which the rollback
// journal the program uses does not need.
const sqlite3_io_methods kMethods = {
    1,
    Close,
    Read,
    Write,
    Truncate,
    Sync,
    FileSize,
    Lock,
    Unlock,
    CheckReservedLock,
    FileControl,
    SectorSize,
    DeviceCharacteristics,
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

int Delete(sqlite3_vfs*, const char* name, int syncDir) {
    return state.real->xDelete(state.real, name, syncDir);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* result) {
    return state.real->xAccess(state.real, name, flags, result);
}
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return state.real->xFullPathname(state.real, name, size, out);
}
int Randomness(sqlite3_vfs*, int size, char* out) {
    return state.real->xRandomness(state.real, size, out);
}
int Sleep(sqlite3_vfs*, int microseconds) {
    return state.real->xSleep(state.real, microseconds);
}
int CurrentTime(sqlite3_vfs*, double* now) {
    return state.real->xCurrentTime(state.real, now);
}
int GetLastError(sqlite3_vfs*, int size, char* out) {
    return state.real->xGetLastError ? state.real->xGetLastError(state.real, size, out) : 0;
}

sqlite3_vfs vfs{};

}  // namespace

TFaultInjectionVfs::TFaultInjectionVfs() {
    if (state.real != nullptr) throw std::logic_error("one fault-injection VFS at a time");
    state = State{};
    state.real = sqlite3_vfs_find(nullptr);
    if (state.real == nullptr) throw std::runtime_error("no default VFS");
    vfs.iVersion = 1;
    vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + state.real->szOsFile;
    vfs.mxPathname = state.real->mxPathname;
    vfs.zName = "vh-fault-injection";
    vfs.xOpen = Open;
    vfs.xDelete = Delete;
    vfs.xAccess = Access;
    vfs.xFullPathname = FullPathname;
    vfs.xDlOpen = nullptr;
    vfs.xDlError = nullptr;
    vfs.xDlSym = nullptr;
    vfs.xDlClose = nullptr;
    vfs.xRandomness = Randomness;
    vfs.xSleep = Sleep;
    vfs.xCurrentTime = CurrentTime;
    vfs.xGetLastError = GetLastError;
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
