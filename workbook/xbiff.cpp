#include "workbook/xbiff.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "workbook/biff8_records.h"
#include "workbook/biff_text.h"
#include "workbook/cell_records.h"
#include "workbook/compound_file.h"
#include "workbook/little_endian.h"
#include "workbook/shared_strings.h"
#include "workbook/utf16.h"

namespace dorv {
namespace {

namespace id = biff8::id;

using le::u16;

// The characters up to the first NUL, as UTF-8.
std::string upToNul(const std::u16string &units) {
    return utf16::toUtf8(std::u16string_view(units).substr(0, units.find(u'\0')));
}

// The 8-bit text of a cell record as its length field bounds it.
std::size_t statedText(const biff::CellRecord &c) { return std::min(c.statedLength(), c.availableLength()); }

// One record body; every read is checked against its size.
struct Body {
    const std::uint8_t *p;
    std::size_t size;
    bool has(std::size_t offset, std::size_t n) const { return offset <= size && n <= size - offset; }
    std::uint16_t u16(std::size_t o) const { return le::u16(p + o); }
};

// The walk of one Open() call.
class Walker {
public:
    Walker(TXBiff &owner, std::span<const std::uint8_t> stream, int state) : owner_(owner), s_(stream), state_(state) {}

    // Decides the record layouts from the first BOF; run() walks the rest.
    void firstBof();
    void run();
    int state() const { return state_; }

private:
    void record(std::uint16_t id, Body b);
    void cellRecord(std::uint16_t id, const biff::CellRecord &c);
    std::size_t sharedStringTable(std::size_t start);
    void cell(int row, int col, int attr, const std::string &text) {
        lastRow_ = row;
        lastCol_ = col;
        lastAttr_ = attr;
        if (owner_.OnReadCell) owner_.OnReadCell(owner_, sheetNo_, row, col, attr, text, cancel_);
    }
    std::string text8(const std::uint8_t *p, std::size_t n) const {
        return state_ == 8 ? biff::latin1ToUtf8(p, n) : codePage_.toUtf8(p, n);
    }
    // A BIFF8 string with its character count at `o` (16 bits, or 8 with
    // `shortCount`), bounded by the body, up to the first NUL.
    std::string biff8String(Body b, std::size_t o, bool shortCount = false) const;
    void progress() {
        owner_.Progress = int(std::uint64_t(pos_) * 100 / s_.size());
        if (owner_.OnProgress) owner_.OnProgress(owner_, owner_.Progress);
    }

    TXBiff &owner_;
    std::span<const std::uint8_t> s_;  // the stream, where it lies in the file
    std::size_t pos_ = 0;
    int state_;
    int sheetNo_ = 0;
    bool cancel_ = false;
    int lastRow_ = 0, lastCol_ = 0, lastAttr_ = 0;
    std::vector<std::string> shared_;
    biff::CodePage codePage_;
};

// The substream types a BOF record names: workbook globals, VB module,
// worksheet, chart, macro sheet, workspace.
bool knownSubstreamType(std::uint16_t type) {
    return type == biff8::kGlobalsType || type == 0x0006 || type == biff8::kWorksheetType || type == 0x0020 ||
           type == 0x0040 || type == 0x0100;
}

void Walker::firstBof() {
    const std::size_t size = s_.size();
    // Words in front of the first BOF id are passed over, two bytes at a time.
    while (pos_ + 2 <= size && !biff8::isBof(u16(s_.data() + pos_))) pos_ += 2;
    // That first BOF id must start a whole BOF record of a known substream
    // type. An empty file, a text, random bytes or a compound file without a
    // workbook stream would otherwise walk as a workbook without cells, and a
    // loader would take an empty roster for the real one instead of going on
    // to the service, which says what is wrong with the file.
    if (size - pos_ < 4) throw XBiffError(kMsgOpenFailed);
    const std::uint16_t id = u16(s_.data() + pos_);
    const std::size_t len = u16(s_.data() + pos_ + 2);
    if (len < 4 || len > size - pos_ - 4) throw XBiffError(kMsgOpenFailed);
    const Body b{s_.data() + pos_ + 4, len};
    if (!knownSubstreamType(b.u16(2))) throw XBiffError(kMsgOpenFailed);
    if (id == id::Bof3) state_ = 3;
    // A plain file takes the BIFF2 layouts only when it really is BIFF2.
    if (state_ == 2 && id == id::Bof4) state_ = 4;
    if (state_ == 2 && id == id::Bof) state_ = 5;
    if (b.u16(0) == biff8::kBiff8Version) state_ = 8;
    if (b.u16(2) == biff8::kWorksheetType) sheetNo_ = 1;
    pos_ += 4 + len;
}

void Walker::run() {
    const std::size_t size = s_.size();
    while (pos_ < size) {
        if (size - pos_ < 4) break;  // a record header cut off by the end
        const std::size_t start = pos_;
        const std::uint16_t id = u16(s_.data() + start);
        const std::size_t len = u16(s_.data() + start + 2);
        const std::size_t avail = std::min(len, size - start - 4);
        if (id == id::Sst) {
            pos_ = sharedStringTable(start);
        } else {
            record(id, Body{s_.data() + start + 4, avail});
            pos_ = std::min(start + 4 + len, size);
        }
        progress();
        if (cancel_) break;
    }
}

std::string Walker::biff8String(Body b, std::size_t o, bool shortCount) const {
    return upToNul(biff::biff8StringUnits(b.p, b.size, o, shortCount));
}

void Walker::cellRecord(std::uint16_t id, const biff::CellRecord &c) {
    using Kind = biff::CellRecord::Kind;
    switch (c.kind()) {
    case Kind::Number:
        // BIFF2's INTEGER, a whole number below 65536, gives its "%d" text here too.
        cell(c.row(), c.col(), c.xf(), TXBiff::formatGeneral(c.number()));
        break;
    case Kind::NumberRun: {
        const int row = c.row(), first = c.col();
        for (std::size_t i = 0, n = c.runLength(); i < n; ++i)
            cell(row, first + int(i), c.runXf(i), TXBiff::formatGeneral(c.runNumber(i)));
        break;
    }
    case Kind::Text:
        // LABEL's text runs to the end of the body, whatever its length
        // field says; RSTRING's stops there, at its formatting runs.
        if (c.unicode()) cell(c.row(), c.col(), c.xf(), upToNul(c.unicodeText()));
        else cell(c.row(), c.col(), c.xf(), text8(c.chars(), id == id::RString ? statedText(c) : c.availableLength()));
        break;
    case Kind::SharedText: {
        // Handed out without its XF index.
        const std::uint32_t index = c.sharedIndex();
        if (index < shared_.size()) cell(c.row(), c.col(), 0, shared_[index]);
        break;
    }
    case Kind::Formula: {
        // A boolean result as such, every other one as the number its eight bytes make.
        std::string text;
        if (!c.resultIsNumber() && c.resultType() == 1) text = c.resultValue() == 0 ? "FALSE" : "TRUE";
        else text = TXBiff::formatGeneral(c.number());
        cell(c.row(), c.col(), c.xf(), text);
        break;
    }
    case Kind::FormulaText:
        // The text goes to the cell read last, whatever record that was.
        cell(lastRow_, lastCol_, lastAttr_, c.unicode() ? upToNul(c.unicodeText()) : text8(c.chars(), statedText(c)));
        break;
    case Kind::Blank:
    case Kind::BlankRun:
    case Kind::BoolErr:
    case Kind::None: break;  // no text to hand out
    }
}

void Walker::record(std::uint16_t id, Body b) {
    const biff::CellRecord asCell(id, b.p, b.size, state_);
    if (asCell.kind() != biff::CellRecord::Kind::None) {
        // A cell record too short for its layout is passed over.
        if (asCell.whole()) cellRecord(id, asCell);
        return;
    }
    switch (id) {
    case id::BoundSheet: {
        if (!b.has(0, 7) || b.p[5] != 0) break;
        std::string name;
        const std::size_t count = b.p[6];
        if (state_ == 8) {
            if (!b.has(7, 1)) break;
            name = biff8String(b, 6, true);
        } else {
            name = text8(b.p + 7, std::min(count, b.size - 7));
        }
        if (owner_.OnReadSheetName) owner_.OnReadSheetName(owner_, name);
        break;
    }
    case id::ColInfo:
        if (owner_.OnReadColW && b.has(0, 6)) {
            const int first = b.u16(0), last = b.u16(2), width = b.u16(4);
            for (int c = first; c <= last; ++c) owner_.OnReadColW(owner_, sheetNo_, c, width);
        }
        break;
    case id::Codepage:
        if (b.has(0, 2)) codePage_.select(b.u16(0));
        break;
    case id::FilePass:
        // Every record body behind it is encrypted: walked on, it would give
        // cells of random values. The service refuses such a workbook with a
        // message of its own.
        throw XBiffError(kMsgOpenFailed);
    case id::Bof2:
    case id::Bof3:
    case id::Bof4:
    case id::Bof:
        if (b.has(2, 2) && b.u16(2) == biff8::kWorksheetType) ++sheetNo_;
        break;
    default: break;
    }
}

// The SST record and the CONTINUE records behind it, as one unit. Returns
// the position of the first record after the unit.
std::size_t Walker::sharedStringTable(std::size_t start) {
    const std::size_t size = s_.size();
    std::vector<std::span<const std::uint8_t>> bodies;
    std::size_t at = start;
    bool first = true;
    while (at + 4 <= size && (first || u16(s_.data() + at) == id::Continue)) {
        const std::size_t len = u16(s_.data() + at + 2);
        if (len > biff8::kMaxRecordBody) throw XBiffError(kMsgUnknownFormat);
        bodies.push_back(s_.subspan(at + 4, std::min(len, size - at - 4)));
        at = std::min(at + 4 + len, size);
        first = false;
    }
    shared_ = biff::decodeSharedStrings(bodies);
    return at;
}

}  // namespace

double TXBiff::RkToFloat(std::uint32_t rk) { return biff::rkNumber(rk); }

std::string TXBiff::formatGeneral(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    // Whole numbers of up to 15 digits, the common case, print as integers.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) return std::to_string(std::int64_t(value));

    // 15 significant digits: d.dddddddddddddde[+-]x...
    char sci[40];
    const auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    const char *p = sci;
    const char *end = res.ptr;
    const bool negative = *p == '-';
    if (negative) ++p;
    char digits[16];
    std::size_t n = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') digits[n++] = *p;
    int exponent = 0;
    const char *exponentText = p + 1;
    if (exponentText < end && *exponentText == '+') ++exponentText;
    std::from_chars(exponentText, end, exponent);
    while (n > 1 && digits[n - 1] == '0') --n;

    char out[48];
    std::size_t o = 0;
    if (negative) out[o++] = '-';
    if (exponent >= -5 && exponent < 15) {
        if (exponent >= 0) {
            const std::size_t intDigits = std::size_t(exponent) + 1;
            for (std::size_t i = 0; i < intDigits; ++i) out[o++] = i < n ? digits[i] : '0';
            if (n > intDigits) {
                out[o++] = '.';
                for (std::size_t i = intDigits; i < n; ++i) out[o++] = digits[i];
            }
        } else {
            out[o++] = '0';
            out[o++] = '.';
            for (int i = 0; i < -exponent - 1; ++i) out[o++] = '0';
            for (std::size_t i = 0; i < n; ++i) out[o++] = digits[i];
        }
    } else {
        out[o++] = digits[0];
        if (n > 1) {
            out[o++] = '.';
            for (std::size_t i = 1; i < n; ++i) out[o++] = digits[i];
        }
        out[o++] = 'E';
        const auto e = std::to_chars(out + o, out + sizeof out, exponent);
        o = std::size_t(e.ptr - out);
    }
    return std::string(out, o);
}

namespace {

struct Buffer {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t capacity = 0;
};

// The buffer of the thread's last workbook, up to kKeptBuffer bytes: loaders
// read many in a row, and a fresh megabyte each time costs its page faults
// and, once freed, makes the allocator give back to the system the pages
// that the next walk's texts want again.
constexpr std::size_t kKeptBuffer = std::size_t{16} << 20;
thread_local Buffer keptBuffer;

// A whole file, read into the kept buffer when it is large enough. Read
// rather than mapped: a mapped file that another program cuts short while
// it is walked would kill the process.
class FileBytes {
public:
    // Files other than regular ones are not read (and opened without waiting,
    // so that a named pipe does not hang the caller).
    explicit FileBytes(const std::string &fileName) {
        const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) throw XBiffError(kMsgOpenFailed);
        struct Closer {
            int fd;
            ~Closer() { ::close(fd); }
        } closer{fd};
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) throw XBiffError(kMsgOpenFailed);
        // The kept buffer is taken out while in use: a handler that opens
        // another workbook gets a buffer of its own.
        buffer_ = std::move(keptBuffer);
        keptBuffer = Buffer{};
        // One byte more than the size told, to see a file that has grown since.
        reserve(std::size_t(st.st_size) + 1);
        for (;;) {
            if (size_ == buffer_.capacity) reserve(2 * size_);
            const ssize_t got = ::read(fd, buffer_.data.get() + size_, buffer_.capacity - size_);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw XBiffError(kMsgOpenFailed);
            if (got == 0) break;
            size_ += std::size_t(got);
        }
    }
    ~FileBytes() {
        if (buffer_.capacity <= kKeptBuffer && buffer_.capacity > keptBuffer.capacity) keptBuffer = std::move(buffer_);
    }
    FileBytes(const FileBytes &) = delete;
    FileBytes &operator=(const FileBytes &) = delete;

    std::span<const std::uint8_t> bytes() const { return {buffer_.data.get(), size_}; }

private:
    void reserve(std::size_t capacity) {
        if (capacity <= buffer_.capacity) return;
        auto data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (size_ > 0) std::memcpy(data.get(), buffer_.data.get(), size_);
        buffer_ = Buffer{std::move(data), capacity};
    }

    Buffer buffer_;
    std::size_t size_ = 0;
};

}  // namespace

void TXBiff::Open(const std::string &fileName) {
    FileName = fileName;
    std::error_code ec;
    if (std::filesystem::is_directory(fileName, ec)) throw XBiffError(kMsgOpenFailed);
    const FileBytes file(fileName);
    parse(file.bytes());
}

void TXBiff::OpenBytes(std::span<const std::uint8_t> fileBytes) { parse(fileBytes); }

void TXBiff::parse(std::span<const std::uint8_t> file) {
    // The stream is handed to the walk where it lies: in the file, or, when
    // its sectors are out of order, gathered once into `gathered`.
    std::span<const std::uint8_t> stream;
    std::vector<std::uint8_t> gathered;
    std::optional<cfb::CompoundFile> cf;
    int state = 2;
    if (cfb::CompoundFile::hasSignature(file)) {
        try {
            cf.emplace(cfb::CompoundFile::view(file));
            if (auto i = cf->findRootStream(u"Workbook")) {
                stream = cf->streamSpan(*i, gathered);
                state = 5;
            } else if (auto j = cf->findRootStream(u"book")) {
                stream = cf->streamSpan(*j, gathered);
                state = 4;
            }
        } catch (const cfb::NotCompoundFile &) {
            state = 2;
        }
    }
    if (state == 2) stream = file;
    Progress = 0;
    Walker w(*this, stream, state);
    w.firstBof();
    biffState_ = w.state();
    w.run();
    Progress = 0;
    if (OnProgress) OnProgress(*this, Progress);
}

}  // namespace dorv
