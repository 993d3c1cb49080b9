// TXBiff: one pass over a BIFF2..BIFF8 workbook, every cell handed out as text.
//
// The workbook is either a plain record stream or the "Workbook" / "book"
// stream of an OLE compound file. The reader keeps no cells: it fires
// OnReadCell for every value, OnReadColW for every column of a column-width
// record, OnReadSheetName for every worksheet of the sheet list and
// OnProgress after every record. All events are fired from inside Open().
//
// Texts are UTF-8. Numbers come as "%d" / general-format texts with "." as
// the decimal separator (see formatGeneral).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace dorv {

class TXBiff;

using TOnProgressEvent = std::function<void(TXBiff &Sender, int Progress)>;
using TOnReadCellEvent = std::function<void(TXBiff &Sender, int SheetNo, int Row, int Col, int rgbAttr,
                                            const std::string &Data, bool &Cancel)>;
using TOnReadColWEvent = std::function<void(TXBiff &Sender, int SheetNo, int Col, int Width)>;
using TOnReadSheetNameEvent = std::function<void(TXBiff &Sender, const std::string &SheetName)>;

// The reader's own failures. An exception thrown by an event handler leaves
// Open() unchanged, as that same exception.
class XBiffError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char *kMsgOpenFailed = "ﾌｧｲﾙを開くことに失敗しました";
inline constexpr const char *kMsgUnknownFormat = "未知のフォーマット.";
inline constexpr const char *kMsgStreamRead = "ストリーム読込みエラー.";

class TXBiff {
public:
    std::string FileName;
    TOnProgressEvent OnProgress;
    TOnReadCellEvent OnReadCell;
    TOnReadColWEvent OnReadColW;
    TOnReadSheetNameEvent OnReadSheetName;
    int Progress = 0;

    // Stores FileName and walks the file. Throws XBiffError(kMsgOpenFailed)
    // when the file cannot be read, when its stream does not start with a BOF
    // record (passing over words in front of the first BOF id) and for an
    // encrypted workbook (FILEPASS); XBiffError(kMsgUnknownFormat) for an
    // oversized shared string table, and whatever a handler throws.
    void Open(const std::string &FileName);

    // The same walk over the contents of a file already in memory, read where
    // they lie: they must stay unchanged until it returns.
    void OpenBytes(std::span<const std::uint8_t> fileBytes);

    // The record-layout selector of the last walk: 2 BIFF2 plain file,
    // 3 BIFF3, 4 stream "book" (or plain BIFF4), 5 stream "Workbook" (or plain
    // BIFF5), 8 BIFF8.
    int biffState() const { return biffState_; }

    // RK number -> double (integer flag in bit 1, divide-by-100 flag in bit 0).
    static double RkToFloat(std::uint32_t rk);

    // General number format: up to 15 significant digits, no trailing zeros,
    // fixed notation for 0 and for magnitudes from 0.00001 with at most 15
    // integer digits, otherwise scientific ("1E20", "1.5E-7"); "NAN", "INF",
    // "-INF".
    static std::string formatGeneral(double value);

private:
    void parse(std::span<const std::uint8_t> file);
    int biffState_ = 0;
};

}  // namespace dorv
