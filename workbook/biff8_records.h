// A BIFF8 Workbook stream as the list of its records, so that a save can
// rewrite a few of them and copy every other one byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/biff_ids.h"

namespace dorv::biff8 {

// Why a stream cannot be taken as a workbook.
class FormatError : public std::runtime_error {
public:
    enum class Kind { NotWorkbook, Damaged, Encrypted };
    FormatError(Kind kind, const std::string &what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// A BOF record of any BIFF version: 2, 3, 4, or 5 and later.
inline bool isBof(std::uint16_t rid) { return rid == id::Bof2 || rid == id::Bof3 || rid == id::Bof4 || rid == id::Bof; }

struct Record {
    std::uint16_t id = 0;
    std::string body;
};

// Little-endian access to record bodies. Reads past the end give 0.
std::uint16_t get16(std::string_view b, std::size_t pos);
std::uint32_t get32(std::string_view b, std::size_t pos);
double getDouble(std::string_view b, std::size_t pos);
void put16(std::string &b, std::size_t pos, std::uint16_t v);
void put32(std::string &b, std::size_t pos, std::uint32_t v);
void append16(std::string &b, std::uint16_t v);
void append32(std::string &b, std::uint32_t v);
void appendDouble(std::string &b, double v);

// The text of an error value of a cell ("#DIV/0!", "#N/A", ...).
std::string errorName(unsigned code);

// The records of `stream` in order. Parsing stops where no whole record is
// left; those bytes are returned in `tail` so that they survive a save.
std::vector<Record> parseRecords(std::string_view stream, std::string &tail);

// The bytes of the records, header and body each.
std::string serialise(const std::vector<Record> &records);
std::size_t serialisedSize(const Record &r);

// One BOF..EOF run of top-level records (nested charts inside it included).
struct Substream {
    std::size_t begin = 0;   // index of its BOF in the record list
    std::size_t end = 0;     // one past its EOF
    std::uint16_t type = 0;  // the BOF's type: 0x0005 globals, 0x0010 worksheet, ...
    std::size_t offset = 0;  // stream position of its BOF
};

// Splits the records into substreams. Raises FormatError::Damaged when a
// substream has no EOF.
std::vector<Substream> splitSubstreams(const std::vector<Record> &records);

}  // namespace dorv::biff8
