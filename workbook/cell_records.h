// The layouts of the cell records of BIFF2..BIFF8, each decoded here once.
// The reader (TXBiff), the service's worksheet (biff8::SheetCells) and the
// conversion of older workbooks take their cells through CellRecord; what
// each of them does with a body too short for its layout (pass it over,
// refuse the sheet, read the missing bytes as zeros) stays with them.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "workbook/biff_ids.h"
#include "workbook/little_endian.h"

namespace dorv::biff {

// An RK number: a 30-bit integer (bit 1 set) or the upper 30 bits of a
// double, divided by 100 when bit 0 is set.
inline double rkNumber(std::uint32_t rk) {
    double v = rk & 0x02 ? double(std::int32_t(rk) >> 2) : std::bit_cast<double>(std::uint64_t(rk & 0xFFFFFFFCu) << 32);
    if (rk & 0x01) v /= 100;
    return v;
}

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

    Kind kind() const { return layout_->kind; }

    // The body holds the whole layout: every fixed field, a text's length
    // field (and for a BIFF8 STRING its flags), a run's last column. Every
    // read below stays inside the body; a field past its end reads as 0.
    bool whole() const { return size_ >= layout_->whole; }

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
    std::size_t runLength() const { return size_ < kRunHead ? 0 : (size_ - kRunHead) / layout_->each; }
    std::uint16_t lastCol() const { return size_ < 2 ? 0 : u16(size_ - 2); }
    int runXf(std::size_t i) const { return u16(4 + layout_->each * i); }
    double runNumber(std::size_t i) const { return rkNumber(u32(6 + layout_->each * i)); }

    // Text and FormulaText: a BIFF8 string, whose characters (NULs
    // included, as many as the body holds) unicodeText() gives...
    bool unicode() const { return layout_->unicode; }
    std::u16string unicodeText() const;
    // ... or 8-bit characters: where they start, how many the length field
    // says and how many bytes the body holds from there.
    const std::uint8_t *chars() const { return p_ + std::min(charsAt(), size_); }
    std::size_t statedLength() const { return layout_->countBytes == 1 ? byte(layout_->textAt) : u16(layout_->textAt); }
    std::size_t availableLength() const { return size_ > charsAt() ? size_ - charsAt() : 0; }

    // SharedText: the index into the shared string table.
    std::uint32_t sharedIndex() const { return u32(6); }

    // BoolErr: the boolean (0 or 1) or the error code, and which of the two.
    std::uint8_t boolErrValue() const { return byte(layout_->value); }
    bool isError() const { return byte(layout_->value + 1) != 0; }

    // Formula: a result other than a number is marked by 0xFFFF in its last
    // two bytes; its type is then 0 a text (in the STRING record behind), 1
    // a boolean, 2 an error, 3 an empty text, and resultValue() the boolean
    // or the error code.
    bool resultIsNumber() const { return u16(layout_->value + 6) != 0xFFFF; }
    std::uint8_t resultType() const { return byte(layout_->value); }
    std::uint8_t resultValue() const { return byte(layout_->value + 2); }
    // BIFF5 and BIFF8: the formula's option flags and the first token of its
    // expression (behind the calculation chain and the expression's size).
    std::uint16_t formulaOptions() const { return u16(layout_->value + 8); }
    std::uint8_t firstToken() const { return byte(layout_->value + 16); }

private:
    enum class NumberForm : std::uint8_t { None, Integer, Ieee, Rk };
    // What a record holds and where, by offset into its body.
    struct Layout {
        Kind kind = Kind::None;
        NumberForm form = NumberForm::None;
        std::uint8_t value = 0;       // the value, behind row, column and XF (BIFF2: attributes)
        std::uint8_t whole = 0;       // the size of the fixed fields
        std::uint8_t each = 1;        // a run: the bytes of one cell
        std::uint8_t textAt = 0;      // a text: its length field, or its BIFF8 string
        std::uint8_t countBytes = 0;  // the size of that length field
        bool unicode = false;         // the text is a BIFF8 string
    };
    static const Layout &layoutOf(std::uint16_t rid, int version);
    static constexpr std::size_t kRunHead = 6;  // row, first column, last column

    std::uint8_t byte(std::size_t o) const { return o < size_ ? p_[o] : 0; }
    std::uint16_t u16(std::size_t o) const { return o + 2 <= size_ ? le::u16(p_ + o) : 0; }
    std::uint32_t u32(std::size_t o) const { return o + 4 <= size_ ? le::u32(p_ + o) : 0; }
    bool biff2Header() const { return layout_->value == 7; }
    std::size_t charsAt() const { return std::size_t(layout_->textAt) + layout_->countBytes; }

    const std::uint8_t *p_;
    std::size_t size_;
    const Layout *layout_;  // in the table of layouts
};

// The table of layouts. Runs have no value field; the XF of cell i stands
// at 4 + each * i, a MULRK's RK number behind it.
inline const CellRecord::Layout &CellRecord::layoutOf(std::uint16_t rid, int version) {
    using K = Kind;
    using F = NumberForm;
    static constexpr Layout kInteger2{.kind = K::Number, .form = F::Integer, .value = 7, .whole = 9};
    static constexpr Layout kNumber2{.kind = K::Number, .form = F::Ieee, .value = 7, .whole = 15};
    static constexpr Layout kNumber{.kind = K::Number, .form = F::Ieee, .value = 6, .whole = 14};
    static constexpr Layout kRk{.kind = K::Number, .form = F::Rk, .value = 6, .whole = 10};
    static constexpr Layout kMulRk{.kind = K::NumberRun, .whole = 6, .each = 6};
    static constexpr Layout kBlank{.kind = K::Blank, .whole = 6};
    static constexpr Layout kMulBlank{.kind = K::BlankRun, .whole = 6, .each = 2};
    static constexpr Layout kLabel2{.kind = K::Text, .value = 7, .whole = 8, .textAt = 7, .countBytes = 1};
    static constexpr Layout kLabel{.kind = K::Text, .value = 6, .whole = 8, .textAt = 6, .countBytes = 2};
    static constexpr Layout kLabel8{
        .kind = K::Text, .value = 6, .whole = 8, .textAt = 6, .countBytes = 2, .unicode = true};
    static constexpr Layout kLabelSst{.kind = K::SharedText, .value = 6, .whole = 10};
    static constexpr Layout kBoolErr2{.kind = K::BoolErr, .value = 7, .whole = 9};
    static constexpr Layout kBoolErr{.kind = K::BoolErr, .value = 6, .whole = 8};
    static constexpr Layout kFormula2{.kind = K::Formula, .form = F::Ieee, .value = 7, .whole = 15};
    static constexpr Layout kFormula{.kind = K::Formula, .form = F::Ieee, .value = 6, .whole = 14};
    // STRING has no cell header: its length field comes first (in BIFF8
    // with the string's flags, which a whole record holds too).
    static constexpr Layout kString2{.kind = K::FormulaText, .whole = 1, .countBytes = 1};
    static constexpr Layout kString{.kind = K::FormulaText, .whole = 2, .countBytes = 2};
    static constexpr Layout kString8{.kind = K::FormulaText, .whole = 3, .countBytes = 2, .unicode = true};
    namespace id = biff8::id;
    static constexpr Layout kNone{};
    switch (rid) {
    case id::Integer2: return kInteger2;
    case id::Number2: return kNumber2;
    case id::Number: return kNumber;
    case id::Rk: return kRk;
    case id::MulRk: return kMulRk;
    case id::Blank: return kBlank;
    case id::MulBlank: return kMulBlank;
    case id::Label2: return kLabel2;
    case id::Label:
    case id::RString: return version == 8 ? kLabel8 : kLabel;
    case id::LabelSst: return kLabelSst;
    case id::BoolErr2: return kBoolErr2;
    case id::BoolErr: return kBoolErr;
    case id::Formula:
    case id::Formula3:
    case id::Formula4: return version == 2 ? kFormula2 : kFormula;
    case id::String2:
    case id::String: return version == 2 ? kString2 : version == 8 ? kString8 : kString;
    default: return kNone;
    }
}

inline CellRecord::CellRecord(std::uint16_t id, const std::uint8_t *body, std::size_t size, int version)
    : p_(body), size_(size), layout_(&layoutOf(id, version)) {}

inline double CellRecord::number() const {
    switch (layout_->form) {
    case NumberForm::Integer: return u16(layout_->value);
    case NumberForm::Rk: return rkNumber(u32(layout_->value));
    case NumberForm::Ieee:
    case NumberForm::None: break;
    }
    // Each half past the end reads as 0 on its own.
    const std::size_t o = layout_->value;
    return std::bit_cast<double>(o + 8 <= size_ ? le::u64(p_ + o) : u32(o) | (std::uint64_t(u32(o + 4)) << 32));
}

}  // namespace dorv::biff
