// A file system on which every lock call fails with one errno, in place of
// fcntl(2) for as long as the object lives.
#pragma once

#include <cerrno>

#include "schooldata/workbook_lock.h"

namespace dorv::testing {

class FailingLocks {
public:
    explicit FailingLocks(int err) {
        error() = err;
        count() = 0;
        SetLockCall(&fail);
    }
    ~FailingLocks() { SetLockCall(nullptr); }
    FailingLocks(const FailingLocks &) = delete;
    FailingLocks &operator=(const FailingLocks &) = delete;

    // The lock calls made since the object was made.
    int calls() const { return count(); }

private:
    static int &error() {
        static int e = 0;
        return e;
    }
    static int &count() {
        static int n = 0;
        return n;
    }
    static int fail(int, int, struct flock *) {
        ++count();
        errno = error();
        return -1;
    }
};

}  // namespace dorv::testing
