#include "workbook/workbook_file.h"

#include "workbook/biff8_writer.h"
#include "workbook/biff_older.h"
#include "workbook/compound_file_writer.h"

namespace dorv::biff8 {

namespace {

std::string asString(std::span<const std::uint8_t> v) { return std::string(v.begin(), v.end()); }

Workbook parseAny(const std::string &stream, const std::string &singleSheetName, bool &older) {
    older = !isBiff8Stream(stream);
    if (!older) return Workbook::parse(stream);
    return Workbook::parse(writeWorkbookStream(biff::readOlderWorkbook(stream, singleSheetName)));
}

}  // namespace

WorkbookFile WorkbookFile::fromBytes(std::vector<std::uint8_t> bytes, const std::string &singleSheetName) {
    WorkbookFile f;
    bool older = false;
    if (cfb::CompoundFile::hasSignature(bytes)) {
        try {
            f.compound_ = cfb::CompoundFile::parse(std::move(bytes));
            // A save copies every other stream: a damage anywhere in the
            // file is refused now, not when the save comes to it.
            f.compound_->checkWhole();
        } catch (const cfb::NotCompoundFile &) {
            throw FormatError(FormatError::Kind::Damaged, "broken compound file");
        }
        std::optional<std::size_t> idx = f.compound_->findRootStream(u"Workbook");
        if (!idx) idx = f.compound_->findRootStream(u"Book");
        if (!idx) throw FormatError(FormatError::Kind::NotWorkbook, "no workbook stream");
        std::string stream;
        try {
            std::vector<std::uint8_t> scratch;
            stream = asString(f.compound_->streamSpan(*idx, scratch));
        } catch (const cfb::NotCompoundFile &) {
            throw FormatError(FormatError::Kind::Damaged, "broken workbook stream");
        }
        f.workbook_.emplace(parseAny(stream, singleSheetName, older));
        if (!older) f.streamIndex_ = idx;
    } else {
        f.workbook_.emplace(parseAny(asString(bytes), singleSheetName, older));
    }
    return f;
}

std::vector<std::uint8_t> WorkbookFile::save() const {
    if (convertedFromOlderFormat()) {
        std::string stream = workbook_->save(false);
        return cfb::makeWorkbookFile(std::span(reinterpret_cast<const std::uint8_t *>(stream.data()), stream.size()));
    }
    std::string stream = workbook_->save(true);
    std::map<std::size_t, std::vector<std::uint8_t>> replaced;
    replaced[*streamIndex_] = std::vector<std::uint8_t>(stream.begin(), stream.end());
    return cfb::rewrite(*compound_, replaced);
}

}  // namespace dorv::biff8
