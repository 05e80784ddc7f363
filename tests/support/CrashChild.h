#pragma once

// For crash tests: a child process does the work and the parent kills it
// with SIGKILL after a given number of the file-system events it causes.

#include "tests/support/FolderEvents.h"

#include <QtGlobal>

#include <csignal>
#include <functional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// The seed and the number of runs; DROPWELL_CRASH_SEED and DROPWELL_CRASH_RUNS
// give others, for a longer search.
struct CrashRuns {
    quint32 seed;
    int runs;

    static CrashRuns fromEnvironment(int defaultRuns)
    {
        bool seedGiven = false, runsGiven = false;
        const auto seed = quint32(qEnvironmentVariableIntValue("DROPWELL_CRASH_SEED", &seedGiven));
        const int runs = qEnvironmentVariableIntValue("DROPWELL_CRASH_RUNS", &runsGiven);
        return {seedGiven ? seed : 20261207u, runsGiven ? runs : defaultRuns};
    }
};

// Runs `work` in a child process and kills it once `events` has reported
// `count` events, or lets it end. Whether it was killed before it ended. The
// child leaves without destructors: what it shares belongs to the parent.
inline bool killedAfter(FolderEvents& events, int count, const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    for (int seen = 0; seen < count;) {
        pollfd ready {events.descriptor(), POLLIN, 0};
        ::poll(&ready, 1, 20);
        seen += int(events.take().size());
        if (seen < count && ::waitpid(child, nullptr, WNOHANG) == child)
            return false;
    }
    const bool killed = ::kill(child, SIGKILL) == 0;
    int status = 0;
    ::waitpid(child, &status, 0);
    return killed && WIFSIGNALED(status);
}
