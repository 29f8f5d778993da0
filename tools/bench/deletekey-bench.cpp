// deletekey-bench [--repeat R] [--fanout F] [N...]
//     (default: --repeat 5 --fanout 10 10 100 1000)
//
// The cost of removing a class key with the program's own key deletion, per key of the tree.
// For each N: builds N subkeys below HKCR\CLSID\{bench class} (F children per key, breadth
// first: with F = 10, 1000 keys are three levels deep; with F >= N all hang from the class key),
// times fDeleteKey("HKCR", "CLSID", "{bench class}") with QueryPerformanceCounter, and checks
// that the class key is gone. Each N is built and deleted R times; the medians are printed, one
// line per N:
//     keys  levels  create_ms  delete_ms  delete_ms_per_key  own_cpu_ms  cpu_ms_per_key
// create_ms is the time RegCreateKeyExA took to build the tree: the floor that any deletion of
// the same keys costs at least once more. own_cpu_ms is this process's CPU time during the
// deletion (the wineserver's work is not in it), the figure least disturbed by other load on
// the machine. Exit status 0; 1 when a deletion left the class key behind or returned a
// refusal; 2 on bad usage.
//
// The keys are made in the view the deletion chooses (the 64-bit one in a 64-bit prefix).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "deletion/RegistryDelete.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

constexpr const char* kBenchClass = "{6b2f3d4e-8a19-4c07-b5e2-0d9c7a1f3e58}";
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// User plus kernel time of this process, in ms: unlike the wall clock it leaves out the
// wineserver's share and other programs on the machine, and shows what the walk itself costs.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) == 0) {
        return 0;
    }
    const auto ticks = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    [[nodiscard]] double elapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

struct Tree {
    int levels = 0;
    bool ok = true;
};

// N keys below CLSID\{bench class}, breadth first, fanOut children per key.
Tree BuildTree(int count, int fanOut, std::uint32_t view) {
    Tree tree;
    std::deque<std::pair<std::string, int>> parents{{std::string("CLSID\\") + kBenchClass, 0}};
    int made = 0;
    while (made < count && !parents.empty()) {
        const auto [parent, depth] = parents.front();
        parents.pop_front();
        for (int child = 0; child < fanOut && made < count; ++child, ++made) {
            const std::string path = parent + "\\k" + std::to_string(child);
            vx::registry::RegistryKey key;
            if (key.create(vx::platform::kClassesRoot, path, vx::platform::kKeyAllAccess | view) !=
                vx::platform::kSuccess) {
                std::fprintf(stderr, "deletekey-bench: cannot create HKCR\\%s\n", path.c_str());
                tree.ok = false;
                return tree;
            }
            tree.levels = std::max(tree.levels, depth + 1);
            parents.emplace_back(path, depth + 1);
        }
    }
    return tree;
}

bool ClassKeyExists(std::uint32_t view) {
    vx::registry::RegistryKey key;
    return key.open(vx::platform::kClassesRoot, std::string("CLSID\\") + kBenchClass,
                    vx::platform::kKeyQueryValue | view) == vx::platform::kSuccess;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// One N, R times; false when a deletion did not remove the tree.
bool Measure(int count, int repeat, int fanOut, std::uint32_t view) {
    std::vector<double> create, remove, cpu;
    int levels = 0;
    for (int run = 0; run < repeat; ++run) {
        const Stopwatch building;
        const Tree tree = BuildTree(count, fanOut, view);
        create.push_back(building.elapsedMs());
        if (!tree.ok) {
            return false;
        }
        levels = tree.levels;
        bool notFound = false;
        const double cpuBefore = ProcessCpuMs();
        const Stopwatch deleting;
        const std::uint32_t status =
            vx::deletion::fDeleteKey("HKCR", "CLSID", kBenchClass, notFound);
        remove.push_back(deleting.elapsedMs());
        cpu.push_back(ProcessCpuMs() - cpuBefore);
        if (status != 0 || notFound || ClassKeyExists(view)) {
            std::fprintf(stderr, "deletekey-bench: N=%d: status %u, notFound %d, class key %s\n",
                         count, status, notFound ? 1 : 0,
                         ClassKeyExists(view) ? "still there" : "gone");
            return false;
        }
    }
    const double deleteMs = Median(remove);
    const double cpuMs = Median(cpu);
    std::printf("%5d  %6d  %9.1f  %9.1f  %17.3f  %10.1f  %14.3f\n", count, levels, Median(create),
                deleteMs, deleteMs / count, cpuMs, cpuMs / count);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 5;
    int fanOut = 10;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else if (arg == "--fanout" && i + 1 < argc) {
            fanOut = std::atoi(argv[++i]);
        } else {
            counts.push_back(std::atoi(argv[i]));
        }
    }
    if (counts.empty()) {
        counts = {10, 100, 1000};
    }
    if (repeat < 1 || fanOut < 1 ||
        std::any_of(counts.begin(), counts.end(), [](int n) { return n < 1; })) {
        std::fprintf(stderr, "usage: deletekey-bench [--repeat R] [--fanout F] [N...]\n");
        return kExitUsage;
    }

    vx::platform::win32::Win32Platform backend;
    vx::platform::Install(backend);
    std::string classPath = std::string("CLSID\\") + kBenchClass;
    const std::uint32_t view = vx::registry::ApplyViewRule(classPath);
    // A tree left by an interrupted run would count against the first measurement.
    bool leftover = false;
    static_cast<void>(vx::deletion::fDeleteKey("HKCR", "CLSID", kBenchClass, leftover));

    std::printf("# fDeleteKey of HKCR\\CLSID\\%s, %s view, fan-out %d, median of %d runs\n",
                kBenchClass, view != 0 ? "64-bit" : "default", fanOut, repeat);
    std::printf("%5s  %6s  %9s  %9s  %17s  %10s  %14s\n", "keys", "levels", "create_ms",
                "delete_ms", "delete_ms_per_key", "own_cpu_ms", "cpu_ms_per_key");
    for (const int count : counts) {
        if (!Measure(count, repeat, fanOut, view)) {
            return kExitFailed;
        }
    }
    return 0;
}
