#include "roster/file_helpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>

#include "tests/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// The helpers take their paths as strings.
class TempDir : public dorv::testing::TempDir {
public:
    TempDir() : dorv::testing::TempDir("dorv-roster") {}
    std::string operator/(const std::string &name) const { return (path() / name).string(); }
};

std::string bytes(std::size_t n, unsigned seed = 1) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto &c : s) c = static_cast<char>(gen());
    return s;
}

void writeFile(const std::string &path, const std::string &content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string messageOf(const std::function<void()> &fn) {
    try {
        fn();
    } catch (const dorv::RosterFileError &e) {
        return e.what();
    }
    return "(no error)";
}

TEST(CopyFileChunked, CopiesEveryByteAroundTheBlockSize) {
    TempDir dir;
    for (std::size_t size : {0u, 1u, 8191u, 8192u, 8193u, 3u * 8192u, 100000u}) {
        const std::string content = bytes(size, static_cast<unsigned>(size));
        writeFile(dir / "src.xls", content);
        dorv::CopyFileChunked(dir / "src.xls", dir / "dst.xls");
        EXPECT_EQ(readFile(dir / "dst.xls"), content) << size << " bytes";
    }
}

TEST(CopyFileChunked, FolderOrFileCopiesIntoAFolderWithOrWithoutTrailingSlash) {
    TempDir dir;
    fs::create_directory(dir.path() / "into");
    writeFile(dir / "名簿.xls", "roster");
    for (const std::string &dest : {dir / "into", dir / "into/"}) {
        fs::remove(dir.path() / "into" / "名簿.xls");
        dorv::CopyFileChunked(dir / "名簿.xls", dest);
        EXPECT_EQ(readFile(dir / "into/名簿.xls"), "roster") << dest;
    }
}

TEST(CopyFileChunked, ReplaceFileOverwritesAnOldCopy) {
    TempDir dir;
    writeFile(dir / "src.xls", "new");
    writeFile(dir / "Hinagata.xls", "an older and longer copy");
    dorv::CopyFileChunked(dir / "src.xls", dir / "Hinagata.xls", dorv::CopyDest::ReplaceFile);
    EXPECT_EQ(readFile(dir / "Hinagata.xls"), "new");
}

TEST(CopyFileChunked, NewFileNeverTouchesWhatLiesAtTheDestination) {
    TempDir dir;
    writeFile(dir / "src.xls", "template");
    writeFile(dir / "existing.xls", "the names of a whole grade");
    fs::create_directory(dir.path() / "folder.xls");
    writeFile(dir / "target.xls", "linked roster");
    fs::create_symlink(dir.path() / "target.xls", dir.path() / "link.xls");

    for (const char *name : {"existing.xls", "folder.xls", "link.xls"}) {
        const std::string dest = dir / name;
        EXPECT_EQ(messageOf([&] { dorv::CopyFileChunked(dir / "src.xls", dest, dorv::CopyDest::NewFile); }),
                  "ファイル " + dest + " を作成できません")
            << name;
    }
    EXPECT_EQ(readFile(dir / "existing.xls"), "the names of a whole grade");
    EXPECT_TRUE(fs::is_empty(dir.path() / "folder.xls"));
    EXPECT_EQ(readFile(dir / "target.xls"), "linked roster");

    dorv::CopyFileChunked(dir / "src.xls", dir / "fresh.xls", dorv::CopyDest::NewFile);
    EXPECT_EQ(readFile(dir / "fresh.xls"), "template");
}

TEST(CopyFileChunked, ReportsMissingSourceAndUnwritableDestination) {
    TempDir dir;
    writeFile(dir / "src.xls", "x");
    fs::create_directory(dir.path() / "folder");
    const struct {
        std::string source, dest, message;
    } cases[] = {
        {dir / "missing.xls", dir / "dst.xls", "ファイル " + (dir / "missing.xls") + " は開けません"},
        {dir / "folder", dir / "dst.xls", "ファイル " + (dir / "folder") + " は開けません"},
        {dir / "src.xls", dir / "no-such-folder/dst.xls",
         "ファイル " + (dir / "no-such-folder/dst.xls") + " を作成できません"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(messageOf([&] { dorv::CopyFileChunked(c.source, c.dest, dorv::CopyDest::ReplaceFile); }), c.message);
        EXPECT_FALSE(fs::exists(dir / "dst.xls"));
    }
}

TEST(CopyFileChunked, RelativeDestinationIsNamedAbsoluteInTheMessage) {
    TempDir dir;
    const auto cwd = fs::current_path();
    fs::current_path(dir.path());
    writeFile("src.xls", "x");
    writeFile("dst.xls", "y");
    const std::string msg =
        messageOf([] { dorv::CopyFileChunked("src.xls", "./sub/../dst.xls", dorv::CopyDest::NewFile); });
    fs::current_path(cwd);
    EXPECT_EQ(msg, "ファイル " + (dir / "dst.xls") + " を作成できません");
}

// A disk that fills up after a given number of bytes.
std::size_t g_room = 0;
ssize_t fullDisk(int fd, const void *buf, std::size_t count) {
    if (g_room == 0) {
        errno = ENOSPC;
        return -1;
    }
    const std::size_t n = std::min(count, g_room);
    g_room -= n;
    return ::write(fd, buf, n);
}

TEST(CopyFileChunked, AFailedWriteLeavesNoPartialFile) {
    TempDir dir;
    writeFile(dir / "src.xls", bytes(30000));
    for (std::size_t room : {0u, 100u, 8192u, 20000u}) {
        g_room = room;
        dorv::SetBlockWriter(&fullDisk);
        const std::string msg =
            messageOf([&] { dorv::CopyFileChunked(dir / "src.xls", dir / "名簿.xls", dorv::CopyDest::NewFile); });
        dorv::SetBlockWriter(nullptr);
        EXPECT_EQ(msg, "ファイル " + (dir / "名簿.xls") + " を作成できません") << room;
        EXPECT_FALSE(fs::exists(dir / "名簿.xls")) << room;
    }
}

TEST(FileHasAttr, FolderAndReadOnlyBits) {
    TempDir dir;
    writeFile(dir / "file.xls", "x");
    writeFile(dir / "ro.xls", "x");
    fs::permissions(dir / "ro.xls", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(dir.path() / "folder");
    const struct {
        std::string name;
        std::uint16_t mask;
        bool expected;
    } cases[] = {
        {"missing.xls", dorv::faDirectory, false},
        {"missing.xls", 0, true},
        {"folder", dorv::faDirectory, true},
        {"file.xls", dorv::faDirectory, false},
        {"file.xls", 0, true},
        {"ro.xls", dorv::faReadOnly, true},
        {"file.xls", dorv::faReadOnly, false},
        {"ro.xls", dorv::faReadOnly | dorv::faDirectory, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(dorv::FileHasAttr(dir / c.name, c.mask), c.expected) << c.name << " " << c.mask;
}

TEST(CanOpenFile, OnlyAFreeWritableRegularFile) {
    TempDir dir;
    writeFile(dir / "free.xls", "x");
    writeFile(dir / "ro.xls", "x");
    fs::permissions(dir / "ro.xls", fs::perms::owner_read);
    fs::create_directory(dir.path() / "folder.xls");
    writeFile(dir / "名簿.xls", "x");
    writeFile(dir / ".~lock.名簿.xls#", ",someone,host,10.12.2026 09:00,file:///");
    fs::create_symlink(dir.path() / "missing.xls", dir.path() / "dangling.xls");

    const struct {
        const char *name;
        bool expected;
    } cases[] = {
        {"free.xls", true},    {"missing.xls", false}, {"ro.xls", false},
        {"folder.xls", false}, {"名簿.xls", false},    {"dangling.xls", false},
    };
    for (const auto &c : cases) EXPECT_EQ(dorv::CanOpenFile(dir / c.name), c.expected) << c.name;

    fs::remove(dir.path() / ".~lock.名簿.xls#");
    EXPECT_TRUE(dorv::CanOpenFile(dir / "名簿.xls"));
}

}  // namespace
