// How long one probe of the foreground window takes: Wine's notepad, the
// stand-in old Firefox whose address lies at the end of a 4-deep tree of
// about 200 accessible objects in another process, and the stand-ins of
// today's Edge and Firefox (trees of about 500 objects): their first probe,
// which walks the tree, and the repeated probe, which reads where the
// address was found. Prints the median and the worst of 1,000 probes each
// (or of the number given as the first argument) and the accessibility calls
// per probe, how many probes were cut by the time budget, how many read the
// address and how many read none (a new window's walk goes on over several
// probes when cut). Then, for new windows of the stand-ins with a realistic
// cost (2 ms per accessibility call, 300 ms for the first, documents 500 ms
// after they were asked for), probed at the program's 3-second scans: the
// scans before a window's address is known, and before the page's document
// gives the full address, and the scans that read none; and the same with
// Wine's own cost of a call only.
// Run it in a Wine session, for example:
//   scripts/lib/wine-exec build/windows/wine build/windows/tests/e2e/probe_benchmark.exe [probes [current]]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
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
    int unread = 0;
    for (int i = 0; i < gProbes; ++i) {
        // A new window each time the last one was read: a walk cut short
        // goes on at the next probe.
        if (firstProbes && (i == 0 || !probe.Address.empty())) probe.ForgetAddressPlaces();
        const auto start = std::chrono::steady_clock::now();
        probe.Execute(false, nullptr);
        const auto stop = std::chrono::steady_clock::now();
        if (probe.LastAddressRead == vh::TAddressRead::Cut) ++cut;
        if (!probe.Address.empty())
            ++found;
        else
            ++unread;
        if (probe.Window != reinterpret_cast<vh::TWindowId>(window)) {
            std::printf("%s: another window took the front after %d probes\n", name, i);
            return false;
        }
        milliseconds.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    const long calls = countCalls ? ServedCalls(window) - callsBefore : 0;
    std::sort(milliseconds.begin(), milliseconds.end());
    const double median = milliseconds[static_cast<size_t>(gProbes) / 2];
    std::printf(
        "%-34s %d probes  median %7.3f ms  worst %8.3f ms  %5.1f calls/probe  %4d cut  %4d read  %4d unread  "
        "(\"%s\")\n",
        name, gProbes, median, milliseconds.back(), static_cast<double>(calls) / gProbes, cut, found, unread,
        probe.GetKindText().c_str());
    return true;
}

// The program's scan period.
constexpr auto kScanPeriod = 3000ms;
constexpr int kNewWindows = 3;
constexpr int kMaxScans = 6;

// New windows of a stand-in, each probed at every scan until the page's
// document gave its full address (kMaxScans at most).
bool MeasureNewWindows(const char* name, const wchar_t* image, const std::wstring& options,
                       vh::TZuravoZazoApplication& probe) {
    const std::string full = "https://www.example.com/page";
    std::vector<double> milliseconds;
    int firstSum = 0;
    int documentSum = 0;
    int unread = 0;
    int scans = 0;
    for (int w = 0; w < kNewWindows; ++w) {
        const std::wstring title = L"Benchmark new window " + std::to_wstring(w);
        auto browser = vh::e2e::StartStandInBrowser(image, title, vh::win32::Utf8ToWide(full), options);
        HWND window = browser->WaitForWindow(title, 20s);
        if (window == nullptr || !vh::e2e::BringToFront(window, 10s)) {
            std::printf("%s: the window did not come to the front\n", name);
            return false;
        }
        int first = 0;
        int document = 0;
        for (int scan = 1; scan <= kMaxScans && document == 0; ++scan) {
            if (scan > 1) std::this_thread::sleep_for(kScanPeriod);
            const auto start = std::chrono::steady_clock::now();
            probe.Execute(false, nullptr);
            const auto stop = std::chrono::steady_clock::now();
            if (probe.Window != reinterpret_cast<vh::TWindowId>(window)) {
                std::printf("%s: another window took the front\n", name);
                return false;
            }
            milliseconds.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
            ++scans;
            if (probe.Address.empty()) ++unread;
            if (first == 0 && !probe.Address.empty()) first = scan;
            if (probe.Address == full) document = scan;
        }
        firstSum += first == 0 ? kMaxScans + 1 : first;
        documentSum += document == 0 ? kMaxScans + 1 : document;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf(
        "%-34s %d windows  median %7.3f ms  worst %8.3f ms  address at scan %.1f  document at scan %.1f  "
        "%d of %d scans unread  (%d = never)\n",
        name, kNewWindows, milliseconds[milliseconds.size() / 2], milliseconds.back(),
        static_cast<double>(firstSum) / kNewWindows, static_cast<double>(documentSum) / kNewWindows, unread, scans,
        kMaxScans + 1);
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
        const std::wstring realistic = L"--latency=2 --start-cost=300 --build-ms=500";
        ok = MeasureNewWindows("msedge.exe, new, realistic", L"msedge.exe", realistic, probe) && ok;
        ok = MeasureNewWindows("firefox.exe, new, realistic", L"firefox.exe", realistic, probe) && ok;
        // Wine's own cost of a call only: browsers that answer in time.
        ok = MeasureNewWindows("msedge.exe, new, quick", L"msedge.exe", L"--build-ms=500", probe) && ok;
        ok = MeasureNewWindows("firefox.exe, new, quick", L"firefox.exe", L"--build-ms=500", probe) && ok;
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("benchmark failed: %s\n", e.what());
        return 1;
    }
}
