// Shared pieces of the benchmarks: timing, medians, running the tool a user would
// otherwise use, and the "ratio NAME VALUE" line that scripts collect.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
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

// Times ours and theirs alternately (A B A B ...) and prints both medians and the
// ratio ours/theirs: below 1 means the program is faster. `prepare`, when given, runs
// untimed before every timed run (a move needs a fresh source each time).
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
    timed(ours);      // warm caches on both sides before measuring
    timed(theirs);
    for (int i = 0; i < rounds; ++i) {
        a.push_back(timed(ours));
        b.push_back(timed(theirs));
    }
    const double ratio = median(a) / median(b);
    std::printf("%s: ours %.2f ms, theirs %.2f ms (median of %d)\n", name, median(a) * 1000, median(b) * 1000,
                rounds);
    std::printf("ratio %s %.2f\n", name, ratio);
    std::fflush(stdout);
    return ratio;
}

} // namespace bench
