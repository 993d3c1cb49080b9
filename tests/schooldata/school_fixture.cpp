#include "school_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "schooldata/settings.h"
#include "tests/temp_dir.h"
#include "workbook/biff8_records.h"
#include "workbook/biff8_writer.h"
#include "workbook/compound_file.h"
#include "workbook/compound_file_writer.h"

namespace dorv::testing {

namespace {

std::pair<std::uint16_t, std::uint16_t> parseAddress(const std::string &a) {
    std::size_t i = 0;
    unsigned col = 0;
    while (i < a.size() && a[i] >= 'A' && a[i] <= 'Z') col = col * 26 + static_cast<unsigned>(a[i++] - 'A' + 1);
    unsigned row = static_cast<unsigned>(std::stoul(a.substr(i)));
    return {static_cast<std::uint16_t>(row - 1), static_cast<std::uint16_t>(col - 1)};
}

bool plainNumber(const std::string &s) {
    if (s.empty()) return false;
    std::size_t i = s[0] == '-' ? 1 : 0;
    bool digits = false, dot = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') digits = true;
        else if (s[i] == '.' && !dot) dot = true;
        else return false;
    }
    return digits;
}

void writeFile(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void WriteXls(const std::filesystem::path &path, const std::vector<SheetSpec> &sheets) {
    biff8::WorkbookModel model;
    for (const SheetSpec &spec : sheets) {
        biff8::ModelSheet sheet;
        sheet.name = spec.name;
        for (const auto &[addr, text] : spec.cells) {
            biff8::ModelCell cell;
            if (plainNumber(text)) {
                cell.isNumber = true;
                cell.number = std::stod(text);
            } else {
                cell.text = text;
            }
            sheet.cells[parseAddress(addr)] = cell;
        }
        for (const auto &[addr, text] : spec.texts) {
            biff8::ModelCell cell;
            cell.text = text;
            sheet.cells[parseAddress(addr)] = cell;
        }
        model.sheets.push_back(std::move(sheet));
    }
    std::vector<std::uint8_t> bytes = biff8::writeWorkbookFile(model);
    writeFile(path, bytes);
}

void WriteEncryptedXls(const std::filesystem::path &path, const std::vector<SheetSpec> &sheets) {
    WriteXls(path, sheets);
    std::ifstream in(path, std::ios::binary);
    const cfb::CompoundFile cf = cfb::CompoundFile::parse(
        std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    const std::vector<std::uint8_t> stream = cf.streamBytes(*cf.findRootStream(u"Workbook"));
    std::string tail;
    std::vector<biff8::Record> records =
        biff8::parseRecords(std::string_view(reinterpret_cast<const char *>(stream.data()), stream.size()), tail);
    // RC4 encryption: version 1.1, then salt and verifier (48 bytes).
    biff8::Record filePass{biff8::id::FilePass, std::string("\x01\x00\x01\x00\x01\x00", 6) + std::string(48, '\x5A')};
    records.insert(records.begin() + 1, filePass);
    std::uint32_t key = 0x2545F491;
    for (std::size_t i = 2; i < records.size(); ++i) {
        biff8::Record &r = records[i];
        if (biff8::isBof(r.id)) continue;
        std::size_t from = 0;
        if (r.id == biff8::id::BoundSheet) {
            biff8::put32(r.body, 0, biff8::get32(r.body, 0) + static_cast<std::uint32_t>(4 + filePass.body.size()));
            from = 4;
        }
        for (std::size_t k = from; k < r.body.size(); ++k) {
            key ^= key << 13, key ^= key >> 17, key ^= key << 5;
            r.body[k] = static_cast<char>(r.body[k] ^ static_cast<char>(key));
        }
    }
    const std::string s = biff8::serialise(records) + tail;
    const std::vector<std::uint8_t> bytes =
        cfb::makeWorkbookFile(std::span(reinterpret_cast<const std::uint8_t *>(s.data()), s.size()));
    writeFile(path, bytes);
}

FileStamp Stamp(const std::filesystem::path &path) {
    FileStamp s;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return s;
    std::ifstream in(path, std::ios::binary);
    s.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    s.mtime = std::filesystem::last_write_time(path);
    s.exists = true;
    return s;
}

SchoolFolder::SchoolFolder() : savedDrive_(WorkDrive) {
    root_ = testing::MakeTempDir("dorv-school");
    std::filesystem::create_directories(root_ / "Dorv" / "Data" / "Kihon");
    for (int g = 1; g <= 3; ++g)
        std::filesystem::create_directories(root_ / "Dorv" / "Data" / std::string(GakunenFolders[g]));
    WorkDrive = root_.string();
}

SchoolFolder::~SchoolFolder() {
    WorkDrive = savedDrive_;
    testing::RemoveTempDir(root_);
}

std::filesystem::path SchoolFolder::Kihon(const std::string &file) const {
    return root_ / "Dorv" / "Data" / "Kihon" / file;
}

std::filesystem::path SchoolFolder::Grade(int grade, const std::string &file) const {
    return root_ / "Dorv" / "Data" / std::string(GakunenFolders[grade]) / file;
}

void WriteClassCountsXls(const std::filesystem::path &path, int grade1, int grade2, int grade3) {
    WriteXls(path, {{"KurasuSu",
                     {{"A1", "学年"},
                      {"B1", "学級数"},
                      {"A2", "1"},
                      {"B2", std::to_string(grade1)},
                      {"A3", "2"},
                      {"B3", std::to_string(grade2)},
                      {"A4", "3"},
                      {"B4", std::to_string(grade3)}}}});
}

}  // namespace dorv::testing
