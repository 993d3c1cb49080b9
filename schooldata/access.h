// How every data class reads and writes its workbook, written once.
//
// Load: the workbook reader first, handing every cell to the class's cell
// handler; when anything on that path raises (missing or locked file, a
// format the reader refuses, a handler refusing a cell text) the spreadsheet
// service reads the same cells instead. Save: through the service only.
//
// A data class supplies only what is its own: the path, whether the workbook
// is a grade or a master workbook, what to empty before reading, its cell
// handler, and what the service path reads or a save writes.
//
// The service steps that can fail for a while (opening a workbook another
// writer holds, taking a worksheet of it) are retried every 50 ms, with the
// event pump running, for about 15 seconds; then the operation fails with
// "ファイル <path> は他のプログラムが使用中です", followed by the lock file's
// note when a desktop program holds a workbook opened for writing. Every
// other failure (missing file or sheet, refused format, read-only file) is
// final at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "schooldata/excel_service.h"

namespace dorv {

// ---- Waiting with the event pump ------------------------------------------

// Processes the pending events of the GUI once; returns true when the
// application has been asked to quit (the hook keeps that request pending).
using EventPumpHook = std::function<bool()>;

// The GUI installs its pump here; an empty hook (the default) means no
// events to process.
void SetEventPumpHook(EventPumpHook hook);

// Waits `ms` milliseconds while processing events; returns early, with
// false, on a quit request (true when the full time has passed).
bool PumpWait(std::uint32_t ms);

// Told the path of the file a workbook operation waits for when its wait
// begins, and an empty path when the wait ends, so that the GUI can show
// the teacher what the program is waiting for.
using WaitNoticeHook = std::function<void(const std::string &path)>;
void SetWaitNoticeHook(WaitNoticeHook hook);

// Tells the hook for a scope: the wait for `path` begins at construction
// and ends at destruction, however the scope is left.
class WaitNotice {
public:
    explicit WaitNotice(const std::string &path);
    ~WaitNotice();
    WaitNotice(const WaitNotice &) = delete;
    WaitNotice &operator=(const WaitNotice &) = delete;
};

// ---- The service session ---------------------------------------------------

// A second workbook operation started while one runs (from an event handled
// inside PumpWait).
class WorkbookBusyError : public ExcelError {
public:
    using ExcelError::ExcelError;
};

// One open workbook of the service during a load or save: connects and
// opens the workbook (the open under the retry rule); destroyed without
// Close(), the workbook is closed unchanged.
class ServiceSession {
public:
    explicit ServiceSession(const std::string &path, OpenFor use = OpenFor::Writing);
    ~ServiceSession();
    ServiceSession(const ServiceSession &) = delete;
    ServiceSession &operator=(const ServiceSession &) = delete;

    // The worksheet of that name, taken under the retry rule; it stays the
    // current sheet until the next call.
    TExcelWorksheet &Sheet(const std::string &name);
    TExcelWorkbook &Workbook() { return book_; }
    const std::string &Path() const { return path_; }

    // Closes the workbook (saving when asked and something was written) and
    // quits.
    void Close(bool saveChanges);

private:
    std::string path_;
    TExcelApplication app_;
    TExcelWorkbook book_;
    TExcelWorksheet sheet_;
    bool closed_ = false;
};

// The cell handler of the reader path: sheet numbers from 1, rows and
// columns from 0.
using ReadCellHandler = std::function<void(unsigned sheetNo, unsigned row, unsigned col, const std::string &data)>;

enum class WorkbookKind {
    Grade,   // in a grade folder: closed with saving after a service read
    Master,  // in "Kihon": closed without saving
};

struct LoadPlan {
    std::string path;
    WorkbookKind kind = WorkbookKind::Master;
    std::function<void()> clear;                    // before the reader path; may be empty
    ReadCellHandler onReadCell;                     // the reader path
    std::function<void(ServiceSession &)> service;  // the service path: reads its cells
};

// Runs the load: reader, else service. Raises only what the service path
// raises (ExcelError, WorkbookBusyError, or what `service` itself raises).
void LoadWorkbook(const LoadPlan &plan);

// Opens `path` through the service, runs `write`, closes with saving. On any
// failure the file stays as it was and the exception goes to the caller.
void SaveWorkbook(const std::string &path, const std::function<void(ServiceSession &)> &write);

// Runs one service step under the retry rule (used by ServiceSession; public
// for the export and roster writers that open workbooks of their own).
void RetryStep(const std::string &path, const std::function<void()> &step);

// The retry rule's timing; tests shorten it.
struct RetryTiming {
    std::chrono::milliseconds interval{50};
    std::chrono::milliseconds limit{15000};
};
void SetRetryTiming(RetryTiming timing);
RetryTiming GetRetryTiming();

// True while a load or save runs.
bool WorkbookOperationRunning();

// The readers' hook: which path the last LoadWorkbook took (for tests that
// must show a workbook loads through the reader alone).
enum class LoadPath { None, Reader, Service };
LoadPath LastLoadPath();

// With false, every load goes straight to the service path, as when the
// reader refuses the file (for tests of the service paths; true by default).
void SetReaderPathEnabled(bool enabled);

// ---- Rows and cells --------------------------------------------------------

inline constexpr int kSlots = 420;
inline constexpr int kStudentsPerClass = 42;
inline constexpr int kMaxClasses = 10;

// slot = (class - 1) * 42 + number; worksheet row = slot + 1.
constexpr int SlotOf(int classNo, int number) { return (classNo - 1) * kStudentsPerClass + number; }
// The class and the attendance number of a slot 1..420.
constexpr int ClassOfSlot(int slot) { return (slot - 1) / kStudentsPerClass + 1; }
constexpr int NumberOfSlot(int slot) { return (slot - 1) % kStudentsPerClass + 1; }

// "B2" for column index 1 (A = 0) and worksheet row 2; "AA" follows "Z".
std::string CellAddress(unsigned col, unsigned row);

// Calls `fn(slot)` for every slot of classes 1..classCount (at most 10)
// whose flag is set (`modified` is indexed 1..420).
void ForEachModifiedSlot(const std::uint8_t (&modified)[421], std::uint8_t classCount,
                         const std::function<void(int slot)> &fn);

// Calls `fn(slot)` for every slot of classes 1..classCount (at most 10).
void ForEachSlot(std::uint8_t classCount, const std::function<void(int slot)> &fn);

// Sets all 420 flags to 0.
void ClearFlags(std::uint8_t (&flags)[421]);

}  // namespace dorv
