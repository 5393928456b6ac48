// Shared pieces of the benchmarks: timing, medians, running the tool a user would
// otherwise use, and the "ratio NAME VALUE" line that scripts collect.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

inline double secondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// Runs a command with its output thrown away and waits for it; false when it failed.
inline bool runQuiet(const QStringList& command)
{
    std::vector<QByteArray> bytes;
    for (const QString& part : command)
        bytes.push_back(part.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Times ours and theirs in A B B A order and prints the median of the ratios of each
// run of ours to the run of theirs next to it, with their spread: below 1 means the
// program is faster. A disk's speed drifts along a sequence (caches fill, write-back
// starts), so a side always run first or second would carry that drift; adjacent
// pairs in mirrored order share it, and a median of ratios ignores an odd round.
// `prepare`, when given, runs untimed before every timed run (a move needs a fresh
// source each time).
inline double compare(const char* name, int rounds, const std::function<void()>& ours,
                      const std::function<void()>& theirs, const std::function<void()>& prepare = {})
{
    auto timed = [&](const std::function<void()>& work) {
        if (prepare)
            prepare();
        return secondsOf(work);
    };
    std::vector<double> a;
    std::vector<double> b;
    std::vector<double> ratios;
    timed(ours);      // warm caches on both sides before measuring
    timed(theirs);
    for (int i = 0; i < rounds; ++i) {
        const double a1 = timed(ours);
        const double b1 = timed(theirs);
        const double b2 = timed(theirs);
        const double a2 = timed(ours);
        a.insert(a.end(), {a1, a2});
        b.insert(b.end(), {b1, b2});
        if (b1 > 0)
            ratios.push_back(a1 / b1);
        if (b2 > 0)
            ratios.push_back(a2 / b2);
    }
    const double ratio = median(ratios);
    const auto [low, high] = ratios.empty() ? std::pair<double, double>{0, 0}
                                            : std::pair<double, double>{*std::min_element(ratios.begin(), ratios.end()),
                                                                        *std::max_element(ratios.begin(), ratios.end())};
    std::printf("%s: ours %.2f ms, theirs %.2f ms (medians of %zu runs each, A B B A)\n", name, median(a) * 1000,
                median(b) * 1000, a.size());
    std::printf("%s: pairwise ratios from %.2f to %.2f\n", name, low, high);
    std::printf("ratio %s %.2f\n", name, ratio);
    std::fflush(stdout);
    return ratio;
}

} // namespace bench
