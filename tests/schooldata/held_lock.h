// A workbook's lock held by another process, as another teacher's program
// holds it while it saves: taken in a child process that keeps it until
// release() (or destruction) lets it go.
#pragma once

#include "schooldata/workbook_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace dorv::testing {

class LockHeldElsewhere {
public:
    LockHeldElsewhere(const std::string &path, WorkbookLock::OpenMode mode = WorkbookLock::OpenMode::Existing) {
        int ready[2], go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0) {
            ADD_FAILURE() << "no pipe";
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(go[1]);
            char byte = 0;
            WorkbookLock lock;
            try {
                byte = lock.acquire(path, mode) == WorkbookLock::Result::Locked ? 1 : 0;
            } catch (...) {
            }
            (void)!::write(ready[1], &byte, 1);
            (void)!::read(go[0], &byte, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(go[0]);
        release_ = go[1];
        char byte = 0;
        if (::read(ready[0], &byte, 1) != 1 || byte != 1) ADD_FAILURE() << "the other process could not lock " << path;
        ::close(ready[0]);
    }
    ~LockHeldElsewhere() { release(); }
    LockHeldElsewhere(const LockHeldElsewhere &) = delete;
    LockHeldElsewhere &operator=(const LockHeldElsewhere &) = delete;

    void release() {
        if (pid_ <= 0) return;
        const char byte = 0;
        (void)!::write(release_, &byte, 1);
        ::close(release_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    bool held() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
};

}  // namespace dorv::testing
