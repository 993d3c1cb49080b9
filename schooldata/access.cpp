#include "schooldata/access.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "schooldata/workbook_lock.h"
#include "workbook/xbiff.h"

namespace dorv {

namespace {

EventPumpHook &pumpHook() {
    static EventPumpHook hook;
    return hook;
}

WaitNoticeHook &waitNoticeHook() {
    static WaitNoticeHook hook;
    return hook;
}

RetryTiming retryTiming;
bool operationRunning = false;
bool readerPathEnabled = true;
LoadPath lastLoadPath = LoadPath::None;

std::string busyMessage(const std::string &path) { return "ファイル " + path + " は他のプログラムが使用中です"; }

// Refuses a second workbook operation while one runs: one started from an
// event handled during a retry wait would otherwise interleave with the open
// workbook of the first.
class OperationGuard {
public:
    OperationGuard() {
        if (operationRunning)
            throw WorkbookBusyError("ほかのブックの読み書きが終わっていません。終わってからもう一度操作してください");
        operationRunning = true;
    }
    ~OperationGuard() { operationRunning = false; }
    OperationGuard(const OperationGuard &) = delete;
    OperationGuard &operator=(const OperationGuard &) = delete;
};

}  // namespace

void SetEventPumpHook(EventPumpHook hook) { pumpHook() = std::move(hook); }

bool PumpWait(std::uint32_t ms) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        auto now = clock::now();
        if (now >= deadline) return true;
        if (pumpHook() && pumpHook()()) return false;
        // A short sleep keeps the wait from spinning; events still come in
        // every millisecond.
        now = clock::now();
        if (now >= deadline) return true;
        std::this_thread::sleep_for(std::min<clock::duration>(deadline - now, std::chrono::milliseconds(1)));
    }
}

void SetWaitNoticeHook(WaitNoticeHook hook) { waitNoticeHook() = std::move(hook); }

WaitNotice::WaitNotice(const std::string &path) {
    if (waitNoticeHook()) waitNoticeHook()(path);
}

WaitNotice::~WaitNotice() {
    try {
        if (waitNoticeHook()) waitNoticeHook()("");
    } catch (...) {
        // The wait is over whatever the window does; nothing to tell.
    }
}

void SetRetryTiming(RetryTiming timing) { retryTiming = timing; }
RetryTiming GetRetryTiming() { return retryTiming; }

void RetryStep(const std::string &path, const std::function<void()> &step) {
    const auto start = std::chrono::steady_clock::now();
    std::string busy = busyMessage(path);
    std::optional<WaitNotice> notice;
    for (;;) {
        try {
            step();
            return;
        } catch (const ExcelTemporaryError &e) {
            // A desktop program's lock file is named, so that a stale one can be found.
            const auto *desktop = dynamic_cast<const DesktopHeldError *>(&e);
            busy = busyMessage(path) + (desktop ? DesktopLockNote(desktop->LockFile()) : "");
            if (std::chrono::steady_clock::now() - start >= retryTiming.limit) throw ExcelError(busy);
        }
        if (!notice) notice.emplace(path);
        auto ms = static_cast<std::uint32_t>(retryTiming.interval.count());
        if (!PumpWait(ms)) throw ExcelError(busy);
    }
}

ServiceSession::ServiceSession(const std::string &path, OpenFor use) : path_(path) {
    RetryStep(path_, [&] { app_.Connect(); });
    app_.SetVisible(false);
    RetryStep(path_, [&] { book_.Open(app_, path_, use); });
}

ServiceSession::~ServiceSession() {
    if (closed_) return;
    try {
        if (book_.IsOpen()) book_.Close(false);
        app_.Quit();
    } catch (...) {
        // Leaving on another failure already; the workbook is released by
        // its own destructor.
    }
}

TExcelWorksheet &ServiceSession::Sheet(const std::string &name) {
    RetryStep(path_, [&] { sheet_ = book_.Worksheet(name); });
    return sheet_;
}

void ServiceSession::Close(bool saveChanges) {
    closed_ = true;
    book_.Close(saveChanges);
    app_.Quit();
}

void LoadWorkbook(const LoadPlan &plan) {
    OperationGuard guard;
    lastLoadPath = LoadPath::None;
    if (plan.clear) plan.clear();
    if (readerPathEnabled) {
        try {
            TXBiff reader;
            reader.OnReadCell = [&](TXBiff &, int sheetNo, int row, int col, int, const std::string &data, bool &) {
                if (!plan.onReadCell || sheetNo < 0 || row < 0 || col < 0) return;
                plan.onReadCell(static_cast<unsigned>(sheetNo), static_cast<unsigned>(row), static_cast<unsigned>(col),
                                data);
            };
            reader.Open(plan.path);
            lastLoadPath = LoadPath::Reader;
            return;
        } catch (...) {
            // Whatever stopped the reader, the service reads the same cells.
        }
    }
    ServiceSession session(plan.path, OpenFor::Reading);
    if (plan.service) plan.service(session);
    session.Close(plan.kind == WorkbookKind::Grade);
    lastLoadPath = LoadPath::Service;
}

void SaveWorkbook(const std::string &path, const std::function<void(ServiceSession &)> &write) {
    OperationGuard guard;
    ServiceSession session(path);
    write(session);
    session.Close(true);
}

bool WorkbookOperationRunning() { return operationRunning; }

void SetReaderPathEnabled(bool enabled) { readerPathEnabled = enabled; }

LoadPath LastLoadPath() { return lastLoadPath; }

std::string CellAddress(unsigned col, unsigned row) {
    std::string letters;
    unsigned n = col + 1;
    while (n > 0) {
        --n;
        letters.insert(letters.begin(), static_cast<char>('A' + n % 26));
        n /= 26;
    }
    return letters + std::to_string(row);
}

void ForEachSlot(std::uint8_t classCount, const std::function<void(int slot)> &fn) {
    const int classes = std::min<int>(classCount, kMaxClasses);
    for (int c = 1; c <= classes; ++c)
        for (int n = 1; n <= kStudentsPerClass; ++n) fn(SlotOf(c, n));
}

void ForEachModifiedSlot(const std::uint8_t (&modified)[421], std::uint8_t classCount,
                         const std::function<void(int slot)> &fn) {
    ForEachSlot(classCount, [&](int slot) {
        if (modified[slot]) fn(slot);
    });
}

void ClearFlags(std::uint8_t (&flags)[421]) { std::fill(std::begin(flags), std::end(flags), std::uint8_t{0}); }

}  // namespace dorv
