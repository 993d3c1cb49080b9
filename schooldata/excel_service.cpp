#include "schooldata/excel_service.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <system_error>
#include <tuple>

#include "schooldata/file_access.h"
#include "schooldata/file_io.h"
#include "schooldata/workbook_lock.h"
#include "workbook/utf16.h"
#include "workbook/workbook_file.h"
#include "workbook/xbiff.h"

namespace dorv {

namespace {

std::string withPath(const char *pattern, const std::string &path) {
    std::string s = pattern;
    auto at = s.find("%s");
    if (at != std::string::npos) s.replace(at, 2, path);
    return s;
}

std::string errnoText(int e) {
    switch (e) {
    case EACCES:
    case EPERM: return "アクセスが拒否されました";
    case ENOSPC: return "ディスクの空きがありません";
    case EDQUOT: return "ディスクの割り当てを超えました";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EIO: return "入出力エラーです";
    case ENOENT: return "ファイルかフォルダが見つかりません";
    case ELOOP: return "シンボリックリンクが多すぎるか循環しています";
    case ENAMETOOLONG: return "パスが長すぎます";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENOMEM: return "メモリが足りません";
    case EFBIG: return "ファイルが大きすぎます";
    case EBUSY:
    case ETXTBSY: return "ファイルが使用中です";
    case ESTALE: return "ネットワーク上のファイルが見えなくなりました";
    // The system's own texts are English; the number is what helps support.
    default: return "システムエラー " + std::to_string(e);
    }
}

// The message of `pattern` for `path`, with the system's reason behind it.
std::string withPathAndReason(const char *pattern, const std::string &path, int err) {
    return withPath(pattern, path) + "（" + errnoText(err) + "）";
}

std::string stem(const std::string &path) {
    std::string b = PathName(path);
    auto dot = b.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? b : b.substr(0, dot);
}

bool asciiEqualNoCase(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// "B2" -> row 1, column 1 (0-based). Columns A to IV, rows 1 to 65536.
std::optional<std::pair<std::uint16_t, std::uint16_t>> parseAddress(const std::string &a) {
    std::size_t i = 0;
    unsigned col = 0;
    while (i < a.size() && ((a[i] >= 'A' && a[i] <= 'Z') || (a[i] >= 'a' && a[i] <= 'z'))) {
        col = col * 26 + static_cast<unsigned>((a[i] & ~0x20) - 'A' + 1);
        if (col > 256) return std::nullopt;
        ++i;
    }
    if (i == 0 || i == a.size()) return std::nullopt;
    unsigned long row = 0;
    for (; i < a.size(); ++i) {
        if (a[i] < '0' || a[i] > '9') return std::nullopt;
        row = row * 10 + static_cast<unsigned>(a[i] - '0');
        if (row > 65536) return std::nullopt;
    }
    if (row == 0) return std::nullopt;
    return std::make_pair(static_cast<std::uint16_t>(row - 1), static_cast<std::uint16_t>(col - 1));
}

// A plain decimal number: an optional minus sign, digits, and optionally a
// point followed by digits. Nothing else is taken as a number.
std::optional<double> plainNumber(const std::string &t) {
    std::size_t i = t.size() > 0 && t[0] == '-' ? 1 : 0;
    std::size_t digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
    if (digits == 0) return std::nullopt;
    if (i < t.size() && t[i] == '.') {
        ++i;
        std::size_t frac = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++frac;
        if (frac == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    double v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec != std::errc()) return std::nullopt;
    return v;
}

bool sameValue(const biff8::CellValue &a, const biff8::CellValue &b) {
    if (a.kind != b.kind) return false;
    if (a.kind == biff8::CellKind::Number)
        return a.number == b.number || (a.number != a.number && b.number != b.number);
    return a.text == b.text;
}

constexpr const char *kMsgBusy = "ファイル %s は他のプログラムが使用中です";
constexpr const char *kMsgNotFound = "ファイル %s が見つかりません";
constexpr const char *kMsgNotWorkbook = "ファイル %s はExcelのブックではありません";
constexpr const char *kMsgFolder = "%s はExcelのブックではなくフォルダです";
constexpr const char *kMsgDamaged = "ファイル %s は壊れているため読めません";
constexpr const char *kMsgEncrypted = "ファイル %s はパスワードで保護されているため開けません";
constexpr const char *kMsgReadOnly = "ファイル %s は読み取り専用のため書き込めません";
constexpr const char *kMsgNotSaved = "ファイル %s を保存できませんでした";
constexpr const char *kMsgNotVerified = "ファイル %s の保存内容を確かめられませんでした。元のファイルはそのままです";
constexpr const char *kMsgOpenedToRead = "ファイル %s は読み込み用に開かれているため書き込めません";
constexpr const char *kMsgNotOpen = "ブックが開かれていません";
constexpr const char *kMsgNoSheet = "ワークシートが選ばれていません";

}  // namespace

std::string LockRefusedMessage(const std::string &path, int err) {
    return withPathAndReason("ファイル %s をロックできません", path, err);
}

namespace {
DesktopHeldError heldOnDesktop(const std::string &path, const std::string &lockFile) {
    return DesktopHeldError(withPath(kMsgBusy, path) + DesktopLockNote(lockFile), lockFile);
}
}  // namespace

void RefuseWhileOpenOnDesktop(const std::string &path) {
    const std::string lockFile = DesktopLockFileBeside(path);
    if (!lockFile.empty()) throw heldOnDesktop(path, lockFile);
}

bool IsExcelRunning() { return false; }

void TExcelApplication::Connect() {}
void TExcelApplication::SetVisible(bool) {}
void TExcelApplication::Quit() {}

namespace {
SaveCheckHook &saveCheckHook() {
    static SaveCheckHook hook;
    return hook;
}
}  // namespace

void SetSaveCheckHook(SaveCheckHook hook) { saveCheckHook() = std::move(hook); }

struct TExcelWorkbook::Impl {
    std::string path;    // as the caller named it, for the messages
    std::string target;  // the file itself, every symbolic link resolved
    WorkbookLock lock;
    OpenFor use = OpenFor::Writing;
    std::optional<biff8::WorkbookFile> file;
    // Every cell written, with the value it must read back as after the save.
    std::map<std::tuple<std::size_t, std::uint16_t, std::uint16_t>, biff8::CellValue> written;

    void close() {
        file.reset();
        written.clear();
        lock.release();
    }
    void save();
};

namespace {

// The user's message for a workbook the service cannot take.
ExcelError refusal(const biff8::FormatError &e, const std::string &path) {
    switch (e.kind()) {
    case biff8::FormatError::Kind::Encrypted: return ExcelError(withPath(kMsgEncrypted, path));
    case biff8::FormatError::Kind::NotWorkbook: return ExcelError(withPath(kMsgNotWorkbook, path));
    case biff8::FormatError::Kind::Damaged: break;
    }
    return ExcelError(withPath(kMsgDamaged, path));
}

// Runs an operation on an open workbook; a failure closes the workbook
// (changes dropped, lock released) before it leaves. Only the service's own
// messages leave it: a workbook the format layer refuses, or any other
// failure of it, is told as the file's fault.
template <class Impl, class F>
auto guarded(Impl &impl, F &&f) -> decltype(f()) {
    try {
        return f();
    } catch (const ExcelError &) {
        impl.close();
        throw;
    } catch (const biff8::FormatError &e) {
        impl.close();
        throw refusal(e, impl.path);
    } catch (const std::exception &) {
        impl.close();
        throw ExcelError(withPath(kMsgDamaged, impl.path));
    } catch (...) {
        impl.close();
        throw;
    }
}

}  // namespace

void TExcelWorkbook::Impl::save() {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = file->save();
    } catch (const std::exception &) {
        throw ExcelError(withPath(kMsgNotSaved, path));
    }
    // The new file is written in the folder of the file itself, so that a
    // workbook reached through a symbolic link is replaced where it lies and
    // the link stays a link.
    const std::string dir = PathFolder(target);
    RemoveStaleSaveTemps(target);
    std::string temp;
    int fd = -1;
    // A failed save leaves nothing of itself beside the workbook.
    auto discard = [&] {
        if (fd >= 0) ::close(fd);
        if (!temp.empty()) ::unlink(temp.c_str());
    };
    try {
        fd = CreateSaveTemp(target, temp);
        WriteAll(fd, bytes.data(), bytes.size());
        // Whoever could use the old file must be able to use the new one.
        KeepAccessOf(lock.descriptor(), fd);
        if (::fsync(fd) != 0) throw std::system_error(errno, std::generic_category());

        // What lands on disk is read back and must hold every written cell.
        if (saveCheckHook()) saveCheckHook()(fd, temp);
        std::vector<std::uint8_t> onDisk = ReadWholeFile(fd);
        TXBiff reader;  // the loaders' own reader must take the file as it is
        reader.OpenBytes(onDisk);
        biff8::WorkbookFile back = biff8::WorkbookFile::fromBytes(std::move(onDisk), stem(path));
        bool ok = back.workbook().sheetCount() == file->workbook().sheetCount();
        for (const auto &[at, expect] : written) {
            if (!ok) break;
            const auto &[sheet, row, col] = at;
            ok = sameValue(back.workbook().sheet(sheet).value(row, col, back.workbook().sst()), expect);
        }
        if (!ok) throw ExcelError(withPath(kMsgNotVerified, path));

        if (::rename(temp.c_str(), target.c_str()) != 0) throw std::system_error(errno, std::generic_category());
        ::close(fd);
        fd = -1;
    } catch (const ExcelError &) {
        discard();
        throw;
    } catch (const std::system_error &e) {
        discard();
        throw ExcelError(withPathAndReason(kMsgNotSaved, path, e.code().value()));
    } catch (const std::exception &) {
        discard();
        throw ExcelError(withPath(kMsgNotVerified, path));
    }
    // The new name must survive a power cut as well as the new contents.
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

TExcelWorkbook::TExcelWorkbook() : impl_(std::make_unique<Impl>()) {}

TExcelWorkbook::~TExcelWorkbook() { impl_->close(); }

void TExcelWorkbook::Open(TExcelApplication &, const std::string &path, OpenFor use) {
    impl_->close();
    impl_->path = path;
    impl_->use = use;
    // A writer that renames its new file in between our open and our lock
    // makes us open again; a steady stream of such writers is "busy".
    for (int attempt = 0;; ++attempt) {
        WorkbookLock::Result r;
        try {
            // Resolved afresh on every attempt: a link may be pointed elsewhere in between.
            std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
            if (!resolved) throw std::system_error(errno, std::generic_category(), path);
            impl_->target = resolved.get();
            r = impl_->lock.acquire(impl_->target, use == OpenFor::Writing ? WorkbookLock::OpenMode::Existing
                                                                           : WorkbookLock::OpenMode::ExistingToRead);
        } catch (const LockRefused &e) {
            throw ExcelError(LockRefusedMessage(path, e.code().value()));
        } catch (const std::system_error &e) {
            int code = e.code().value();
            if (code == ENOENT || code == ENOTDIR) throw ExcelError(withPath(kMsgNotFound, path));
            if (code == EISDIR) throw ExcelError(withPath(kMsgFolder, path));
            if (code == EINVAL) throw ExcelError(withPath(kMsgNotWorkbook, path));
            throw ExcelError(withPathAndReason("ファイル %s を開けません", path, code));
        }
        if (r == WorkbookLock::Result::Locked) break;
        if (r == WorkbookLock::Result::DesktopHeld) throw heldOnDesktop(path, impl_->lock.desktopLockFile());
        if (r == WorkbookLock::Result::Busy || attempt >= 20) throw ExcelTemporaryError(withPath(kMsgBusy, path));
    }
    guarded(*impl_, [&] {
        std::vector<std::uint8_t> bytes;
        try {
            bytes = impl_->lock.readAll();
        } catch (const std::system_error &e) {
            throw ExcelError(withPathAndReason("ファイル %s を読めません", path, e.code().value()));
        }
        // A workbook the format layer refuses leaves through the guard's message.
        impl_->file.emplace(biff8::WorkbookFile::fromBytes(std::move(bytes), stem(path)));
    });
}

bool TExcelWorkbook::IsOpen() const { return impl_->file.has_value(); }

const std::string &TExcelWorkbook::Path() const { return impl_->path; }

TExcelWorksheet TExcelWorkbook::Worksheet(const std::string &name) {
    if (!IsOpen()) throw ExcelError(kMsgNotOpen);
    return guarded(*impl_, [&] {
        const biff8::Workbook &wb = impl_->file->workbook();
        for (std::size_t i = 0; i < wb.sheetCount(); ++i)
            if (wb.sheetName(i) == name) return TExcelWorksheet(this, i);
        for (std::size_t i = 0; i < wb.sheetCount(); ++i)
            if (asciiEqualNoCase(wb.sheetName(i), name)) return TExcelWorksheet(this, i);
        throw ExcelError("ブック " + impl_->path + " にシート「" + name + "」がありません");
    });
}

std::vector<std::string> TExcelWorkbook::SheetNames() const {
    std::vector<std::string> out;
    if (!IsOpen()) return out;
    const biff8::Workbook &wb = impl_->file->workbook();
    for (std::size_t i = 0; i < wb.sheetCount(); ++i) out.push_back(wb.sheetName(i));
    return out;
}

void TExcelWorkbook::Close(bool saveChanges) {
    if (!IsOpen()) return;
    guarded(*impl_, [&] {
        if (saveChanges && !impl_->written.empty()) impl_->save();
    });
    impl_->close();
}

const std::string &TExcelWorksheet::Name() const {
    if (!book_ || !book_->IsOpen()) throw ExcelError(kMsgNoSheet);
    return book_->impl_->file->workbook().sheetName(index_);
}

std::string TExcelWorksheet::ReadCell(const std::string &address) {
    if (!book_ || !book_->IsOpen()) throw ExcelError(kMsgNoSheet);
    TExcelWorkbook::Impl &impl = *book_->impl_;
    return guarded(impl, [&] {
        auto at = parseAddress(address);
        if (!at) throw ExcelError("セル番地 " + address + " が正しくありません");
        biff8::Workbook &wb = impl.file->workbook();
        return wb.sheet(index_).text(at->first, at->second, wb.sst());
    });
}

namespace {

// One cell write: the address checked, the file writable, the value stored
// by `set`, and what the cell now holds noted for the check after saving.
template <class Impl, class Set>
void store(Impl &impl, std::size_t index, const std::string &address, Set &&set) {
    guarded(impl, [&] {
        auto at = parseAddress(address);
        if (!at) throw ExcelError("セル番地 " + address + " が正しくありません");
        if (impl.lock.readOnly()) throw ExcelError(withPath(kMsgReadOnly, impl.path));
        // A reader never looked for a desktop program's lock file.
        if (impl.use != OpenFor::Writing) throw ExcelError(withPath(kMsgOpenedToRead, impl.path));
        biff8::Workbook &wb = impl.file->workbook();
        biff8::SheetCells &cells = wb.sheet(index);
        try {
            set(wb, cells, at->first, at->second);
        } catch (const biff8::CellRefused &) {
            throw ExcelError("シート「" + wb.sheetName(index) + "」のセル " + address +
                             " は共有数式か配列数式のため書き込めません");
        }
        impl.written[{index, at->first, at->second}] = cells.value(at->first, at->second, wb.sst());
    });
}

}  // namespace

void TExcelWorksheet::WriteCell(const std::string &address, const std::string &text) {
    std::optional<double> n = plainNumber(text);
    if (!n) return WriteText(address, text);
    if (!book_ || !book_->IsOpen()) throw ExcelError(kMsgNoSheet);
    store(*book_->impl_, index_, address,
          [&](biff8::Workbook &, biff8::SheetCells &cells, auto row, auto col) { cells.setNumber(row, col, *n); });
}

void TExcelWorksheet::WriteText(const std::string &address, const std::string &text) {
    if (!book_ || !book_->IsOpen()) throw ExcelError(kMsgNoSheet);
    store(*book_->impl_, index_, address, [&](biff8::Workbook &wb, biff8::SheetCells &cells, auto row, auto col) {
        // A cell holds at most 32767 characters (UTF-16 units, as stored).
        if (utf16::fromUtf8(text).size() > 32767)
            throw ExcelError("セル " + address + " の文字列が長すぎます（32767文字まで）");
        if (text.empty()) cells.setBlank(row, col);
        else cells.setShared(row, col, wb.sst().add(text));
    });
}

}  // namespace dorv
