// How long one probe of the foreground window takes: Wine's notepad, and the
// stand-in Firefox whose address lies at the end of a 4-deep tree of about
// 200 accessible objects in another process. Prints the median and the worst
// of 1,000 probes each (or of the number given as the first argument). Run
// it in a Wine session, for example:
//   scripts/lib/wine-exec build/windows/wine build/windows/tests/e2e/probe_benchmark.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "monitor/ZuravoZazoApplication.h"
#include "platform/win32/WindowSystem.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"

namespace {

using namespace std::chrono_literals;
using vh::e2e::RunningProgram;

int gProbes = 1000;

// The accessibility calls FakeBrowser has served (0 for other programs).
long ServedCalls(HWND window) {
    DWORD_PTR calls = 0;
    if (SendMessageTimeoutW(window, WM_APP + 1, 0, 0, SMTO_ABORTIFHUNG, 1000, &calls) == 0) return 0;
    return static_cast<long>(calls);
}

// Probes the window in front gProbes times; false when another window took the front.
bool Measure(const char* name, HWND window, vh::TZuravoZazoApplication& probe, bool countCalls) {
    if (!vh::e2e::BringToFront(window, 10s)) {
        std::printf("%s: the window did not come to the front\n", name);
        return false;
    }
    probe.Execute(false, nullptr);  // warm-up: first marshalling, loading of the proxies
    const long callsBefore = countCalls ? ServedCalls(window) : 0;
    std::vector<double> milliseconds;
    milliseconds.reserve(gProbes);
    for (int i = 0; i < gProbes; ++i) {
        const auto start = std::chrono::steady_clock::now();
        probe.Execute(false, nullptr);
        const auto stop = std::chrono::steady_clock::now();
        if (probe.Window != reinterpret_cast<vh::TWindowId>(window)) {
            std::printf("%s: another window took the front after %d probes\n", name, i);
            return false;
        }
        milliseconds.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    const long calls = countCalls ? ServedCalls(window) - callsBefore : 0;
    std::sort(milliseconds.begin(), milliseconds.end());
    const double median = milliseconds[static_cast<size_t>(gProbes) / 2];
    std::printf("%-28s %d probes  median %7.3f ms  worst %7.3f ms  (kind \"%s\", address \"%s\")\n", name, gProbes,
                median, milliseconds.back(), probe.GetKindText().c_str(), probe.Address.c_str());
    if (calls > 0) std::printf("%-28s %ld accessibility calls served per probe\n", "", calls / gProbes);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) gProbes = std::max(2, std::atoi(argv[1]));
    try {
        vh::win32::WindowSystem windows;
        vh::TZuravoZazoApplication probe(windows);
        bool ok = true;
        {
            RunningProgram notepad(vh::e2e::NotepadPath());
            HWND window = vh::e2e::WaitForMainWindow(notepad, 20s);
            ok = window != nullptr && Measure("notepad", window, probe, false) && ok;
        }
        {
            const std::wstring title = L"Benchmark Firefox";
            RunningProgram browser(vh::e2e::OwnFolder() / L"FakeBrowser.exe",
                                   vh::e2e::FakeBrowserArguments(L"firefox", title, L"https://www.example.com/", 4));
            HWND window = browser.WaitForWindow(title, 20s);
            ok = window != nullptr && Measure("firefox, 4 deep, 215 objects", window, probe, true) && ok;
        }
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("benchmark failed: %s\n", e.what());
        return 1;
    }
}
