// Saves by several teachers into a folder they share through a group: the
// saved workbook stays theirs to save, whoever saved it last, and keeps the
// access the school gave it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "schooldata/access.h"
#include "tests/schooldata/other_user.h"
#include "tests/schooldata/records_cells.h"
#include "tests/schooldata/school_fixture.h"

namespace dorv {
namespace {

namespace fs = std::filesystem;
using namespace dorv::testing;

// One cell saved by a teacher through the path every entry form takes.
ChildRun saveAs(const Teacher &who, const fs::path &file, const std::string &cell, const std::string &value) {
    return RunAs(who, [&] {
        SaveWorkbook(file.string(), [&](ServiceSession &session) { session.Sheet("Data").WriteCell(cell, value); });
    });
}

struct Access {
    uid_t owner;
    gid_t group;
    mode_t mode;
    std::optional<std::string> acl;
    bool operator==(const Access &) const = default;
};

Access accessOf(const fs::path &file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return {};
    return {st.st_uid, st.st_gid, st.st_mode & 07777, AclOf(file)};
}

std::ostream &operator<<(std::ostream &os, const Access &a) {
    return os << "owner " << a.owner << " group " << a.group << " mode " << std::oct << a.mode << std::dec
              << (a.acl ? " with an ACL of " + std::to_string(a.acl->size()) + " bytes" : " without ACL");
}

// An ACL such as an administrator gives a workbook: one more user who may
// write it and one more group who may read it.
const std::string kFileAcl =
    AclBytes({{UserObj, 6}, {User, 6, 40003}, {GroupObj, 6}, {Group, 4, 3100}, {Mask, 6}, {Other, 4}});
// A folder whose new files one more user may write.
const std::string kFolderDefaultAcl = AclBytes({{UserObj, 7}, {User, 7, 40003}, {GroupObj, 7}, {Mask, 7}, {Other, 5}});

TEST(SharedFolder, EveryTeacherOfTheGroupSavesAfterAnyOtherAndTheFileKeepsItsAccess) {
    const struct {
        const char *folder;
        mode_t folderMode;
        const std::string *folderDefaultAcl;
        mode_t fileMode;
        const std::string *fileAcl;
    } cases[] = {
        {"group folder", 0775, nullptr, 0664, nullptr},
        {"setgid group folder", 02775, nullptr, 0664, nullptr},
        // Bits the savers' umask 022 would take from a new file.
        {"group folder, file open to all", 0775, nullptr, 0666, nullptr},
        {"group folder, file with an ACL", 0775, nullptr, 0664, &kFileAcl},
        // The new file would inherit an ACL the old one does not have.
        {"folder with a default ACL, file without", 0775, &kFolderDefaultAcl, 0664, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        SchoolFolder school;
        const fs::path file = school.Grade(2, "scores.xls");
        WriteXls(file, {{"Data", {{"A1", "番号"}}}});
        Share(file.parent_path(), kStaffGroup, c.folderMode);
        if (c.folderDefaultAcl) SetAcl(file.parent_path(), kDefaultAcl, *c.folderDefaultAcl);
        Share(file, kStaffGroup, c.fileMode);
        if (c.fileAcl) SetAcl(file, kAccessAcl, *c.fileAcl);
        const Access before = accessOf(file);

        // The first saver again after the second: only the last saver could
        // save while a save took the saver's own group.
        const struct {
            const Teacher &who;
            const char *cell, *value;
        } saves[] = {{kTeacherA, "B2", "85"}, {kTeacherB, "B3", "70"}, {kTeacherA, "B4", "60"}};
        for (const auto &s : saves) {
            const ChildRun run = saveAs(s.who, file, s.cell, s.value);
            EXPECT_TRUE(run.ok()) << "uid " << s.who.uid << ": status " << run.status << " " << run.message;
            // Only root gives a file away: the owner is the saver.
            EXPECT_EQ(accessOf(file), (Access{s.who.uid, kStaffGroup, before.mode, before.acl}))
                << "after uid " << s.who.uid;
        }
        const CellMap expected{{"Data!A1", "番号"}, {"Data!B2", "85"}, {"Data!B3", "70"}, {"Data!B4", "60"}};
        EXPECT_EQ(ReaderCells(file), expected);
    }
}

// A saver outside the file's group cannot hand the file to it; a setgid
// folder does, and the save must leave that as the kernel made it.
TEST(SharedFolder, ASetgidFolderKeepsTheGroupForASaverOutsideIt) {
    SchoolFolder school;
    const fs::path file = school.Grade(1, "scores.xls");
    WriteXls(file, {{"Data", {{"A1", "番号"}}}});
    Share(file.parent_path(), kStaffGroup, 02777);
    Share(file, kStaffGroup, 0666);
    const Teacher outsider{40009, 40009};
    const ChildRun run = saveAs(outsider, file, "B2", "1");
    EXPECT_TRUE(run.ok()) << run.status << " " << run.message;
    EXPECT_EQ(accessOf(file), (Access{outsider.uid, kStaffGroup, 0666, std::nullopt}));
    EXPECT_EQ(ReaderCells(file), (CellMap{{"Data!A1", "番号"}, {"Data!B2", "1"}}));
}

}  // namespace
}  // namespace dorv
