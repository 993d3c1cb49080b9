// The file operations of the roster program: the checked block copy that
// creates a roster, the attribute test, and the test whether a workbook can
// be opened for reading and writing right now.
#pragma once

#include "schooldata/file_io.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace dorv {

// A file that cannot be opened, read, created or written; what() is the
// message for the user.
class RosterFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Attribute bits in the style of the settings drive's file system.
inline constexpr std::uint16_t faReadOnly = 0x01;
inline constexpr std::uint16_t faDirectory = 0x10;

// True when every bit of `attr` is set for the file; a missing file has no
// bits (so a mask of 0 is always true).
bool FileHasAttr(const std::string &fileName, std::uint16_t attr);

// What the copy does with whatever lies at its destination.
enum class CopyDest {
    // A folder there receives the copy under the source's file name; a file
    // there is replaced.
    FolderOrFile,
    // The destination is the file itself; an existing file is replaced.
    ReplaceFile,
    // The destination is created; anything already at that path (file,
    // folder, link) makes the copy fail and stays as it was.
    NewFile,
};

// Copies the bytes of `source` to `dest` in blocks of 8192 bytes. Every
// read, write, flush and close is checked; on any failure the partly
// written destination is removed and RosterFileError is raised:
//   "ファイル <source> は開けません"        the source cannot be opened or read
//   "ファイル <dest> を作成できません"       the destination cannot be created or written
// `dest` is made absolute first; the message names it so. A file replaced
// keeps its own group and mode; a file created is shared with the group of
// its folder (ShareLikeFolder).
void CopyFileChunked(const std::string &source, const std::string &dest, CopyDest mode = CopyDest::FolderOrFile);

// True when `fileName` is a regular file that we may read and write and that
// nobody holds right now: no writer of ours (the service's lock) and no
// desktop spreadsheet program (its lock file beside it, as the service tells
// one). A file system that refuses the service's lock on it raises
// RosterFileError ("ファイル <fileName> をロックできません（<reason>）"): no
// waiting and no new file would get past that.
bool CanOpenFile(const std::string &fileName);

// True when the file exists and carries no write permission for anyone (the
// owner's rights are not enough for root, who may write anything).
bool IsReadOnlyFile(const std::string &fileName);

// The write call of the copy; tests put a failing one here to show that a
// copy broken off half-way leaves nothing behind. nullptr restores write(2).
using BlockWriter = WriteCall;
void SetBlockWriter(BlockWriter writer);

}  // namespace dorv
