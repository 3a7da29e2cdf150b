// Measures how long Tarvel.exe takes from CreateProcess to its registration window being
// visible, against a bare window program, and prints the medians and their ratio.
//   measure_startup.exe TARVEL.exe BARE.exe [runs]
#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace e2e;

// Milliseconds until a shown window of the class, or a negative value when none came.
double time_to_window(const std::wstring& exe, const wchar_t* cls) {
    auto t0 = std::chrono::steady_clock::now();
    Process p = Process::start(exe);
    if (p.pid() == 0)
        return -1;
    HWND found = nullptr;
    bool shown = wait_until([&] { return (found = find_top(p.pid(), cls)) != nullptr; }, 30s);
    auto t1 = std::chrono::steady_clock::now();
    if (!shown)
        return -1;
    post_close(found);
    if (!p.wait(10s))
        p.kill();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: measure_startup TARVEL.exe BARE.exe [runs]\n");
        return 2;
    }
    int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 7;
    struct Subject {
        const char* name;
        std::wstring exe;
        const wchar_t* cls;
        std::vector<double> ms;
    };
    Subject subjects[] = {{"Tarvel.exe", argv[1], L"TfrmFIO", {}},
                          {"bare_window.exe", argv[2], L"BareWindow", {}}};
    // One start of each first, unmeasured, so that both find the files in the cache.
    for (auto& s : subjects)
        time_to_window(s.exe, s.cls);
    for (int i = 0; i < runs; ++i)
        for (auto& s : subjects) {
            double ms = time_to_window(s.exe, s.cls);
            if (ms < 0) {
                std::fprintf(stderr, "%s: no window\n", s.name);
                return 1;
            }
            s.ms.push_back(ms);
        }
    for (auto& s : subjects) {
        std::printf("%-16s", s.name);
        for (double ms : s.ms)
            std::printf(" %7.1f", ms);
        std::printf("   median %.1f ms\n", median(s.ms));
    }
    std::printf("ratio Tarvel / bare window: %.2f\n",
                median(subjects[0].ms) / median(subjects[1].ms));
    return 0;
}
