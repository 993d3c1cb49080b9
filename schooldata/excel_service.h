// The spreadsheet service: where the school data store reads and writes
// workbooks "through Excel", this in-process layer does the work itself.
//
// One workbook operation runs
//   TExcelApplication app; app.Connect(); app.SetVisible(false);
//   TExcelWorkbook book; book.Open(app, path);
//   TExcelWorksheet sheet = book.Worksheet("Data");
//   sheet.ReadCell("B2"); sheet.WriteCell("B2", "85"); ...
//   book.Close(true); app.Quit();
//
// From Open to Close the workbook holds an exclusive lock on the file that
// serialises every writer of the three programs. Every operation either
// succeeds or raises; when an operation on an open workbook raises, the
// workbook is closed on the way out: changes are dropped, the lock is
// released and the file on disk is exactly as it was. A later Close() on it
// does nothing.
//
// A workbook opened for writing that a desktop spreadsheet program has open
// for editing (its lock file lies beside the workbook) counts as held by
// another writer: that program would later save its own copy over ours. A
// workbook opened for reading only is read whatever lies beside it.
//
// ExcelTemporaryError (the file is held by another writer, or was replaced
// while being opened) is the one failure worth retrying; every other
// ExcelError (missing file or sheet, refused format, read-only file, a lock
// the file system refuses, a bad address, a failed save) is final.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace dorv {

// A failure of the service; what() is the Japanese message for the user.
class ExcelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure that goes away by waiting: another writer holds the workbook,
// or the file was replaced while it was being opened.
class ExcelTemporaryError : public ExcelError {
public:
    using ExcelError::ExcelError;
};

// The temporary failure of a workbook that a desktop spreadsheet program has
// open: its lock file lies beside the workbook. The message ends in a note
// naming the lock file, so that a stale one can be found and removed.
class DesktopHeldError : public ExcelTemporaryError {
public:
    DesktopHeldError(const std::string &message, std::string lockFile)
        : ExcelTemporaryError(message), lockFile_(std::move(lockFile)) {}
    const std::string &LockFile() const { return lockFile_; }

private:
    std::string lockFile_;
};

// "ファイル <path> をロックできません（<reason>）": the file system refused the
// writers' lock on `path` (LockRefused), which no waiting mends.
std::string LockRefusedMessage(const std::string &path, int err);

// Raises DesktopHeldError, with the message of an Open for writing, while
// a desktop program's lock file lies beside `path` (which need not exist):
// for a writer that makes a workbook other than through the service.
void RefuseWhileOpenOnDesktop(const std::string &path);

// There is no separate spreadsheet program on this system, so none can be
// running beside ours.
bool IsExcelRunning();

// Nothing to start: the service is part of the program. The calls exist so
// that a workbook operation reads the same on every path.
class TExcelApplication {
public:
    void Connect();
    void SetVisible(bool visible);
    void Quit();
};

class TExcelWorkbook;

enum class OpenFor {
    Writing,  // the cells may be written and saved
    Reading,  // only read; a write raises
};

// A worksheet of an open workbook, by position. A default-constructed one is
// bound to nothing; using it raises. It must not outlive its workbook.
class TExcelWorksheet {
public:
    TExcelWorksheet() = default;

    // The cell at an address such as "B2" as text: a number in "%g" style
    // (up to 15 significant digits, "." as decimal separator), a text as
    // UTF-8, a blank or missing cell as "", a formula as its cached result.
    std::string ReadCell(const std::string &address);

    // Stores `text` in the cell, keeping its formatting:
    //   ""                       -> a blank cell
    //   a plain decimal number   -> a number ("85", "-5", "12.5")
    //   anything else            -> a text
    // A cell holding a shared or array formula is refused.
    void WriteCell(const std::string &address, const std::string &text);

    // Stores `text` as a text whatever it spells ("" still makes the cell
    // blank).
    void WriteText(const std::string &address, const std::string &text);

    const std::string &Name() const;

private:
    friend class TExcelWorkbook;
    TExcelWorksheet(TExcelWorkbook *book, std::size_t index) : book_(book), index_(index) {}
    TExcelWorkbook *book_ = nullptr;
    std::size_t index_ = 0;
};

class TExcelWorkbook {
public:
    TExcelWorkbook();
    ~TExcelWorkbook();  // an open workbook is closed without saving
    TExcelWorkbook(const TExcelWorkbook &) = delete;
    TExcelWorkbook &operator=(const TExcelWorkbook &) = delete;

    // Locks and reads the workbook at `path` (BIFF8 in a compound file, or
    // an older BIFF version, plain or in a compound file). Raises
    // ExcelTemporaryError while another writer holds it, and, opened for
    // writing, while a desktop program's lock file lies beside it
    // ("ファイル <path> は他のプログラムが使用中です（ロックファイル <lock file>
    // があります。…）").
    void Open(TExcelApplication &app, const std::string &path, OpenFor use = OpenFor::Writing);

    bool IsOpen() const;
    const std::string &Path() const;

    // The worksheet of that name: the exact name first, then the same name
    // with ASCII letters compared case-insensitively.
    TExcelWorksheet Worksheet(const std::string &name);

    // The names of the worksheets, in workbook order.
    std::vector<std::string> SheetNames() const;

    // With saveChanges and at least one cell written, the workbook replaces
    // the file atomically (a file written beside it, read back and checked,
    // then renamed over it, with the old file's group, mode and access ACL
    // as far as the saver may give them: KeepAccessOf); otherwise the file
    // stays untouched. Releases the lock in every case.
    void Close(bool saveChanges);

private:
    friend class TExcelWorksheet;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Tests spoil a save's new file here, after it is written and before it is
// read back, to show that the check refuses it: called with the file's
// descriptor (open for reading and writing) and path. An empty hook (the
// default) does nothing.
using SaveCheckHook = std::function<void(int fd, const std::string &tempPath)>;
void SetSaveCheckHook(SaveCheckHook hook);

}  // namespace dorv
