// How long one probe of the foreground window takes: Wine's notepad, the
// stand-in old Firefox whose address lies at the end of a 4-deep tree of
// about 200 accessible objects in another process, and the stand-ins of
// today's Edge and Firefox (trees of about 500 objects): their first probe,
// which walks the tree, and the repeated probe, which reads where the
// address was found. Prints the median and the worst of 1,000 probes each
// (or of the number given as the first argument) and the accessibility calls
// per probe, how many probes were cut by the time budget and how many read
// the address (a new window's walk goes on over several probes when cut).
// Run it in a Wine session, for example:
//   scripts/lib/wine-exec build/windows/wine build/windows/tests/e2e/probe_benchmark.exe [probes [current]]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "monitor/ZuravoZazoApplication.h"
#include "platform/win32/Utf16.h"
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

// Probes the window in front gProbes times; false when another window took
// the front. `firstProbes` has each probe forget where addresses were found.
bool Measure(const char* name, HWND window, vh::TZuravoZazoApplication& probe, bool countCalls,
             bool firstProbes = false) {
    if (!vh::e2e::BringToFront(window, 10s)) {
        std::printf("%s: the window did not come to the front\n", name);
        return false;
    }
    // Warm-up: first marshalling, loading of the proxies; Chromium's tree
    // is built once asked, a moment later.
    vh::e2e::WaitUntil(
        [&] {
            probe.Execute(false, nullptr);
            return !countCalls || !probe.Address.empty();
        },
        5s);
    const long callsBefore = countCalls ? ServedCalls(window) : 0;
    std::vector<double> milliseconds;
    milliseconds.reserve(gProbes);
    int cut = 0;
    int found = 0;
    for (int i = 0; i < gProbes; ++i) {
        // A new window each time the last one was read: a walk cut short
        // goes on at the next probe.
        if (firstProbes && (i == 0 || !probe.Address.empty())) probe.ForgetAddressPlaces();
        const auto start = std::chrono::steady_clock::now();
        probe.Execute(false, nullptr);
        const auto stop = std::chrono::steady_clock::now();
        if (probe.LastAddressRead == vh::TAddressRead::Cut) ++cut;
        if (!probe.Address.empty()) ++found;
        if (probe.Window != reinterpret_cast<vh::TWindowId>(window)) {
            std::printf("%s: another window took the front after %d probes\n", name, i);
            return false;
        }
        milliseconds.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    const long calls = countCalls ? ServedCalls(window) - callsBefore : 0;
    std::sort(milliseconds.begin(), milliseconds.end());
    const double median = milliseconds[static_cast<size_t>(gProbes) / 2];
    std::printf("%-34s %d probes  median %7.3f ms  worst %8.3f ms  %5.1f calls/probe  %4d cut  %4d read  (\"%s\")\n",
                name, gProbes, median, milliseconds.back(), static_cast<double>(calls) / gProbes, cut, found,
                probe.GetKindText().c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) gProbes = std::max(2, std::atoi(argv[1]));
    // "current" measures today's browsers only.
    const bool currentOnly = argc > 2 && std::string(argv[2]) == "current";
    try {
        vh::win32::WindowSystem windows;
        vh::TZuravoZazoApplication probe(windows);
        bool ok = true;
        if (!currentOnly) {
            RunningProgram notepad(vh::e2e::NotepadPath());
            HWND window = vh::e2e::WaitForMainWindow(notepad, 20s);
            ok = window != nullptr && Measure("notepad", window, probe, false) && ok;
        }
        if (!currentOnly) {
            const std::wstring title = L"Benchmark Firefox";
            RunningProgram browser(vh::e2e::OwnFolder() / L"FakeBrowser.exe",
                                   vh::e2e::FakeBrowserArguments(L"firefox", title, L"https://www.example.com/", 4));
            HWND window = browser.WaitForWindow(title, 20s);
            ok = window != nullptr && Measure("firefox, 4 deep, 215 objects", window, probe, true) && ok;
        }
        for (const wchar_t* image : {L"msedge.exe", L"firefox.exe"}) {
            const std::wstring title = std::wstring(L"Benchmark ") + image;
            auto browser = vh::e2e::StartStandInBrowser(image, title, L"https://www.example.com/page");
            HWND window = browser->WaitForWindow(title, 20s);
            const std::string name = vh::win32::WideToUtf8(image) + ", 500 objects";
            ok = window != nullptr && Measure((name + ", first").c_str(), window, probe, true, true) &&
                 Measure((name + ", repeated").c_str(), window, probe, true) && ok;
        }
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("benchmark failed: %s\n", e.what());
        return 1;
    }
}
