// A BIFF8 Workbook stream as the list of its records, so that a save can
// rewrite a few of them and copy every other one byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

namespace id {
constexpr std::uint16_t Bof = 0x0809;
constexpr std::uint16_t Eof = 0x000A;
constexpr std::uint16_t FilePass = 0x002F;
constexpr std::uint16_t Codepage = 0x0042;
constexpr std::uint16_t BoundSheet = 0x0085;
constexpr std::uint16_t Sst = 0x00FC;
constexpr std::uint16_t ExtSst = 0x00FF;
constexpr std::uint16_t Continue = 0x003C;
constexpr std::uint16_t Index = 0x020B;
constexpr std::uint16_t DefColWidth = 0x0055;
constexpr std::uint16_t ColInfo = 0x007D;
constexpr std::uint16_t Dimensions = 0x0200;
constexpr std::uint16_t Uncalced = 0x005E;
constexpr std::uint16_t Row = 0x0208;
constexpr std::uint16_t DbCell = 0x00D7;
constexpr std::uint16_t Blank = 0x0201;
constexpr std::uint16_t MulBlank = 0x00BE;
constexpr std::uint16_t Number = 0x0203;
constexpr std::uint16_t Rk = 0x027E;
constexpr std::uint16_t MulRk = 0x00BD;
constexpr std::uint16_t LabelSst = 0x00FD;
constexpr std::uint16_t Label = 0x0204;
constexpr std::uint16_t RString = 0x00D6;
constexpr std::uint16_t BoolErr = 0x0205;
constexpr std::uint16_t Formula = 0x0006;
constexpr std::uint16_t String = 0x0207;
constexpr std::uint16_t ShrFmla = 0x04BC;
constexpr std::uint16_t Array = 0x0221;
constexpr std::uint16_t Table = 0x0236;
constexpr std::uint16_t Window2 = 0x023E;
}  // namespace id

// A BOF record of any BIFF version: 2, 3, 4, or 5 and later.
inline bool isBof(std::uint16_t rid) { return rid == 0x0009 || rid == 0x0209 || rid == 0x0409 || rid == id::Bof; }

// The longest record body the format allows; longer data goes on in
// CONTINUE records.
constexpr std::size_t kMaxRecordBody = 8224;

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
