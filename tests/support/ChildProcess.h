// Scenarios that must run in a process of their own: one that changes
// process-wide state (signal actions, resource limits, standard streams),
// one that may be killed, or one that must not run as root.
#pragma once

#include <functional>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace resheat::testing {

// Runs `scenario` in a child process, which drops to an unprivileged user
// first when `unprivileged` and the test runs as root, and returns what it
// reports ("" when everything went as expected); nothing when the child
// could not drop its privileges.  `status`, when given, receives the
// child's wait status (to see a signal that ended it).
inline std::optional<std::string> InChild(bool unprivileged, const std::function<std::string()> &scenario,
                                          int *status = nullptr)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string report = "\x01"; // could not drop privileges
        const bool drop = unprivileged && ::geteuid() == 0;
        if (!drop || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0))
            report = scenario();
        const ssize_t written = ::write(fds[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    std::string report;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        report.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    if (status)
        *status = wstatus;
    if (report == "\x01")
        return std::nullopt;
    if (!status && (!WIFEXITED(wstatus) || WEXITSTATUS(wstatus) != 0))
        return "the child process failed: " + report;
    return report;
}

} // namespace resheat::testing
