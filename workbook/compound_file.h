// Read-only access to OLE compound files (structured storage, versions 3 and 4).
//
// The whole file is held in memory. Parsing checks the header, the DIFAT, the
// FAT, the directory chain, the mini FAT and the mini stream; every sector index
// is bounded and every chain checked for cycles. Any structural fault throws
// NotCompoundFile: callers treat such a file as "not a compound file".
//
// The directory is exposed entry by entry with its raw fields, in directory
// order (unused entries included), so that a writer can reproduce it exactly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dorv::cfb {

// Special sector numbers of the FAT and the mini FAT.
inline constexpr std::uint32_t kMaxRegSect = 0xFFFFFFFA;
inline constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
inline constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
// "No entry" in the sibling and child fields of a directory entry.
inline constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

inline constexpr std::array<std::uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Object types of a directory entry.
enum ObjectType : std::uint8_t {
    kUnallocated = 0,
    kStorage = 1,
    kStream = 2,
    kRootStorage = 5,
};

class NotCompoundFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The header fields as stored (the DIFAT array of the header is not repeated:
// the FAT sector list below is what it resolves to).
struct Header {
    std::array<std::uint8_t, 16> clsid{};
    std::uint16_t minorVersion = 0;
    std::uint16_t majorVersion = 0;     // 3 or 4
    std::uint16_t byteOrder = 0;        // 0xFFFE
    std::uint16_t sectorShift = 0;      // 9 (512-byte sectors) or 12 (4096)
    std::uint16_t miniSectorShift = 0;  // 6 (64-byte mini sectors)
    std::uint32_t numDirSectors = 0;    // 0 in version 3
    std::uint32_t numFatSectors = 0;
    std::uint32_t firstDirSector = 0;
    std::uint32_t transactionSignature = 0;
    std::uint32_t miniStreamCutoff = 0;  // 4096
    std::uint32_t firstMiniFatSector = 0;
    std::uint32_t numMiniFatSectors = 0;
    std::uint32_t firstDifatSector = 0;
    std::uint32_t numDifatSectors = 0;
};

struct DirEntry {
    std::u16string name;                     // up to the first NUL, at most 31 code units
    std::array<std::uint8_t, 64> rawName{};  // the name field as stored
    std::uint16_t nameLength = 0;            // in bytes, the terminating NUL included
    std::uint8_t objectType = kUnallocated;
    std::uint8_t colour = 0;  // 0 red, 1 black
    std::uint32_t leftSibling = kNoStream;
    std::uint32_t rightSibling = kNoStream;
    std::uint32_t child = kNoStream;
    std::array<std::uint8_t, 16> clsid{};
    std::uint32_t stateBits = 0;
    std::uint64_t creationTime = 0;  // FILETIME as stored
    std::uint64_t modifiedTime = 0;
    std::uint32_t startSector = 0;
    std::uint64_t streamSize = 0;  // as stored (version 3 files may carry junk in the high half)

    std::string nameUtf8() const;
};

class CompoundFile {
public:
    // Parses a whole file held in memory. Throws NotCompoundFile.
    static CompoundFile parse(std::vector<std::uint8_t> bytes);
    // The same without taking a copy: the bytes must outlive the result and
    // its copies (a file whose last sector is cut short is copied all the same).
    static CompoundFile view(std::span<const std::uint8_t> bytes);
    // Reads and parses a file. Throws NotCompoundFile, also when it cannot be read.
    static CompoundFile readFile(const std::string &path);
    // True when the bytes begin with the compound-file signature.
    static bool hasSignature(std::span<const std::uint8_t> bytes);

    const Header &header() const { return header_; }
    int majorVersion() const { return header_.majorVersion; }
    int sectorShift() const { return header_.sectorShift; }
    std::size_t sectorSize() const { return std::size_t{1} << header_.sectorShift; }

    // Every directory entry in directory order; index 0 is the root storage.
    const std::vector<DirEntry> &entries() const { return entries_; }

    // The size a stream entry really has (the high half ignored in version 3).
    std::uint64_t streamLength(std::size_t index) const;

    // The bytes of a stream entry (or, for the root, of the mini stream).
    // Throws std::out_of_range for an index that is not a stream or the root,
    // NotCompoundFile when its sector chain is broken.
    std::vector<std::uint8_t> streamBytes(std::size_t index) const;
    // The same bytes without a copy where the stream's sectors follow one
    // another in order (in the file, or in the mini stream): the span then
    // points into the file (this object's bytes or the viewed ones). Otherwise
    // they are gathered into `scratch`, which the span then points into.
    std::span<const std::uint8_t> streamSpan(std::size_t index, std::vector<std::uint8_t> &scratch) const;

    // Checks the parts that a reader of one stream never looks at but a copy
    // of the whole file needs: every stream's sector chain is whole and no
    // directory entry is reached twice from the root. Throws NotCompoundFile.
    void checkWhole() const;

    // The entry named `name` among the children of storage `parent`, compared
    // case-insensitively; the directory tree is walked with cycle protection.
    std::optional<std::size_t> findChild(std::size_t parent, std::u16string_view name) const;
    // A stream directly under the root, e.g. findRootStream(u"Workbook").
    std::optional<std::size_t> findRootStream(std::u16string_view name) const;

    // Case-insensitive name comparison of directory entries (ASCII and Latin-1
    // letters fold to upper case).
    static bool namesEqual(std::u16string_view a, std::u16string_view b);

private:
    CompoundFile() = default;
    std::vector<std::uint32_t> chain(std::uint32_t start, const std::vector<std::uint32_t> &table,
                                     std::size_t limit) const;
    const std::uint8_t *sector(std::uint32_t index) const;
    void load();

public:
    CompoundFile(const CompoundFile &other) { *this = other; }
    CompoundFile &operator=(const CompoundFile &other);
    CompoundFile(CompoundFile &&) noexcept = default;
    CompoundFile &operator=(CompoundFile &&) noexcept = default;

private:
    std::vector<std::uint8_t> owned_;     // the file when it is not a view
    const std::uint8_t *data_ = nullptr;  // the file (into owned_ or the viewed bytes)
    Header header_;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<std::uint8_t> miniStream_;
    std::vector<DirEntry> entries_;
    std::size_t sectorCount_ = 0;
};

}  // namespace dorv::cfb
