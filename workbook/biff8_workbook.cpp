#include "workbook/biff8_workbook.h"

#include "workbook/biff_text.h"
#include "workbook/utf16.h"

namespace dorv::biff8 {

namespace {

[[noreturn]] void damaged(const char *what) { throw FormatError(FormatError::Kind::Damaged, what); }

// The name of a BOUNDSHEET record: a string with an 8-bit count behind the
// position, visibility and type.
std::string sheetNameOf(const std::string &body) {
    return utf16::toUtf8(
        biff::biff8StringUnits(reinterpret_cast<const std::uint8_t *>(body.data()), body.size(), 6, true));
}

std::size_t countSharedRefs(const std::vector<Record> &recs, const Substream &s) {
    std::size_t n = 0;
    int depth = 0;
    for (std::size_t i = s.begin; i < s.end; ++i) {
        std::uint16_t rid = recs[i].id;
        if (rid == id::Bof) ++depth;
        else if (rid == id::Eof) --depth;
        else if (depth == 1 && rid == id::LabelSst) ++n;
    }
    return n;
}

}  // namespace

bool isBiff8Stream(std::string_view stream) {
    for (std::size_t pos = 0; pos + 6 <= stream.size(); pos += 2) {
        std::uint16_t w = get16(stream, pos);
        if (isBof(w)) return w == id::Bof && get16(stream, pos + 4) == kBiff8Version;
    }
    return false;
}

Workbook Workbook::parse(std::string_view stream) {
    Workbook wb;
    wb.records_ = parseRecords(stream, wb.tail_);
    if (wb.records_.empty() || wb.records_[0].id != id::Bof || get16(wb.records_[0].body, 0) != kBiff8Version ||
        get16(wb.records_[0].body, 2) != kGlobalsType)
        throw FormatError(FormatError::Kind::NotWorkbook, "no BIFF8 workbook globals");
    wb.substreams_ = splitSubstreams(wb.records_);
    const Substream &globals = wb.substreams_.at(0);

    std::map<std::size_t, std::size_t> byOffset;
    for (std::size_t s = 0; s < wb.substreams_.size(); ++s) byOffset[wb.substreams_[s].offset] = s;

    for (std::size_t i = globals.begin; i < globals.end; ++i) {
        const Record &r = wb.records_[i];
        if (r.id == id::FilePass) throw FormatError(FormatError::Kind::Encrypted, "encrypted workbook");
        if (r.id == id::BoundSheet) {
            auto it = byOffset.find(get32(r.body, 0));
            if (it == byOffset.end() || it->second == 0) damaged("sheet position points at no sheet");
            wb.boundSheetOf_.push_back(it->second);
            unsigned type = r.body.size() > 5 ? static_cast<unsigned char>(r.body[5]) : 0xFF;
            if (type == 0 && wb.substreams_[it->second].type == kWorksheetType)
                wb.sheets_.push_back(SheetRef{sheetNameOf(r.body), it->second});
        } else if (r.id == id::Sst && wb.sstAt_ == SIZE_MAX) {
            wb.sstAt_ = i;
            std::vector<std::string_view> segs{r.body};
            std::size_t j = i + 1;
            while (j < globals.end && wb.records_[j].id == id::Continue) segs.push_back(wb.records_[j++].body);
            wb.sstEnd_ = j;
            wb.sst_ = SharedStrings::parse(segs);
        } else if (r.id == id::ExtSst && wb.extSstAt_ == SIZE_MAX) {
            wb.extSstAt_ = i;
        }
    }
    // Every sheet is taken apart now, so a damaged one refuses the workbook
    // at open instead of at the first write or read of a cell.
    for (std::size_t s = 0; s < wb.sheets_.size(); ++s) wb.sheet(s);
    return wb;
}

SheetCells &Workbook::sheet(std::size_t i) {
    auto &slot = cells_[i];
    if (!slot) {
        const Substream &s = substreams_.at(sheets_.at(i).substream);
        slot = std::make_unique<SheetCells>(std::vector<Record>(records_.begin() + static_cast<std::ptrdiff_t>(s.begin),
                                                                records_.begin() + static_cast<std::ptrdiff_t>(s.end)));
    }
    return *slot;
}

const SheetCells &Workbook::sheet(std::size_t i) const { return const_cast<Workbook *>(this)->sheet(i); }

bool Workbook::changed() const {
    for (const auto &[i, c] : cells_)
        if (c->changed()) return true;
    return false;
}

std::string Workbook::save(bool addUncalced) const {
    std::map<std::size_t, const SheetCells *> changedBySubstream;
    for (const auto &[i, c] : cells_)
        if (c->changed()) changedBySubstream[sheets_[i].substream] = c.get();

    // The reference count of the shared string table counts every text cell.
    std::size_t refs = 0;
    for (std::size_t s = 1; s < substreams_.size(); ++s) {
        auto it = changedBySubstream.find(s);
        refs +=
            it != changedBySubstream.end() ? it->second->sharedStringRefs() : countSharedRefs(records_, substreams_[s]);
    }

    std::vector<Record> out;
    std::size_t pos = 0;
    auto emit = [&](const Record &r) {
        pos += serialisedSize(r);
        out.push_back(r);
    };
    std::vector<std::size_t> newOffset(substreams_.size());
    std::vector<std::size_t> boundSheetOut;  // positions in `out` of the BOUNDSHEET records

    std::size_t next = 0;  // next record of the old list to place
    for (std::size_t s = 0; s < substreams_.size(); ++s) {
        const Substream &ss = substreams_[s];
        for (; next < ss.begin; ++next) emit(records_[next]);  // stray records between substreams
        newOffset[s] = pos;
        if (s == 0) {
            const bool rebuildSst = !changedBySubstream.empty() && (sstAt_ != SIZE_MAX || sst_.size() > 0);
            for (std::size_t i = ss.begin; i < ss.end; ++i) {
                const Record &r = records_[i];
                if (r.id == id::BoundSheet) boundSheetOut.push_back(out.size());
                const bool isTableSpot = rebuildSst && (i == sstAt_ || (sstAt_ == SIZE_MAX && i + 1 == ss.end));
                if (isTableSpot) {
                    Record ext;
                    for (const Record &t : sst_.build(static_cast<std::uint32_t>(refs), pos, ext)) emit(t);
                    emit(ext);
                }
                if (rebuildSst && ((i >= sstAt_ && i < sstEnd_) || i == extSstAt_)) continue;
                emit(r);
            }
        } else if (auto it = changedBySubstream.find(s); it != changedBySubstream.end()) {
            for (const Record &r : it->second->build(pos, addUncalced)) emit(r);
        } else {
            // An untouched sheet moves as a whole: only the stream positions in its INDEX shift.
            const long long delta = static_cast<long long>(pos) - static_cast<long long>(ss.offset);
            int depth = 0;
            for (std::size_t i = ss.begin; i < ss.end; ++i) {
                const Record &r = records_[i];
                if (r.id == id::Bof) ++depth;
                else if (r.id == id::Eof) --depth;
                if (r.id == id::Index && depth == 1 && delta != 0 && r.body.size() >= 16) {
                    Record shifted = r;
                    for (std::size_t p = 12; p + 4 <= shifted.body.size(); p += 4) {
                        if (p == 12 && get32(shifted.body, p) == 0) continue;
                        put32(shifted.body, p, static_cast<std::uint32_t>(get32(shifted.body, p) + delta));
                    }
                    emit(shifted);
                } else {
                    emit(r);
                }
            }
        }
        next = ss.end;
    }
    for (; next < records_.size(); ++next) emit(records_[next]);

    for (std::size_t k = 0; k < boundSheetOut.size(); ++k)
        put32(out[boundSheetOut[k]].body, 0, static_cast<std::uint32_t>(newOffset[boundSheetOf_[k]]));

    std::string bytes = serialise(out);
    bytes += tail_;
    return bytes;
}

}  // namespace dorv::biff8
