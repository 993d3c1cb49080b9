#include "roster/file_helpers.h"
#include "roster/hinagata_file.h"
#include "roster/roster_creation.h"
#include "roster_fixture.h"
#include "schooldata/access.h"
#include "schooldata/excel_service.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/workbook_lock.h"
#include "tests/schooldata/failing_locks.h"
#include "tests/schooldata/other_user.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;
using rostertest::Cells;
using rostertest::DataFolder;
using rostertest::FileBytes;
using rostertest::MessageOf;

namespace {

class RosterCreation : public ::testing::Test {
protected:
    void SetUp() override { dorv::SetRetryTiming({std::chrono::milliseconds(10), std::chrono::milliseconds(200)}); }
    void TearDown() override {
        dorv::SetRetryTiming({});
        dorv::SetBlockWriter(nullptr);
    }

    // PrepareRoster as the main window runs it; the message it raises.
    std::string prepare(int grade) {
        dorv::TKurasuSuData counts;
        dorv::THinagataFile hinagata;
        return MessageOf([&] { dorv::PrepareRoster(counts, hinagata, grade); });
    }
};

// The cells the creation puts into column A for `classes` classes.
Cells numbersOf(int classes) {
    Cells cells;
    for (int c = 1; c <= classes; ++c)
        for (int n = 1; n <= dorv::kStudentsPerClass; ++n)
            cells[{1, dorv::SlotOf(c, n), 0}] = std::to_string(c * 100 + n);
    return cells;
}

TEST_F(RosterCreation, AMissingRosterComesFromTheTemplateWithTheNumbersOfItsClasses) {
    const struct { int grade, classes; } cases[] = {{2, 6}, {1, 4}, {3, 3}};
    DataFolder folder({4, 6, 3});
    for (const auto &c : cases) {
        EXPECT_EQ(prepare(c.grade), "(no error)");
        Cells expected = rostertest::TemplateCells();
        for (const auto &[key, value] : numbersOf(c.classes)) expected[key] = value;
        EXPECT_EQ(rostertest::ReadCells(folder.roster(c.grade)), expected) << "grade " << c.grade;
        EXPECT_FALSE(fs::exists(folder.hinagata()));
    }
    const Cells grade2 = rostertest::ReadCells(folder.roster(2));
    EXPECT_EQ(grade2.at({1, 1, 0}), "101");
    EXPECT_EQ(grade2.at({1, 42, 0}), "142");
    EXPECT_EQ(grade2.at({1, 43, 0}), "201");
    EXPECT_EQ(grade2.at({1, 252, 0}), "642");
    EXPECT_EQ(grade2.count({1, 253, 0}), 0u);
}

TEST_F(RosterCreation, TheCreatedRosterReadsTheSameInXlrd) {
    DataFolder folder({2, 2, 2});
    ASSERT_EQ(prepare(1), "(no error)");
    const auto lines = rostertest::XlrdCells(folder.roster(1), "Data");
    const auto has = [&](const std::string &line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("0\t0\ttext\t番号"));
    EXPECT_TRUE(has("1\t0\tnumber\t101"));
    EXPECT_TRUE(has("42\t0\tnumber\t142"));
    EXPECT_TRUE(has("43\t0\tnumber\t201"));
    EXPECT_TRUE(has("84\t0\tnumber\t242"));
    EXPECT_TRUE(has("1\t4\ttext\t名前は全角で"));
    EXPECT_TRUE(has("430\t0\tnumber\t999"));
    EXPECT_EQ(lines.size(), 2u * 42u + 6u);
    EXPECT_EQ(rostertest::XlrdCells(folder.roster(1), "説明"),
              std::vector<std::string>{"0\t0\ttext\tこの雛形から各学年の名簿を作ります"});
}

TEST_F(RosterCreation, ClassCountsOutsideTheSlotModel) {
    const struct { int count, classes; } cases[] = {{0, 0}, {10, 10}, {12, 10}};
    for (const auto &c : cases) {
        DataFolder folder({c.count, 1, 1});
        EXPECT_EQ(prepare(1), "(no error)") << c.count;
        Cells expected = rostertest::TemplateCells();
        for (const auto &[key, value] : numbersOf(c.classes)) expected[key] = value;
        EXPECT_EQ(rostertest::ReadCells(folder.roster(1)), expected) << c.count;
    }
}

TEST_F(RosterCreation, AFreeRosterIsLeftAsItIs) {
    DataFolder folder;
    folder.writeRoster(1, {{1, "山田 太郎", "男"}});
    const std::string before = FileBytes(folder.roster(1));
    const auto mtime = fs::last_write_time(folder.roster(1));
    EXPECT_EQ(prepare(1), "(no error)");
    EXPECT_EQ(FileBytes(folder.roster(1)), before);
    EXPECT_EQ(fs::last_write_time(folder.roster(1)), mtime);
    EXPECT_FALSE(fs::exists(folder.hinagata()));
}

TEST_F(RosterCreation, ARosterThatCannotBeOpenedNowIsNeverReplaced) {
    enum class Hold { DesktopLockFile, ServiceLock, ReadOnly, Folder, GradeFolderMissing };
    for (Hold hold :
         {Hold::DesktopLockFile, Hold::ServiceLock, Hold::ReadOnly, Hold::Folder, Hold::GradeFolderMissing}) {
        SCOPED_TRACE(static_cast<int>(hold));
        DataFolder folder;
        const std::string roster = folder.roster(2);
        std::unique_ptr<dorv::TExcelWorkbook> held;
        dorv::TExcelApplication app;
        switch (hold) {
        case Hold::DesktopLockFile:
            folder.writeRoster(2, {{1, "山田 太郎", "男"}});
            rostertest::WriteBytes(dorv::DesktopLockFileNames(roster)[0], ",someone,host,10.12.2026 09:00,file:///");
            break;
        case Hold::ServiceLock:
            folder.writeRoster(2, {{1, "山田 太郎", "男"}});
            held = std::make_unique<dorv::TExcelWorkbook>();
            held->Open(app, roster);
            break;
        case Hold::ReadOnly:
            folder.writeRoster(2, {{1, "山田 太郎", "男"}});
            fs::permissions(roster, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            break;
        case Hold::Folder:
            fs::create_directory(roster);
            rostertest::WriteBytes(roster + "/memo.txt", "kept");
            break;
        case Hold::GradeFolderMissing: fs::remove_all(fs::path(roster).parent_path()); break;
        }
        const std::string before = hold == Hold::Folder || hold == Hold::GradeFolderMissing ? "" : FileBytes(roster);

        const std::string message = prepare(2);
        EXPECT_TRUE(message.starts_with("ファイル " + roster + " を作成できません")) << message;
        // Only a desktop program's lock file is named, so that a stale one can be found.
        const bool namesLockFile = message.find(dorv::DesktopLockFileNames(roster)[0]) != std::string::npos;
        EXPECT_EQ(namesLockFile, hold == Hold::DesktopLockFile) << message;
        if (hold != Hold::DesktopLockFile) {
            EXPECT_EQ(message, "ファイル " + roster + " を作成できません");
        }

        if (held) held->Close(false);
        switch (hold) {
        case Hold::Folder:
            EXPECT_TRUE(fs::is_directory(roster));
            EXPECT_EQ(FileBytes(roster + "/memo.txt"), "kept");
            EXPECT_EQ(std::distance(fs::directory_iterator(roster), fs::directory_iterator()), 1);
            break;
        case Hold::GradeFolderMissing: EXPECT_FALSE(fs::exists(fs::path(roster).parent_path())); break;
        default: EXPECT_EQ(FileBytes(roster), before);
        }
    }
}

TEST_F(RosterCreation, MissingTemplateOrClassCountsStopBeforeAnythingIsMade) {
    const struct {
        const char *remove;
        bool namesFile;
    } cases[] = {{"雛形-名簿.xls", true}, {"Kihon/KurasuSu.xls", false}};
    for (const auto &c : cases) {
        DataFolder folder;
        fs::remove(folder.file(c.remove));
        const std::string msg = prepare(1);
        if (c.namesFile) EXPECT_EQ(msg, "ファイル " + folder.templ() + " は開けません");
        else EXPECT_NE(msg, "(no error)");
        EXPECT_FALSE(fs::exists(folder.roster(1))) << c.remove;
        EXPECT_FALSE(fs::exists(folder.hinagata())) << c.remove;
    }
}

TEST_F(RosterCreation, ALeftoverCopyIsReplaced) {
    DataFolder folder({1, 1, 1});
    rostertest::WriteBytes(folder.hinagata(), "a copy left by a failed creation");
    EXPECT_EQ(prepare(1), "(no error)");
    Cells expected = rostertest::TemplateCells();
    for (const auto &[key, value] : numbersOf(1)) expected[key] = value;
    EXPECT_EQ(rostertest::ReadCells(folder.roster(1)), expected);
}

// A disk that is full for the roster only, after its first block.
bool g_rosterBlockWritten = false;
ssize_t rosterDiskFull(int fd, const void *buf, std::size_t count) {
    char link[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link - 1);
    if (n > 0 && std::string(link, static_cast<std::size_t>(n)).ends_with("名簿.xls")) {
        if (!g_rosterBlockWritten) {
            g_rosterBlockWritten = true;
            return ::write(fd, buf, std::min<std::size_t>(count, 4096));
        }
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, buf, count);
}

TEST_F(RosterCreation, AFailedWriteLeavesNoPartialRoster) {
    DataFolder folder;
    g_rosterBlockWritten = false;
    dorv::SetBlockWriter(&rosterDiskFull);
    EXPECT_EQ(prepare(1), "ファイル " + folder.roster(1) + " を作成できません");
    dorv::SetBlockWriter(nullptr);
    EXPECT_FALSE(fs::exists(folder.roster(1)));
    // The next try, with room on the disk, creates it.
    EXPECT_EQ(prepare(1), "(no error)");
    EXPECT_EQ(rostertest::ReadCells(folder.roster(1)).at({1, 1, 0}), "101");
}

enum class LockOutcome { Created, Refused, Busy };

TEST_F(RosterCreation, ALockThatIsHeldIsWaitedForOneTheFileSystemRefusesIsReportedAtOnce) {
    using enum LockOutcome;
    const struct {
        const char *name;
        int err;
        bool rosterExists;
        LockOutcome outcome;
    } cases[] = {
        {"held", EAGAIN, false, Busy},
        {"held (EACCES)", EACCES, false, Busy},
        // Network shares that will not lock this file.
        {"refused", EBADF, false, Refused},
        {"refused on the roster", EBADF, true, Refused},
        {"refused, deadlock", EDEADLK, false, Refused},
        // No locks at all: done unlocked, as the service saves.
        {"no locks", ENOLCK, false, Created},
        {"not supported", EOPNOTSUPP, false, Created},
        {"no locks, roster there", ENOLCK, true, Created},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder folder({2, 1, 1});
        if (c.rosterExists) folder.writeRoster(1, {{1, "山田 太郎", "男"}});
        const std::string before = c.rosterExists ? FileBytes(folder.roster(1)) : "";
        std::string message;
        int lockCalls = 0;
        {
            dorv::testing::FailingLocks locks(c.err);
            message = prepare(1);
            lockCalls = locks.calls();
        }

        const std::string locked = c.rosterExists ? folder.roster(1) : folder.file(".Hinagata.lock");
        switch (c.outcome) {
        case Created:
            EXPECT_EQ(message, "(no error)");
            EXPECT_EQ(rostertest::ReadCells(folder.roster(1)).at({1, 1, 0}), "101");
            break;
        case Refused:
            EXPECT_TRUE(message.starts_with("ファイル " + locked + " をロックできません（")) << message;
            EXPECT_TRUE(message.ends_with("）")) << message;
            EXPECT_EQ(lockCalls, 1);  // not tried again
            break;
        case Busy:
            EXPECT_EQ(message, "ファイル " + folder.hinagata() + " を作成できません");
            EXPECT_GT(lockCalls, 1);
            break;
        }
        if (c.rosterExists) {
            EXPECT_EQ(FileBytes(folder.roster(1)), before);
        }
        if (c.outcome != Created) {
            EXPECT_EQ(fs::exists(folder.roster(1)), c.rosterExists);
            EXPECT_FALSE(fs::exists(folder.hinagata()));
        } else {
            EXPECT_FALSE(fs::exists(folder.file(".Hinagata.lock")));
        }
    }
}

TEST_F(RosterCreation, TwoProgramsCreatingAtOnceGetTheirOwnRosters) {
    dorv::SetRetryTiming({std::chrono::milliseconds(5), std::chrono::milliseconds(20000)});
    for (int round = 0; round < 5; ++round) {
        DataFolder folder({2, 7, 1});
        const pid_t child = ::fork();
        if (child == 0) {
            dorv::TKurasuSuData counts;
            dorv::THinagataFile hinagata;
            int rc = 0;
            try {
                dorv::PrepareRoster(counts, hinagata, 2);
            } catch (...) {
                rc = 1;
            }
            ::_exit(rc);
        }
        EXPECT_EQ(prepare(1), "(no error)");
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        for (const auto &[grade, classes] : {std::pair{1, 2}, std::pair{2, 7}}) {
            Cells expected = rostertest::TemplateCells();
            for (const auto &[key, value] : numbersOf(classes)) expected[key] = value;
            EXPECT_EQ(rostertest::ReadCells(folder.roster(grade)), expected) << "round " << round << " grade " << grade;
        }
        EXPECT_FALSE(fs::exists(folder.hinagata()));
        EXPECT_FALSE(fs::exists(folder.file(".Hinagata.lock")));
    }
}

// A roster one teacher's opening creates in the folder the teachers share is
// the next teacher's to open and save, whether the group comes from a setgid
// folder or from the creator's membership.
TEST_F(RosterCreation, ARosterCreatedInTheGroupsFolderIsTheNextTeachersToSave) {
    using namespace dorv::testing;
    const struct {
        const char *name;
        mode_t mode;
    } folders[] = {{"group folder", 0775}, {"setgid group folder", 02775}};
    for (const auto &[name, folderMode] : folders) {
        SCOPED_TRACE(name);
        DataFolder folder({4, 6, 3});
        const std::string roster = folder.roster(2);
        Share(fs::path(folder.data()), kStaffGroup, folderMode);
        Share(fs::path(roster).parent_path(), kStaffGroup, folderMode);
        Share(folder.templ(), kStaffGroup, 0664);

        // Teacher A's umask would keep the group from writing a new file.
        const ChildRun first = RunAs(kTeacherA, [&] {
            if (const std::string m = prepare(2); m != "(no error)") throw std::runtime_error(m);
        });
        EXPECT_TRUE(first.ok()) << first.status << " " << first.message;
        struct stat st {};
        ASSERT_EQ(::stat(roster.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, kTeacherA.uid);
        EXPECT_EQ(st.st_gid, kStaffGroup);
        EXPECT_EQ(st.st_mode & 07777, 0664u);
        EXPECT_FALSE(fs::exists(folder.hinagata()));

        const ChildRun second = RunAs(kTeacherB, [&] {
            if (const std::string m = prepare(2); m != "(no error)") throw std::runtime_error(m);
            dorv::SaveWorkbook(roster, [](dorv::ServiceSession &s) { s.Sheet("Data").WriteText("B2", "山田太郎"); });
        });
        EXPECT_TRUE(second.ok()) << second.status << " " << second.message;
        Cells expected = rostertest::TemplateCells();
        for (const auto &[key, value] : numbersOf(6)) expected[key] = value;
        expected[{1, 1, 1}] = "山田太郎";
        EXPECT_EQ(rostertest::ReadCells(roster), expected);
    }
}

}  // namespace
