#include "workbook/cell_records.h"

#include <cstring>

#include "workbook/biff_ids.h"
#include "workbook/biff_text.h"

namespace dorv::biff {

namespace id = biff8::id;

double rkNumber(std::uint32_t rk) {
    double v;
    if (rk & 0x02) {
        v = double(std::int32_t(rk) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    if (rk & 0x01) v /= 100;
    return v;
}

CellRecord::CellRecord(std::uint16_t id, const std::uint8_t *body, std::size_t size, int version)
    : p_(body), size_(size) {
    // The cell header: row, column, then the XF index (2 bytes) or BIFF2's
    // attributes (3 bytes); the value follows.
    auto cell = [this](Kind kind, std::uint8_t value, std::uint8_t valueSize) {
        kind_ = kind;
        value_ = value;
        wholeSize_ = std::uint8_t(value + valueSize);
    };
    // The length field of an 8-bit text, or where a BIFF8 string starts.
    auto text = [this](std::uint8_t at, std::uint8_t countBytes, bool unicode) {
        textAt_ = at;
        countBytes_ = countBytes;
        unicode_ = unicode;
    };
    switch (id) {
    case id::Integer2:
        cell(Kind::Number, 7, 2);
        form_ = NumberForm::Integer;
        break;
    case id::Number2: cell(Kind::Number, 7, 8); break;
    case id::Number: cell(Kind::Number, 6, 8); break;
    case id::Rk:
        cell(Kind::Number, 6, 4);
        form_ = NumberForm::Rk;
        break;
    case id::MulRk: cell(Kind::NumberRun, 4, 2); break;
    case id::Blank: cell(Kind::Blank, 6, 0); break;
    case id::MulBlank: cell(Kind::BlankRun, 4, 2); break;
    case id::Label2:
        cell(Kind::Text, 7, 1);
        text(7, 1, false);
        break;
    case id::Label:
    case id::RString:
        cell(Kind::Text, 6, 2);
        text(6, 2, version == 8);
        break;
    case id::LabelSst: cell(Kind::SharedText, 6, 4); break;
    case id::BoolErr2: cell(Kind::BoolErr, 7, 2); break;
    case id::BoolErr: cell(Kind::BoolErr, 6, 2); break;
    case id::Formula:
    case id::Formula3:
    case id::Formula4: cell(Kind::Formula, version == 2 ? 7 : 6, 8); break;
    case id::String2:
    case id::String:
        // No cell header: the length field comes first (BIFF8: with the
        // string's flags behind it).
        kind_ = Kind::FormulaText;
        value_ = 0;
        text(0, version == 2 ? 1 : 2, version == 8);
        wholeSize_ = version == 2 ? 1 : version == 8 ? 3 : 2;
        break;
    default: break;
    }
}

double CellRecord::number() const {
    switch (form_) {
    case NumberForm::Integer: return u16(value_);
    case NumberForm::Rk: return rkNumber(u32(value_));
    case NumberForm::Ieee: break;
    }
    // Each half past the end reads as 0 on its own.
    const std::uint64_t bits = u32(value_) | (std::uint64_t(u32(value_ + 4)) << 32);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::u16string CellRecord::unicodeText() const { return biff8StringUnits(p_, size_, textAt_); }

}  // namespace dorv::biff
