// The layouts of the cell records of BIFF2..BIFF8, each decoded here once.
// The reader (TXBiff), the service's worksheet (biff8::SheetCells) and the
// conversion of older workbooks take their cells through CellRecord; what
// each of them does with a body too short for its layout (pass it over,
// refuse the sheet, read the missing bytes as zeros) stays with them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "workbook/little_endian.h"

namespace dorv::biff {

// An RK number: a 30-bit integer (bit 1 set) or the upper 30 bits of a
// double, divided by 100 when bit 0 is set.
double rkNumber(std::uint32_t rk);

class CellRecord {
public:
    enum class Kind : std::uint8_t {
        None,         // no cell record
        Blank,        // BLANK
        BlankRun,     // MULBLANK: blanks side by side in one row
        Number,       // INTEGER and NUMBER of BIFF2, NUMBER, RK
        NumberRun,    // MULRK: RK numbers side by side in one row
        Text,         // LABEL (BIFF2's and the later one), RSTRING
        SharedText,   // LABELSST: an index into the shared string table
        BoolErr,      // BOOLERR (BIFF2's and the later one): a boolean or an error code
        Formula,      // FORMULA (each version's): the result it was saved with
        FormulaText,  // STRING: the text result of the FORMULA before it
    };

    // `version` is the BIFF version whose layout the record has: 2, 3, 4, 5
    // or 8 (the reader passes its stream's, as TXBiff::biffState() gives
    // it). In BIFF2 the cell header holds three attribute bytes where the
    // later versions have the XF index, a FORMULA's result included (of
    // every FORMULA id), and a STRING counts its characters in one byte (of
    // either STRING id); BIFF8 stores the texts of LABEL, RSTRING and STRING
    // as BIFF8 strings.
    CellRecord(std::uint16_t id, const std::uint8_t *body, std::size_t size, int version);

    Kind kind() const { return kind_; }

    // The body holds the whole layout: every fixed field, a text's length
    // field (and for a BIFF8 STRING its flags), a run's last column. Every
    // read below stays inside the body; a field past its end reads as 0.
    bool whole() const { return size_ >= wholeSize_; }

    std::uint16_t row() const { return u16(0); }
    std::uint16_t col() const { return u16(2); }
    // The XF index, or the three attribute bytes of BIFF2 as one integer,
    // the first byte lowest.
    int xf() const { return biff2Header() ? byte(4) | (byte(5) << 8) | (byte(6) << 16) : u16(4); }

    // Number: the value. Formula: the result read as a number.
    double number() const;

    // BlankRun and NumberRun: the cells the body has room for, the last
    // column the record names (the two disagree in a damaged record), and
    // the XF and the number of cell `i` from the first column.
    std::size_t runLength() const { return size_ < kRunHead ? 0 : (size_ - kRunHead) / runEach(); }
    std::uint16_t lastCol() const { return size_ < 2 ? 0 : u16(size_ - 2); }
    int runXf(std::size_t i) const { return u16(4 + runEach() * i); }
    double runNumber(std::size_t i) const { return rkNumber(u32(6 + runEach() * i)); }

    // Text and FormulaText: a BIFF8 string, whose characters (NULs
    // included, as many as the body holds) unicodeText() gives...
    bool unicode() const { return unicode_; }
    std::u16string unicodeText() const;
    // ... or 8-bit characters: where they start, how many the length field
    // says and how many bytes the body holds from there.
    const std::uint8_t *chars() const { return p_ + std::min(charsAt(), size_); }
    std::size_t statedLength() const { return countBytes_ == 1 ? byte(textAt_) : u16(textAt_); }
    std::size_t availableLength() const { return size_ > charsAt() ? size_ - charsAt() : 0; }

    // SharedText: the index into the shared string table.
    std::uint32_t sharedIndex() const { return u32(6); }

    // BoolErr: the boolean (0 or 1) or the error code, and which of the two.
    std::uint8_t boolErrValue() const { return byte(value_); }
    bool isError() const { return byte(value_ + 1) != 0; }

    // Formula: a result other than a number is marked by 0xFFFF in its last
    // two bytes; its type is then 0 a text (in the STRING record behind), 1
    // a boolean, 2 an error, 3 an empty text, and resultValue() the boolean
    // or the error code.
    bool resultIsNumber() const { return u16(value_ + 6) != 0xFFFF; }
    std::uint8_t resultType() const { return byte(value_); }
    std::uint8_t resultValue() const { return byte(value_ + 2); }
    // BIFF5 and BIFF8: the formula's option flags and the first token of its
    // expression (behind the calculation chain and the expression's size).
    std::uint16_t formulaOptions() const { return u16(value_ + 8); }
    std::uint8_t firstToken() const { return byte(value_ + 16); }

private:
    enum class NumberForm : std::uint8_t { Integer, Ieee, Rk };
    static constexpr std::size_t kRunHead = 6;  // row, first column, last column

    std::uint8_t byte(std::size_t o) const { return o < size_ ? p_[o] : 0; }
    std::uint16_t u16(std::size_t o) const { return o + 2 <= size_ ? le::u16(p_ + o) : 0; }
    std::uint32_t u32(std::size_t o) const { return o + 4 <= size_ ? le::u32(p_ + o) : 0; }
    bool biff2Header() const { return value_ == 7; }
    std::size_t runEach() const { return kind_ == Kind::NumberRun ? 6 : 2; }
    std::size_t charsAt() const { return textAt_ + countBytes_; }

    const std::uint8_t *p_;
    std::size_t size_;
    Kind kind_ = Kind::None;
    NumberForm form_ = NumberForm::Ieee;
    bool unicode_ = false;
    std::uint8_t value_ = 6;       // where the value starts: behind row, column and XF (or attributes)
    std::uint8_t textAt_ = 6;      // where a text's length field starts
    std::uint8_t countBytes_ = 2;  // the size of that length field
    std::uint8_t wholeSize_ = 0;
};

}  // namespace dorv::biff
