#include "ui/win32/toolkit/Timer.h"

#include "ui/win32/toolkit/Form.h"

#include "common/Exceptions.h"

namespace vh::win32 {

TTimer::~TTimer() {
    if (enabled_ && form_.Handle()) KillTimer(form_.Handle(), id_);
}

void TTimer::SetInterval(UINT milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void TTimer::Apply() {
    if (!form_.Handle()) return;
    KillTimer(form_.Handle(), id_);
    if (enabled_ && interval_ > 0) {
        if (!SetTimer(form_.Handle(), id_, interval_, nullptr)) throw Exception("SetTimer failed");
    }
}

}  // namespace vh::win32
