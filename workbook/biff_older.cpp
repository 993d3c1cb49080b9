#include "workbook/biff_older.h"

#include <map>

#include "workbook/biff8_records.h"
#include "workbook/biff_text.h"
#include "workbook/cell_records.h"

namespace dorv::biff {

using biff8::FormatError;
using biff8::get16;
using biff8::get32;
using biff8::isBof;
namespace id = biff8::id;

namespace {

const std::uint8_t *bytesAt(std::string_view b, std::size_t pos) {
    return reinterpret_cast<const std::uint8_t *>(b.data()) + pos;
}

}  // namespace

biff8::WorkbookModel readOlderWorkbook(std::string_view s, const std::string &singleSheetName) {
    std::size_t pos = 0;
    while (pos + 2 <= s.size() && !isBof(get16(s, pos))) pos += 2;
    if (pos + 4 > s.size()) throw FormatError(FormatError::Kind::NotWorkbook, "no BOF record");

    CodePage codePage;
    std::map<std::uint32_t, std::string> namesByOffset;  // sheet list: stream position -> name
    std::vector<std::string> namesInOrder;
    biff8::WorkbookModel model;
    biff8::ModelSheet *sheet = nullptr;
    int depth = 0;
    bool biff2 = false;
    std::pair<std::uint16_t, std::uint16_t> lastFormula{0, 0};
    bool formulaWantsString = false;

    auto setCell = [&](std::uint16_t row, std::uint16_t col, biff8::ModelCell c) {
        if (sheet && depth == 1) sheet->cells[{row, col}] = std::move(c);
    };
    auto number = [&](std::uint16_t row, std::uint16_t col, double v) { setCell(row, col, {true, v, {}}); };
    auto text = [&](std::uint16_t row, std::uint16_t col, std::string t) {
        if (!t.empty()) setCell(row, col, {false, 0, std::move(t)});
        else if (sheet && depth == 1) sheet->cells.erase({row, col});
    };
    auto eightBit = [&](std::string_view b, std::size_t at, std::size_t n) {
        if (at > b.size()) return std::string();
        return codePage.toUtf8(bytesAt(b, at), std::min(n, b.size() - at));
    };

    while (pos + 4 <= s.size()) {
        const std::size_t start = pos;
        const std::uint16_t rid = get16(s, pos);
        const std::size_t len = get16(s, pos + 2);
        if (pos + 4 + len > s.size()) break;
        const std::string_view b = s.substr(pos + 4, len);
        pos += 4 + len;

        if (isBof(rid)) {
            ++depth;
            if (rid == id::Bof2) biff2 = true;
            if (depth == 1 && get16(b, 2) == biff8::kWorksheetType) {
                model.sheets.emplace_back();
                sheet = &model.sheets.back();
                auto it = namesByOffset.find(static_cast<std::uint32_t>(start));
                if (it != namesByOffset.end()) sheet->name = it->second;
                else if (model.sheets.size() <= namesInOrder.size())
                    sheet->name = namesInOrder[model.sheets.size() - 1];
                else
                    sheet->name =
                        model.sheets.size() == 1 ? singleSheetName : "Sheet" + std::to_string(model.sheets.size());
            }
            continue;
        }
        if (rid == biff8::id::Eof) {
            if (--depth == 0) sheet = nullptr;
            if (depth < 0) depth = 0;
            continue;
        }
        if (depth == 0) continue;
        // Each record in the layout of the version its id belongs to; FORMULA,
        // whose id BIFF2 shares with the later versions, in BIFF2's once a
        // BIFF2 BOF has been seen.
        const int layout = rid == id::String2 || (biff2 && rid == id::Formula) ? 2 : 5;
        const CellRecord asCell(rid, bytesAt(b, 0), b.size(), layout);
        formulaWantsString = formulaWantsString && asCell.kind() == CellRecord::Kind::FormulaText;
        // The 8-bit text of a cell, as its length field bounds it.
        auto cellText = [&] {
            return codePage.toUtf8(asCell.chars(), std::min(asCell.statedLength(), asCell.availableLength()));
        };
        switch (asCell.kind()) {
        case CellRecord::Kind::Number: number(asCell.row(), asCell.col(), asCell.number()); continue;
        case CellRecord::Kind::NumberRun:
            for (std::size_t k = 0, n = asCell.runLength(); k < n; ++k)
                number(asCell.row(), static_cast<std::uint16_t>(asCell.col() + k), asCell.runNumber(k));
            continue;
        case CellRecord::Kind::Text: text(asCell.row(), asCell.col(), cellText()); continue;
        case CellRecord::Kind::BoolErr: {
            const bool err = asCell.isError();
            const unsigned v = asCell.boolErrValue();
            setCell(asCell.row(), asCell.col(), {false, static_cast<double>(err ? v : v != 0), {}, !err, err});
            continue;
        }
        case CellRecord::Kind::Formula:  // the result it was saved with
            if (!asCell.whole()) continue;
            if (asCell.resultIsNumber()) {
                number(asCell.row(), asCell.col(), asCell.number());
            } else if (asCell.resultType() == 0) {
                formulaWantsString = true;
                lastFormula = {asCell.row(), asCell.col()};
            } else if (asCell.resultType() == 1 || asCell.resultType() == 2) {
                const bool err = asCell.resultType() == 2;
                const unsigned v = asCell.resultValue();
                setCell(asCell.row(), asCell.col(),
                        {false, static_cast<double>(err ? v : v != 0), {}, !err, err, true});
            }
            continue;
        case CellRecord::Kind::FormulaText:
            if (formulaWantsString) text(lastFormula.first, lastFormula.second, cellText());
            formulaWantsString = false;
            continue;
        default: break;
        }
        switch (rid) {
        case biff8::id::FilePass: throw FormatError(FormatError::Kind::Encrypted, "encrypted workbook");
        case biff8::id::Codepage: codePage.select(get16(b, 0)); break;
        case id::BoundSheet: {  // BOUNDSHEET (BIFF5/7): position, visibility, type, name
            if (b.size() < 7) break;
            if (b[5] != 0) break;
            std::string name = eightBit(b, 7, static_cast<unsigned char>(b[6]));
            namesByOffset[get32(b, 0)] = name;
            namesInOrder.push_back(name);
            break;
        }
        case id::BundleSheet4: {  // BUNDLESHEET (BIFF4 workbooks): position, name
            if (b.size() < 5) break;
            std::string name = eightBit(b, 5, static_cast<unsigned char>(b[4]));
            namesByOffset[get32(b, 0)] = name;
            namesInOrder.push_back(name);
            break;
        }
        case id::ColWidth2:  // COLWIDTH (BIFF2): first 1, last 1, width 2
            if (sheet && b.size() >= 4)
                for (unsigned c = static_cast<unsigned char>(b[0]); c <= static_cast<unsigned char>(b[1]); ++c)
                    sheet->columnWidths[static_cast<std::uint16_t>(c)] = get16(b, 2);
            break;
        case id::ColInfo:  // COLINFO: first 2, last 2, width 2
            if (sheet && depth == 1 && b.size() >= 6)
                for (unsigned c = get16(b, 0); c <= get16(b, 2) && c < 256; ++c)
                    sheet->columnWidths[static_cast<std::uint16_t>(c)] = get16(b, 4);
            break;
        default: break;
        }
    }
    if (depth != 0) throw FormatError(FormatError::Kind::Damaged, "sheet cut off");
    if (model.sheets.empty()) model.sheets.push_back(biff8::ModelSheet{singleSheetName, {}, {}});
    return model;
}

}  // namespace dorv::biff
