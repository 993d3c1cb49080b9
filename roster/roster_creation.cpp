#include "roster/roster_creation.h"

#include "roster/file_helpers.h"
#include "roster/hinagata_file.h"
#include "roster/roster_paths.h"
#include "schooldata/access.h"
#include "schooldata/excel_service.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/settings.h"
#include "schooldata/workbook_lock.h"

#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <optional>

namespace dorv {
namespace {

// Every creation holds the lock file of the data folder for as long as it
// runs, with the writers' own lock. The lock cannot sit on "Hinagata.xls":
// the service replaces that file with a new one when it saves the numbers.
class CreationLock {
public:
    CreationLock() : path_(CreationLockPath()) {
        const RetryTiming timing = GetRetryTiming();
        const auto start = std::chrono::steady_clock::now();
        std::optional<WaitNotice> notice;
        for (;;) {
            WorkbookLock::Result r;
            try {
                r = lock_.acquire(path_, WorkbookLock::OpenMode::CreateForWriting);
            } catch (const LockRefused &e) {
                throw RosterFileError(LockRefusedMessage(path_, e.code().value()));
            } catch (const std::system_error &e) {
                const int code = e.code().value();
                // Without its folder the template cannot be opened either.
                if (code == ENOENT || code == ENOTDIR)
                    throw RosterFileError("ファイル " + TemplatePath() + " は開けません");
                throw RosterFileError("ファイル " + HinagataPath() + " を作成できません");
            }
            if (r == WorkbookLock::Result::Locked) return;
            // Another creation holds the lock: what the teacher waits for is the new roster file.
            if (!notice) notice.emplace(HinagataPath());
            if (std::chrono::steady_clock::now() - start >= timing.limit ||
                !PumpWait(static_cast<std::uint32_t>(timing.interval.count())))
                throw RosterFileError("ファイル " + HinagataPath() + " を作成できません");
        }
    }
    // Removed while still held: a creation waiting for it finds the file
    // gone and makes a new one.
    ~CreationLock() { ::unlink(path_.c_str()); }
    CreationLock(const CreationLock &) = delete;
    CreationLock &operator=(const CreationLock &) = delete;

private:
    std::string path_;
    WorkbookLock lock_;
};

std::string createError(const std::string &path) { return "ファイル " + path + " を作成できません"; }

// A desktop program that has the roster open would save its copy over a new
// one: waited for as for any writer, then refused naming its lock file.
void waitForDesktopRelease(const std::string &rosterPath) {
    std::string lockFile;
    try {
        RetryStep(rosterPath, [&] {
            try {
                RefuseWhileOpenOnDesktop(rosterPath);
            } catch (const DesktopHeldError &e) {
                lockFile = e.LockFile();
                throw;
            }
        });
    } catch (const ExcelError &) {
        throw RosterFileError(createError(rosterPath) + DesktopLockNote(lockFile));
    }
}

}  // namespace

void CreateRosterFromTemplate(THinagataFile &hinagata, const std::string &rosterPath, std::uint8_t classCount) {
    const std::string templ = TemplatePath();
    const std::string copy = HinagataPath();
    waitForDesktopRelease(rosterPath);
    CreationLock lock;

    CopyFileChunked(templ, copy, CopyDest::ReplaceFile);
    hinagata.WriteNumbers(classCount);
    try {
        CopyFileChunked(copy, rosterPath, CopyDest::NewFile);
    } catch (const RosterFileError &e) {
        // A lock file left behind by a crashed desktop program would keep
        // the roster out for ever; the message says where it lies.
        const std::string lockFile = DesktopLockFileBeside(rosterPath);
        if (!lockFile.empty()) throw RosterFileError(e.what() + DesktopLockNote(lockFile));
        throw;
    }
    ::unlink(copy.c_str());
}

void PrepareRoster(TKurasuSuData &counts, THinagataFile &hinagata, int grade) {
    counts.LoadKurasuSu();
    const std::string roster = MeiboPathOf(grade);
    // Waited for first, so that a roster the desktop program lets go of in
    // time opens as it is instead of failing the creation.
    waitForDesktopRelease(roster);
    if (!CanOpenFile(roster)) CreateRosterFromTemplate(hinagata, roster, counts.GradeClasses[grade]);
}

}  // namespace dorv
