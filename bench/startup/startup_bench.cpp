// Start-up benchmark: the time from starting the viewer on the demo manual to
// its first painted frame (opening animation off), against a minimal Qt
// widgets program that paints one picture of the same size, in the same run.
// Both report their first frame on standard error with the steady clock
// (CARMANUAL_REPORT_FIRST_PAINT=1); the time counts from just before the
// process is spawned, so loading the libraries is included.
//
// The viewer builds what its first screen does not show right after that
// frame and reports when it is done ("startup-complete"); it is stopped only
// then, so its peak memory (maximum resident set size) and CPU time cover
// the whole start-up. The peer is stopped after its frame. The wall clock on
// a busy machine also counts the time other programs held the processor.
//
// Runs under whatever display the environment names: start it with
// bench/startup/run.sh (a private Xvfb) or QT_QPA_PLATFORM=offscreen.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct TRun {
    double StartToPaintMs = 0; // from spawning the process
    double StartToReadyMs = 0; // until start-up is complete (the viewer); the first frame otherwise
    double MainToPaintMs = 0;  // from the program's own main()
    double CpuMs = 0;          // user and system time of the process until it was stopped
    double PeakRssMb = 0;
};

struct TSubject {
    std::string Name;
    std::vector<std::string> Argv;
    bool WaitForReady = false;
    std::vector<TRun> Runs;
};

// A private settings and runtime folder per run: no lock or settings carry
// over from one start to the next.
class TRunFolder {
public:
    TRunFolder() {
        char name[] = "/tmp/carmanual-startup.XXXXXX";
        if (!mkdtemp(name)) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_path = name;
        fs::create_directory(m_path / "config");
        fs::create_directory(m_path / "runtime");
        ::chmod((m_path / "runtime").c_str(), 0700);
    }
    ~TRunFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TRunFolder(const TRunFolder&) = delete;
    TRunFolder& operator=(const TRunFolder&) = delete;

    fs::path Config() const { return m_path / "config"; }
    fs::path Runtime() const { return m_path / "runtime"; }

private:
    fs::path m_path;
};

std::vector<std::string> ChildEnvironment(const TRunFolder& folder) {
    const std::vector<std::pair<std::string, std::string>> overrides = {
        {"XDG_CONFIG_HOME", folder.Config().string()},
        {"XDG_RUNTIME_DIR", folder.Runtime().string()},
        {"CARMANUAL_REPORT_FIRST_PAINT", "1"},
        {"CARMANUAL_NO_OPENING_ANIMATION", "1"},
    };
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const bool replaced = std::any_of(overrides.begin(), overrides.end(), [&](const auto& o) {
            return entry.rfind(o.first + "=", 0) == 0;
        });
        if (!replaced)
            env.push_back(entry);
    }
    for (const auto& [key, value] : overrides)
        env.push_back(key + "=" + value);
    return env;
}

std::vector<char*> CStrings(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Reads "<what> <ms> ms clock_us=<us>" from the child's output; the time
// from spawning it in milliseconds, or nothing while the line is not there.
std::optional<double> ReportedAt(const std::string& output, const std::string& what,
                                 Clock::time_point spawned, double* mainMs, std::string& error) {
    const std::size_t at = output.find(what + " ");
    if (at == std::string::npos || output.find('\n', at) == std::string::npos)
        return std::nullopt;
    double ms = 0;
    long long clockUs = 0;
    if (std::sscanf(output.c_str() + at + what.size(), " %lf ms clock_us=%lld", &ms, &clockUs) !=
        2) {
        error = "unreadable report: " + output.substr(at);
        return std::nullopt;
    }
    if (mainMs)
        *mainMs = ms;
    const auto spawnedUs =
        std::chrono::duration_cast<std::chrono::microseconds>(spawned.time_since_epoch()).count();
    return static_cast<double>(clockUs - spawnedUs) / 1000.0;
}

// waitForReady: the child also reports "startup-complete" (the viewer, whose
// start-up goes on after its first frame); it is stopped after that, so its
// peak memory includes everything start-up builds.
std::optional<TRun> RunOnce(std::vector<std::string> argv, bool waitForReady, int timeoutMs,
                            std::string& error) {
    TRunFolder folder;
    std::vector<std::string> env = ChildEnvironment(folder);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    auto args = CStrings(argv);
    auto envp = CStrings(env);

    pid_t pid = 0;
    const Clock::time_point spawned = Clock::now();
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        error = "cannot start " + argv[0] + ": " + std::strerror(rc);
        return std::nullopt;
    }

    std::string output;
    std::optional<TRun> run;
    bool done = false;
    const Clock::time_point deadline = spawned + std::chrono::milliseconds(timeoutMs);
    while (!done && error.empty()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            error = argv[0] + ": no " + (run ? "complete start-up" : "first frame") + " within " +
                    std::to_string(timeoutMs) + " ms";
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) {
            error = argv[0] + " ended before its first frame: " + output;
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
        if (!run) {
            double mainMs = 0;
            const auto paint = ReportedAt(output, "first-paint", spawned, &mainMs, error);
            if (!paint)
                continue;
            run = TRun{*paint, *paint, mainMs, 0, 0};
        }
        if (!waitForReady) {
            done = true;
        } else if (const auto ready =
                       ReportedAt(output, "startup-complete", spawned, nullptr, error)) {
            run->StartToReadyMs = *ready;
            done = true;
        }
    }
    if (!done)
        run.reset();
    // Killed: a program that saves its state on SIGTERM would add its
    // shutdown to the CPU time.
    ::kill(pid, SIGKILL);
    ::close(fds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (run) {
        auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
        run->CpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
        run->PeakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    }
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename F> std::vector<double> Column(const std::vector<TRun>& runs, F field) {
    std::vector<double> values;
    for (const TRun& r : runs)
        values.push_back(field(r));
    return values;
}

std::string Option(int argc, char** argv, const std::string& name, const std::string& fallback) {
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind(prefix, 0) == 0)
            return std::string(argv[i]).substr(prefix.size());
    return fallback;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: startup_bench [--runs=N] [--warmup=N] [--program=PATH] "
                        "[--peer=PATH] [--picture=PATH] [--timeout-ms=N]\n");
            return 0;
        }
    }
    const int runs = std::max(1, std::atoi(Option(argc, argv, "runs", "20").c_str()));
    const int warmup = std::max(0, std::atoi(Option(argc, argv, "warmup", "2").c_str()));
    const int timeoutMs = std::atoi(Option(argc, argv, "timeout-ms", "20000").c_str());
    const std::string program = Option(argc, argv, "program", CARMANUAL_BENCH_PROGRAM);
    const std::string peer = Option(argc, argv, "peer", CARMANUAL_BENCH_PEER);
    const std::string picture = Option(argc, argv, "picture", CARMANUAL_BENCH_PICTURE);
    for (const std::string& file : {program, peer, picture}) {
        if (!fs::exists(file)) {
            std::fprintf(stderr, "startup_bench: %s is missing (build the demo manual first)\n",
                         file.c_str());
            return 1;
        }
    }

    std::vector<TSubject> subjects = {
        {"carmanual, demo manual", {program}, true, {}},
        {"peer, one 800x600 picture", {peer, picture}, false, {}},
        // For information: the peer with one line of text, which loads the
        // font configuration as the viewer's captions must.
        {"peer + one caption", {peer, picture, "--caption"}, false, {}},
    };
    const char* display = std::getenv("DISPLAY");
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("start-up to first painted frame: %d runs each after %d warm-up, interleaved; "
                "platform %s, DISPLAY %s\n",
                runs, warmup, platform ? platform : "(default)", display ? display : "(none)");

    for (int i = 0; i < warmup + runs; ++i) {
        // Alternate which goes first, so neither always finds the caches as
        // the other left them.
        for (std::size_t k = 0; k < subjects.size(); ++k) {
            TSubject& s = subjects[(k + static_cast<std::size_t>(i)) % subjects.size()];
            std::string error;
            const auto run = RunOnce(s.Argv, s.WaitForReady, timeoutMs, error);
            if (!run) {
                std::fprintf(stderr, "startup_bench: %s\n", error.c_str());
                return 1;
            }
            if (i >= warmup)
                s.Runs.push_back(*run);
        }
    }

    std::printf("%-28s %10s %9s %9s %12s %10s %10s %14s\n", "", "median", "min", "max",
                "from main()", "CPU", "complete", "peak RSS");
    std::vector<double> medians;
    std::vector<double> cpuMedians;
    for (const TSubject& s : subjects) {
        const auto total = Column(s.Runs, [](const TRun& r) { return r.StartToPaintMs; });
        const auto fromMain = Column(s.Runs, [](const TRun& r) { return r.MainToPaintMs; });
        const auto cpu = Column(s.Runs, [](const TRun& r) { return r.CpuMs; });
        const auto rss = Column(s.Runs, [](const TRun& r) { return r.PeakRssMb; });
        const auto ready = Column(s.Runs, [](const TRun& r) { return r.StartToReadyMs; });
        medians.push_back(Median(total));
        cpuMedians.push_back(Median(cpu));
        std::printf(
            "%-28s %7.1f ms %6.1f ms %6.1f ms %9.1f ms %7.1f ms %7.1f ms %8.1f MB (max %.1f)\n",
            s.Name.c_str(), Median(total), *std::min_element(total.begin(), total.end()),
            *std::max_element(total.begin(), total.end()), Median(fromMain), Median(cpu),
            Median(ready), Median(rss), *std::max_element(rss.begin(), rss.end()));
    }
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    const double wall = ratio(medians[0], medians[1]);
    std::printf("ratio carmanual/peer: %.2f (target <= 1.5): %s   [CPU time: %.2f]\n", wall,
                wall <= 1.5 ? "met" : "missed", ratio(cpuMedians[0], cpuMedians[1]));
    std::printf("ratio carmanual/peer with a caption: %.2f   [CPU time: %.2f] (for information)\n",
                ratio(medians[0], medians[2]), ratio(cpuMedians[0], cpuMedians[2]));
    return 0;
}
