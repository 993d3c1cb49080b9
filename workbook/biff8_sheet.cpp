#include "workbook/biff8_sheet.h"

#include "workbook/cell_records.h"
#include "workbook/utf16.h"
#include "workbook/xbiff.h"

#include <cstring>
#include <iterator>

namespace dorv::biff8 {

namespace {

bool isCellRecord(std::uint16_t rid) {
    switch (rid) {
    case id::Blank:
    case id::MulBlank:
    case id::Number:
    case id::Rk:
    case id::MulRk:
    case id::LabelSst:
    case id::Label:
    case id::RString:
    case id::BoolErr:
    case id::Formula: return true;
    default: return false;
    }
}

// Cell records of the older formats (and their formula text record). Our
// reader takes them for cells in any stream, so a save that moved them away
// from the BIFF8 cells would change what it reads; no BIFF8 writer puts them
// in a worksheet.
bool isOlderCellRecord(std::uint16_t rid) {
    return rid == id::Integer2 || rid == id::Number2 || rid == id::Label2 || rid == id::String2 ||
           rid == id::Formula3 || rid == id::Formula4;
}

bool belongsToFormula(std::uint16_t rid) {
    return rid == id::String || rid == id::ShrFmla || rid == id::Array || rid == id::Table;
}

// A record of the sheet as a cell record of BIFF8.
biff::CellRecord cellOf(const Record &r) {
    return biff::CellRecord(r.id, reinterpret_cast<const std::uint8_t *>(r.body.data()), r.body.size(), 8);
}

bool isRun(const biff::CellRecord &c) {
    return c.kind() == biff::CellRecord::Kind::NumberRun || c.kind() == biff::CellRecord::Kind::BlankRun;
}

Record cellRecord(std::uint16_t rid, std::uint16_t row, std::uint16_t col, std::uint16_t xf) {
    Record r{rid, {}};
    append16(r.body, row);
    append16(r.body, col);
    append16(r.body, xf);
    return r;
}

// The part [a, b] of a MULRK or MULBLANK run, as a run or a single cell.
Record subRun(const Record &run, std::uint16_t col1, std::uint16_t a, std::uint16_t b) {
    const bool rk = run.id == id::MulRk;
    const std::size_t each = rk ? 6 : 2;
    std::uint16_t row = get16(run.body, 0);
    std::size_t from = 4 + (a - col1) * each;
    if (a == b) {
        Record r{rk ? id::Rk : id::Blank, {}};
        append16(r.body, row);
        append16(r.body, a);
        r.body += run.body.substr(from, each);
        return r;
    }
    Record r{run.id, {}};
    append16(r.body, row);
    append16(r.body, a);
    r.body += run.body.substr(from, (b - a + 1) * each);
    append16(r.body, b);
    return r;
}

}  // namespace

SheetCells::SheetCells(std::vector<Record> records) {
    bool tableSeen = false;
    int depth = 0;
    Unit *last = nullptr;
    bool prevInCell = false;
    // A save lays the cell table out in one piece; cells of an embedded
    // substream (a chart's cached values) that stand between its records
    // would end up behind it, and a reader that walks every record would
    // then take a different value as the last one for such a cell.
    bool embeddedCellsBehind = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record &r = records[i];
        bool nested = depth > 1 || (depth == 1 && isBof(r.id));
        if (isBof(r.id)) ++depth;
        else if (r.id == id::Eof) --depth;
        // A CONTINUE behind a cell record is part of it and moves with it.
        const bool continuesCell = r.id == id::Continue && last && prevInCell;
        const bool table =
            !nested && depth == 1 &&
            (isCellRecord(r.id) || belongsToFormula(r.id) || continuesCell || r.id == id::Row || r.id == id::DbCell);
        prevInCell = table && r.id != id::Row && r.id != id::DbCell;
        if (!nested && depth == 1 && isOlderCellRecord(r.id))
            throw FormatError(FormatError::Kind::Damaged, "a cell record of an older format");
        if (!table) {
            embeddedCellsBehind = embeddedCellsBehind || (tableSeen && nested && isCellRecord(r.id));
            (tableSeen ? suffix_ : prefix_).push_back(std::move(r));
            continue;
        }
        if (embeddedCellsBehind && isCellRecord(r.id))
            throw FormatError(FormatError::Kind::Damaged, "embedded cells inside the cell table");
        tableSeen = true;
        if (r.id == id::DbCell) {
            useDbCells_ = true;
            continue;
        }
        if (r.id == id::Row) {
            rows_[get16(r.body, 0)].rowBody = std::move(r.body);
            continue;
        }
        // A STRING holds the text result of the FORMULA before it; our reader
        // gives its text to whatever cell came last, so one behind any other
        // cell would read differently once the table is laid out anew.
        if (r.id == id::String && (!last || last->recs[0].id != id::Formula))
            throw FormatError(FormatError::Kind::Damaged, "a formula's text without its formula");
        if (belongsToFormula(r.id) || continuesCell) {
            if (last) last->recs.push_back(std::move(r));
            else suffix_.push_back(std::move(r));
            continue;
        }
        if (r.body.size() < 6) throw FormatError(FormatError::Kind::Damaged, "short cell record");
        const biff::CellRecord c = cellOf(r);
        Unit u;
        u.col1 = c.col();
        u.col2 = isRun(c) ? c.lastCol() : u.col1;
        if (u.col2 < u.col1) throw FormatError(FormatError::Kind::Damaged, "bad cell run");
        const std::uint16_t row = c.row();
        u.recs.push_back(std::move(r));
        const std::uint16_t col1 = u.col1;
        RowData &rd = rows_[row];
        // Two records for one cell: readers disagree on which one counts (the
        // loaders' reader passes blanks over, a spreadsheet takes the last),
        // so a save could not keep what each of them reads. No writer makes
        // such a file; it is taken as damaged.
        auto next = rd.cells.lower_bound(col1);
        if ((next != rd.cells.end() && next->second.col1 <= u.col2) ||
            (next != rd.cells.begin() && std::prev(next)->second.col2 >= col1))
            throw FormatError(FormatError::Kind::Damaged, "two records for one cell");
        rd.cells[col1] = std::move(u);
        last = &rd.cells[col1];
    }
    if (!tableSeen) {
        // No cells yet: the table goes behind DIMENSIONS, else before WINDOW2, else before EOF.
        std::size_t at = prefix_.empty() ? 0 : prefix_.size() - 1;
        for (std::size_t i = 0; i < prefix_.size(); ++i) {
            if (prefix_[i].id == id::Dimensions) {
                at = i + 1;
                break;
            }
            if (prefix_[i].id == id::Window2) {
                at = i;
                break;
            }
        }
        suffix_.assign(std::make_move_iterator(prefix_.begin() + static_cast<std::ptrdiff_t>(at)),
                       std::make_move_iterator(prefix_.end()));
        prefix_.resize(at);
    }
    for (const Record &r : prefix_)
        if (r.id == id::Index) useDbCells_ = true;
}

const SheetCells::Unit *SheetCells::find(std::uint16_t row, std::uint16_t col) const {
    auto rit = rows_.find(row);
    if (rit == rows_.end()) return nullptr;
    const auto &cells = rit->second.cells;
    auto it = cells.upper_bound(col);
    if (it == cells.begin()) return nullptr;
    --it;
    return it->second.col2 >= col ? &it->second : nullptr;
}

CellValue SheetCells::value(std::uint16_t row, std::uint16_t col, const SharedStrings &sst) const {
    using Kind = biff::CellRecord::Kind;
    CellValue v;
    const Unit *u = find(row, col);
    if (!u) return v;
    // Values are read even from a record too short for its layout, the
    // missing bytes as zeros.
    const biff::CellRecord c = cellOf(u->recs[0]);
    switch (c.kind()) {
    case Kind::Number:
        v.kind = CellKind::Number;
        v.number = c.number();
        break;
    case Kind::NumberRun:
        v.kind = CellKind::Number;
        v.number = c.runNumber(col - u->col1);
        break;
    case Kind::SharedText:
        if (c.sharedIndex() < sst.size()) {
            v.kind = CellKind::Text;
            v.text = sst.at(c.sharedIndex()).utf8;
        }
        break;
    case Kind::Text:
        v.kind = CellKind::Text;
        v.text = utf16::toUtf8(c.unicodeText());
        break;
    case Kind::BoolErr:
        if (c.isError()) {
            v.kind = CellKind::Error;
            v.text = errorName(c.boolErrValue());
        } else {
            v.kind = CellKind::Bool;
            v.text = c.boolErrValue() ? "TRUE" : "FALSE";
        }
        break;
    case Kind::Formula:
        if (c.resultIsNumber()) {
            v.kind = CellKind::Number;
            v.number = c.number();
        } else if (c.resultType() == 0) {
            v.kind = CellKind::Text;
            for (const Record &s : u->recs)
                if (s.id == id::String) v.text = utf16::toUtf8(cellOf(s).unicodeText());
        } else if (c.resultType() == 1) {
            v.kind = CellKind::Bool;
            v.text = c.resultValue() ? "TRUE" : "FALSE";
        } else if (c.resultType() == 2) {
            v.kind = CellKind::Error;
            v.text = errorName(c.resultValue());
        }
        break;
    default: break;  // BLANK, MULBLANK
    }
    return v;
}

std::string SheetCells::text(std::uint16_t row, std::uint16_t col, const SharedStrings &sst) const {
    CellValue v = value(row, col, sst);
    return v.kind == CellKind::Number ? TXBiff::formatGeneral(v.number) : v.text;
}

std::uint16_t SheetCells::xfFor(std::uint16_t row, std::uint16_t col) const {
    if (const Unit *u = find(row, col)) {
        const biff::CellRecord c = cellOf(u->recs[0]);
        return static_cast<std::uint16_t>(isRun(c) ? c.runXf(col - u->col1) : c.xf());
    }
    auto rit = rows_.find(row);
    if (rit != rows_.end() && rit->second.rowBody && (get16(*rit->second.rowBody, 12) & 0x0080))
        return get16(*rit->second.rowBody, 14) & 0x0FFF;
    for (const Record &r : prefix_)
        if (r.id == id::ColInfo && get16(r.body, 0) <= col && col <= get16(r.body, 2)) return get16(r.body, 6);
    return 15;  // the default cell format
}

void SheetCells::put(std::uint16_t row, std::uint16_t col, Record rec) {
    RowData &rd = rows_[row];
    auto it = rd.cells.upper_bound(col);
    if (it != rd.cells.begin()) {
        --it;
        Unit old = it->second;
        if (old.col2 >= col) {
            const Record &r = old.recs[0];
            if (r.id == id::Formula) {
                const biff::CellRecord c = cellOf(r);
                const bool shared = (c.formulaOptions() & 0x0008) != 0;
                const unsigned firstToken = c.firstToken();
                bool anchor = false;
                for (const Record &x : old.recs)
                    anchor |= x.id == id::ShrFmla || x.id == id::Array || x.id == id::Table;
                if (shared || anchor || firstToken == 0x01 || firstToken == 0x02)
                    throw CellRefused("shared or array formula");
            }
            rd.cells.erase(it);
            if (old.col1 < col)
                rd.cells[old.col1] =
                    Unit{old.col1, static_cast<std::uint16_t>(col - 1), {subRun(r, old.col1, old.col1, col - 1)}};
            if (old.col2 > col)
                rd.cells[col + 1] =
                    Unit{static_cast<std::uint16_t>(col + 1), old.col2, {subRun(r, old.col1, col + 1, old.col2)}};
        }
    }
    rd.cells[col] = Unit{col, col, {std::move(rec)}};
    rd.dirty = true;
    changed_ = true;
}

void SheetCells::setBlank(std::uint16_t row, std::uint16_t col) {
    if (!find(row, col)) {  // already blank: nothing to store, but the cell was asked for
        changed_ = true;
        return;
    }
    put(row, col, cellRecord(id::Blank, row, col, xfFor(row, col)));
}

void SheetCells::setNumber(std::uint16_t row, std::uint16_t col, double v) {
    Record r = cellRecord(id::Number, row, col, xfFor(row, col));
    appendDouble(r.body, v);
    put(row, col, std::move(r));
}

void SheetCells::setShared(std::uint16_t row, std::uint16_t col, std::uint32_t sstIndex) {
    Record r = cellRecord(id::LabelSst, row, col, xfFor(row, col));
    append32(r.body, sstIndex);
    put(row, col, std::move(r));
}

void SheetCells::setBoolean(std::uint16_t row, std::uint16_t col, bool v) {
    Record r = cellRecord(id::BoolErr, row, col, xfFor(row, col));
    r.body.push_back(v ? 1 : 0);
    r.body.push_back(0);
    put(row, col, std::move(r));
}

void SheetCells::setError(std::uint16_t row, std::uint16_t col, std::uint8_t code) {
    Record r = cellRecord(id::BoolErr, row, col, xfFor(row, col));
    r.body.push_back(static_cast<char>(code));
    r.body.push_back(1);
    put(row, col, std::move(r));
}

void SheetCells::setConstantFormula(std::uint16_t row, std::uint16_t col, bool isError, std::uint8_t value) {
    constexpr char kTokenBool = 0x1D, kTokenError = 0x1C;
    Record r = cellRecord(id::Formula, row, col, xfFor(row, col));
    // The cached result: type (1 boolean, 2 error), 0, value, three zeros,
    // then 0xFFFF where a number's last two bytes would be.
    r.body += std::string{isError ? '\2' : '\1', 0, static_cast<char>(value), 0, 0, 0, '\xFF', '\xFF'};
    append16(r.body, 0);  // options
    append32(r.body, 0);  // calculation chain
    append16(r.body, 2);  // the expression: one constant token and its byte
    r.body.push_back(isError ? kTokenError : kTokenBool);
    r.body.push_back(static_cast<char>(value));
    put(row, col, std::move(r));
}

std::size_t SheetCells::sharedStringRefs() const {
    std::size_t n = 0;
    for (const auto &[row, rd] : rows_)
        for (const auto &[col, u] : rd.cells) n += u.recs[0].id == id::LabelSst;
    return n;
}

std::vector<Record> SheetCells::build(std::size_t offset, bool addUncalced) const {
    // The cell table: blocks of up to 32 rows, each its ROW records, its
    // cells and (when the sheet is indexed) a DBCELL.
    std::vector<Record> table;
    std::vector<std::size_t> dbCellAt;  // indexes into `table`
    std::uint32_t rwMic = 0, rwMac = 0;
    std::uint32_t dimRowMic = 0, dimRowMac = 0;
    std::uint16_t dimColMic = 0, dimColMac = 0;
    bool anyCell = false, anyRow = false;

    std::vector<std::uint16_t> order;
    for (const auto &[row, rd] : rows_)
        if (rd.rowBody || !rd.cells.empty()) order.push_back(row);

    std::size_t tablePos = 0;  // byte position inside the table
    auto emit = [&](Record r) {
        tablePos += serialisedSize(r);
        table.push_back(std::move(r));
    };
    for (std::size_t b = 0; b < order.size(); b += 32) {
        std::size_t e = std::min(order.size(), b + 32);
        std::vector<std::size_t> rowStart;
        for (std::size_t k = b; k < e; ++k) {
            const RowData &rd = rows_.at(order[k]);
            std::string body;
            if (rd.rowBody) {
                body = *rd.rowBody;
            } else {
                append16(body, order[k]);
                append16(body, 0);
                append16(body, 0);
                append16(body, 0x00FF);  // the default height
                append16(body, 0);
                append16(body, 0);
                append16(body, 0x0100);
                append16(body, 0x000F);
            }
            if (body.size() >= 6 && !rd.cells.empty() && (rd.dirty || !rd.rowBody)) {
                put16(body, 2, rd.cells.begin()->first);
                put16(body, 4, static_cast<std::uint16_t>(rd.cells.rbegin()->second.col2 + 1));
            }
            rowStart.push_back(tablePos);
            emit(Record{id::Row, std::move(body)});
            if (!anyRow) rwMic = order[k];
            anyRow = true;
            rwMac = order[k] + 1u;
        }
        std::size_t ref = rowStart.size() > 1 ? rowStart[1] : tablePos;
        std::vector<std::uint16_t> cellOffsets;
        for (std::size_t k = b; k < e; ++k) {
            const RowData &rd = rows_.at(order[k]);
            if (rd.cells.empty()) {
                cellOffsets.push_back(0);
                continue;
            }
            cellOffsets.push_back(static_cast<std::uint16_t>(tablePos - ref));
            ref = tablePos;
            for (const auto &[col, u] : rd.cells) {
                for (const Record &r : u.recs) emit(r);
                if (!anyCell) {
                    dimRowMic = order[k];
                    dimColMic = u.col1;
                }
                anyCell = true;
                dimRowMac = order[k] + 1u;
                dimColMic = std::min(dimColMic, u.col1);
                dimColMac = std::max<std::uint16_t>(dimColMac, static_cast<std::uint16_t>(u.col2 + 1));
            }
        }
        if (useDbCells_) {
            Record db{id::DbCell, {}};
            append32(db.body, static_cast<std::uint32_t>(tablePos - rowStart[0]));
            for (std::uint16_t o : cellOffsets) append16(db.body, o);
            dbCellAt.push_back(table.size());
            emit(std::move(db));
        }
    }

    std::vector<Record> out;
    std::size_t indexAt = SIZE_MAX;
    bool hasUncalced = false;
    for (const Record &r : prefix_) hasUncalced |= r.id == id::Uncalced;
    for (std::size_t i = 0; i < prefix_.size(); ++i) {
        Record r = prefix_[i];
        if (r.id == id::Dimensions && r.body.size() >= 14) {
            put32(r.body, 0, dimRowMic);
            put32(r.body, 4, dimRowMac);
            put16(r.body, 8, dimColMic);
            put16(r.body, 10, dimColMac);
        }
        if (r.id == id::Index && indexAt == SIZE_MAX) {
            indexAt = out.size();
            std::string body(16, '\0');
            body.replace(0, 4, r.body.substr(0, std::min<std::size_t>(4, r.body.size())));
            body.resize(16 + 4 * dbCellAt.size(), '\0');
            put32(body, 4, rwMic);
            put32(body, 8, rwMac);
            r.body = std::move(body);
        }
        out.push_back(std::move(r));
        if (i == 0 && addUncalced && !hasUncalced) out.push_back(Record{id::Uncalced, std::string(2, '\0')});
    }
    const std::size_t tableFirst = out.size();
    for (const Record &r : table) out.push_back(r);
    for (const Record &r : suffix_) out.push_back(r);

    if (indexAt != SIZE_MAX) {
        std::vector<std::size_t> pos(out.size());
        std::size_t p = offset;
        for (std::size_t i = 0; i < out.size(); ++i) {
            pos[i] = p;
            p += serialisedSize(out[i]);
        }
        std::string &body = out[indexAt].body;
        for (std::size_t i = 0; i < tableFirst; ++i)
            if (out[i].id == id::DefColWidth) put32(body, 12, static_cast<std::uint32_t>(pos[i]));
        for (std::size_t k = 0; k < dbCellAt.size(); ++k)
            put32(body, 16 + 4 * k, static_cast<std::uint32_t>(pos[tableFirst + dbCellAt[k]]));
    }
    return out;
}

}  // namespace dorv::biff8
