// Temporary files that must not outlive a program ended by a signal, and
// steps that must not be cut in two by one.
#pragma once

#include <csignal>
#include <string>

namespace resheat {

// While a guard holds a path, SIGINT, SIGTERM, SIGHUP and SIGXFSZ remove the
// file before they take their usual effect (the handler the program had, or
// ending it).  A signal the program ignores stays ignored, so a save under
// nohup is not cut short by a hang-up.  Create the file and its guard
// inside a HoldSignals, so that no signal falls between the two.
class TemporaryFileGuard {
public:
    explicit TemporaryFileGuard(const std::string &path);
    ~TemporaryFileGuard(); // stops guarding; the file is left as it is then
    TemporaryFileGuard(const TemporaryFileGuard &) = delete;
    TemporaryFileGuard &operator=(const TemporaryFileGuard &) = delete;

    // Stops guarding early: the path names a kept file now, or none.
    void release();

private:
    int slot_ = -1;
};

// Holds SIGINT, SIGTERM, SIGHUP and SIGXFSZ back in the calling thread for
// its lifetime; one that comes meanwhile takes effect when it ends.
class HoldSignals {
public:
    HoldSignals();
    ~HoldSignals();
    HoldSignals(const HoldSignals &) = delete;
    HoldSignals &operator=(const HoldSignals &) = delete;

private:
    sigset_t saved_;
};

} // namespace resheat
