#include "workbook/biff8_writer.h"

#include <algorithm>

#include "workbook/biff8_records.h"
#include "workbook/biff8_sst.h"
#include "workbook/biff8_workbook.h"
#include "workbook/compound_file_writer.h"
#include "workbook/utf16.h"

namespace dorv::biff8 {

namespace {

Record bof(std::uint16_t type) {
    Record r{id::Bof, {}};
    append16(r.body, kBiff8Version);
    append16(r.body, type);
    append16(r.body, 0x0DBB);  // build
    append16(r.body, 0x07CC);  // year
    append32(r.body, 0);
    append32(r.body, 0x00000006);
    return r;
}

Record simple(std::uint16_t rid, std::initializer_list<std::uint16_t> words) {
    Record r{rid, {}};
    for (std::uint16_t w : words) append16(r.body, w);
    return r;
}

void appendName(std::string &b, const std::u16string &s, bool countIs16) {
    bool wide = std::any_of(s.begin(), s.end(), [](char16_t c) { return c > 0xFF; });
    if (countIs16) append16(b, static_cast<std::uint16_t>(s.size()));
    else b.push_back(static_cast<char>(s.size()));
    b.push_back(static_cast<char>(wide ? 1 : 0));
    for (char16_t c : s) {
        if (wide) append16(b, c);
        else b.push_back(static_cast<char>(c));
    }
}

Record font() {
    Record r{id::Font, {}};
    append16(r.body, 220);     // 11 points
    append16(r.body, 0);       // attributes
    append16(r.body, 0x7FFF);  // automatic colour
    append16(r.body, 400);     // normal weight
    append16(r.body, 0);
    r.body.push_back(0);                        // no underline
    r.body.push_back(3);                        // modern family
    r.body.push_back(static_cast<char>(0x80));  // Shift_JIS character set
    r.body.push_back(0);
    appendName(r.body, utf16::fromUtf8("ＭＳ Ｐゴシック"), false);
    return r;
}

Record xf(bool style) {
    Record r{id::Xf, {}};
    append16(r.body, 0);                        // font
    append16(r.body, 0);                        // number format: General
    append16(r.body, style ? 0xFFF5 : 0x0001);  // locked; a style or a cell of style 0
    r.body.push_back(0x20);                     // aligned to the bottom
    r.body.push_back(0);
    r.body.push_back(0);
    r.body.push_back(static_cast<char>(style ? 0x00 : 0xF8));
    append32(r.body, 0);
    append32(r.body, 0);
    append16(r.body, 0x20C0);  // automatic pattern colours
    return r;
}

std::vector<Record> sheetSkeleton(const ModelSheet &s, bool first) {
    std::vector<Record> recs;
    recs.push_back(bof(kWorksheetType));
    recs.push_back(Record{id::Index, std::string(16, '\0')});
    recs.push_back(simple(id::DefColWidth, {8}));
    for (auto it = s.columnWidths.begin(); it != s.columnWidths.end();) {
        // Neighbouring columns of one width share a record.
        auto end = std::next(it);
        std::uint16_t last = it->first;
        while (end != s.columnWidths.end() && end->first == last + 1 && end->second == it->second)
            last = (end++)->first;
        recs.push_back(simple(id::ColInfo, {it->first, last, it->second, 15, 0, 0}));
        it = end;
    }
    recs.push_back(Record{id::Dimensions, std::string(14, '\0')});
    recs.push_back(
        simple(id::Window2, {static_cast<std::uint16_t>(first ? 0x06B6 : 0x00B6), 0, 0, 0x40, 0, 0, 0, 0, 0}));
    recs.push_back(Record{id::Eof, {}});
    return recs;
}

}  // namespace

std::string writeWorkbookStream(const WorkbookModel &input) {
    WorkbookModel model = input;
    if (model.sheets.empty()) model.sheets.push_back(ModelSheet{"Sheet1", {}, {}});

    std::vector<Record> globals;
    globals.push_back(bof(kGlobalsType));
    globals.push_back(simple(id::InterfaceHdr, {0x04B0}));
    globals.push_back(simple(id::InterfaceEnd, {}));
    globals.push_back(simple(id::Codepage, {0x04B0}));
    globals.push_back(simple(id::Window1, {0x0168, 0x001E, 0x3A5C, 0x2328, 0x0038, 0, 0, 1, 0x0258}));
    for (int i = 0; i < 4; ++i) globals.push_back(font());
    for (int i = 0; i < 15; ++i) globals.push_back(xf(true));
    globals.push_back(xf(false));
    globals.push_back(simple(id::Style, {0x8000, 0xFF00}));  // STYLE "Normal"
    std::vector<std::size_t> boundAt;
    for (const ModelSheet &s : model.sheets) {
        Record r{id::BoundSheet, {}};
        append32(r.body, 0);
        r.body.push_back(0);                                               // visible
        r.body.push_back(0);                                               // worksheet
        appendName(r.body, utf16::fromUtf8(s.name).substr(0, 31), false);  // the longest sheet name there is
        boundAt.push_back(globals.size());
        globals.push_back(std::move(r));
    }
    globals.push_back(Record{id::Sst, std::string(8, '\0')});
    globals.push_back(simple(id::ExtSst, {8}));
    globals.push_back(Record{id::Eof, {}});

    std::vector<std::vector<Record>> sheets;
    std::size_t pos = serialise(globals).size();
    for (std::size_t i = 0; i < model.sheets.size(); ++i) {
        sheets.push_back(sheetSkeleton(model.sheets[i], i == 0));
        put32(globals[boundAt[i]].body, 0, static_cast<std::uint32_t>(pos));
        pos += serialise(sheets.back()).size();
    }
    std::string stream = serialise(globals);
    for (const auto &s : sheets) stream += serialise(s);

    Workbook wb = Workbook::parse(stream);
    for (std::size_t i = 0; i < model.sheets.size(); ++i) {
        SheetCells &cells = wb.sheet(i);
        for (const auto &[at, c] : model.sheets[i].cells) {
            // Only an error cell's number is a code of one byte; a number
            // cell's value need not fit in one.
            const std::uint8_t code = c.isError ? static_cast<std::uint8_t>(c.number) : 0;
            if ((c.isBoolean || c.isError) && c.isFormulaResult)
                cells.setConstantFormula(at.first, at.second, c.isError, c.isBoolean ? c.number != 0 : code);
            else if (c.isBoolean) cells.setBoolean(at.first, at.second, c.number != 0);
            else if (c.isError) cells.setError(at.first, at.second, code);
            else if (c.isNumber) cells.setNumber(at.first, at.second, c.number);
            else if (!c.text.empty()) cells.setShared(at.first, at.second, wb.sst().add(c.text));
        }
    }
    return wb.save(false);
}

std::vector<std::uint8_t> writeWorkbookFile(const WorkbookModel &model) {
    std::string stream = writeWorkbookStream(model);
    return cfb::makeWorkbookFile(std::span(reinterpret_cast<const std::uint8_t *>(stream.data()), stream.size()));
}

}  // namespace dorv::biff8
