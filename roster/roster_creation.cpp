#include "roster/roster_creation.h"

#include "roster/file_helpers.h"
#include "roster/hinagata_file.h"
#include "roster/roster_paths.h"
#include "schooldata/access.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/settings.h"

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace dorv {
namespace {

// The data folder, locked against every other creation for as long as the
// object lives. The lock is on the folder, not on "Hinagata.xls": the
// service replaces that file with a new one when it saves the numbers.
class CreationLock {
public:
    CreationLock(const std::string &dataFolder, const std::string &hinagata, const std::string &templ) {
        fd_ = ::open(dataFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // Without its folder the template cannot be opened either.
        if (fd_ < 0) throw RosterFileError("ファイル " + templ + " は開けません");
        const auto limit = GetRetryTiming().limit;
        const auto interval = GetRetryTiming().interval;
        const auto start = std::chrono::steady_clock::now();
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (std::chrono::steady_clock::now() - start >= limit || !PumpWait(static_cast<std::uint32_t>(interval.count()))) {
                ::close(fd_);
                throw RosterFileError("ファイル " + hinagata + " を作成できません");
            }
        }
    }
    ~CreationLock() { ::close(fd_); }  // closing releases the lock
    CreationLock(const CreationLock &) = delete;
    CreationLock &operator=(const CreationLock &) = delete;

private:
    int fd_ = -1;
};

}  // namespace

void CreateRosterFromTemplate(THinagataFile &hinagata, const std::string &rosterPath, std::uint8_t classCount) {
    const std::string templ = TemplatePath();
    const std::string copy = HinagataPath();
    CreationLock lock(DataFolderPath(), copy, templ);

    CopyFileChunked(templ, copy, CopyDest::ReplaceFile);
    hinagata.WriteNumbers(classCount);
    CopyFileChunked(copy, rosterPath, CopyDest::NewFile);
    ::unlink(copy.c_str());
}

void PrepareRoster(TKurasuSuData &counts, THinagataFile &hinagata, int grade) {
    counts.LoadKurasuSu();
    const std::string roster = MeiboPathOf(grade);
    if (!CanOpenFile(roster)) CreateRosterFromTemplate(hinagata, roster, counts.GradeClasses[grade]);
}

}  // namespace dorv
