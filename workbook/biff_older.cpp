#include "workbook/biff_older.h"

#include <map>

#include "workbook/biff8_records.h"
#include "workbook/biff_text.h"
#include "workbook/xbiff.h"

namespace dorv::biff {

using biff8::FormatError;
using biff8::get16;
using biff8::get32;
using biff8::getDouble;
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
        formulaWantsString = formulaWantsString && (rid == id::String2 || rid == id::String);
        const std::uint16_t row = get16(b, 0), col = get16(b, 2);
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
        case id::Integer2:  // INTEGER (BIFF2)
            number(row, col, get16(b, 7));
            break;
        case id::Number2:  // NUMBER (BIFF2)
            number(row, col, getDouble(b, 7));
            break;
        case id::Number: number(row, col, getDouble(b, 6)); break;
        case id::Rk: number(row, col, TXBiff::RkToFloat(get32(b, 6))); break;
        case id::MulRk:  // MULRK
            for (std::size_t k = 0; len >= 6 && k < (len - 6) / 6; ++k)
                number(row, static_cast<std::uint16_t>(col + k), TXBiff::RkToFloat(get32(b, 4 + 6 * k + 2)));
            break;
        case id::Label2:  // LABEL (BIFF2): attributes 3, length 1
            text(row, col, eightBit(b, 8, static_cast<unsigned char>(b.size() > 7 ? b[7] : 0)));
            break;
        case id::Label:    // LABEL: XF 2, length 2
        case id::RString:  // RSTRING
            text(row, col, eightBit(b, 8, get16(b, 6)));
            break;
        case id::BoolErr2:  // BOOLERR (BIFF2)
        case id::BoolErr: {
            std::size_t at = rid == id::BoolErr2 ? 7 : 6;
            unsigned v = b.size() > at ? static_cast<unsigned char>(b[at]) : 0;
            bool err = b.size() > at + 1 && b[at + 1];
            setCell(row, col, {false, static_cast<double>(err ? v : v != 0), {}, !err, err});
            break;
        }
        case id::Formula:
        case id::Formula3:
        case id::Formula4: {  // FORMULA: the cached result
            std::size_t at = (biff2 && rid == id::Formula) ? 7 : 6;
            if (b.size() < at + 8) break;
            if (get16(b, at + 6) == 0xFFFF) {
                unsigned type = static_cast<unsigned char>(b[at]);
                unsigned v = static_cast<unsigned char>(b[at + 2]);
                if (type == 0) {
                    formulaWantsString = true;
                    lastFormula = {row, col};
                } else if (type == 1 || type == 2) {
                    const bool err = type == 2;
                    setCell(row, col, {false, static_cast<double>(err ? v : v != 0), {}, !err, err, true});
                }
            } else {
                number(row, col, getDouble(b, at));
            }
            break;
        }
        case id::String2:  // STRING (BIFF2): length 1
            if (formulaWantsString)
                text(lastFormula.first, lastFormula.second,
                     eightBit(b, 1, b.empty() ? 0 : static_cast<unsigned char>(b[0])));
            formulaWantsString = false;
            break;
        case id::String:  // STRING: length 2
            if (formulaWantsString) text(lastFormula.first, lastFormula.second, eightBit(b, 2, get16(b, 0)));
            formulaWantsString = false;
            break;
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
