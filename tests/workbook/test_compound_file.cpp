#include "workbook/compound_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "biff_builder.h"

namespace {

using dorv::cfb::CompoundFile;
using dorv::cfb::NotCompoundFile;
using namespace dorv::test;

Bytes pattern(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = std::uint8_t((i * 31 + seed) & 0xFF);
    return b;
}

TEST(CompoundFile, ReadsStreamsOfBothVersionsThroughFatAndMiniStream) {
    struct Case {
        int version;
        std::uint32_t minFat;
    } cases[] = {{3, 0}, {4, 0}, {3, 112}};  // the last one needs the DIFAT chain
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version << " fat " << c.minFat);
        const Bytes big = pattern(70000, 1), small = pattern(1000, 2), exact = pattern(4096, 3);
        const Bytes file = makeCompoundFile(
            {{u"Workbook", big}, {u"\x05SummaryInformation", small}, {u"Cutoff", exact}, {u"Empty", {}}}, c.version,
            c.minFat);
        const auto cf = CompoundFile::parse(file);
        EXPECT_EQ(cf.majorVersion(), c.version);
        EXPECT_EQ(cf.sectorShift(), c.version == 4 ? 12 : 9);
        ASSERT_GE(cf.entries().size(), 5u);
        EXPECT_EQ(cf.entries()[0].objectType, dorv::cfb::kRootStorage);
        EXPECT_EQ(cf.entries()[0].nameUtf8(), "Root Entry");
        EXPECT_EQ(cf.streamBytes(1), big);
        EXPECT_EQ(cf.streamBytes(2), small);
        EXPECT_EQ(cf.streamBytes(3), exact);
        EXPECT_TRUE(cf.streamBytes(4).empty());
        EXPECT_EQ(cf.findRootStream(u"\x05SummaryInformation"), 2u);
    }
}

TEST(CompoundFile, ExposesRawDirectoryFields) {
    const auto cf = CompoundFile::parse(makeCompoundFile({{u"Book", pattern(5000, 0)}, {u"x", {1, 2}}}));
    const auto &e = cf.entries()[1];
    EXPECT_EQ(e.name, u"Book");
    EXPECT_EQ(e.nameLength, 10);
    EXPECT_EQ(e.rawName[0], 'B');
    EXPECT_EQ(e.objectType, dorv::cfb::kStream);
    EXPECT_EQ(e.colour, 1);
    EXPECT_EQ(e.leftSibling, dorv::cfb::kNoStream);
    EXPECT_EQ(e.rightSibling, 2u);
    EXPECT_EQ(e.child, dorv::cfb::kNoStream);
    EXPECT_EQ(e.clsid[0], 0x44);
    EXPECT_EQ(e.stateBits, 7u);
    EXPECT_EQ(e.creationTime, 0x01D0000000000000ull);
    EXPECT_EQ(e.modifiedTime, 0x01D0000000000001ull);
    EXPECT_EQ(e.streamSize, 5000u);
    EXPECT_EQ(cf.header().miniStreamCutoff, 4096u);
    EXPECT_EQ(cf.header().byteOrder, 0xFFFE);
    // Unused slots of the last directory sector are listed too, in order.
    EXPECT_EQ(cf.entries().size(), 4u);
    EXPECT_EQ(cf.entries()[3].objectType, dorv::cfb::kUnallocated);
}

TEST(CompoundFile, FindsRootStreamsCaseInsensitively) {
    const auto cf = CompoundFile::parse(makeCompoundFile({{u"Ctls", {1}}, {u"Book", {2}}, {u"Ölß", {3}}}));
    struct Case {
        std::u16string name;
        std::optional<std::size_t> want;
    } cases[] = {{u"book", 2},           {u"BOOK", 2}, {u"Book", 2},       {u"Workbook", std::nullopt},
                 {u"Boo", std::nullopt}, {u"öLß", 3},  {u"", std::nullopt}};
    for (const auto &c : cases) EXPECT_EQ(cf.findRootStream(c.name), c.want) << cf.entries()[1].nameUtf8();
}

TEST(CompoundFile, StructuralFaultsAreNotACompoundFile) {
    const Bytes good = makeCompoundFile({{u"Workbook", pattern(9000, 4)}, {u"small", pattern(300, 5)}});
    // The big stream starts right after FAT and directory, mini FAT and mini stream.
    const auto cf = CompoundFile::parse(good);
    const std::uint32_t wbStart = cf.entries()[1].startSector;
    const std::uint32_t dirStart = cf.header().firstDirSector;
    struct Case {
        const char *what;
        std::function<void(Bytes &)> damage;
        bool atParse;  // else only when the stream is read
    } cases[] = {
        {"signature", [](Bytes &f) { f[0] = 0; }, true},
        {"version", [](Bytes &f) { f[26] = 5; }, true},
        {"byte order", [](Bytes &f) { f[28] = 0; }, true},
        {"sector shift", [](Bytes &f) { f[30] = 10; }, true},
        {"cut header", [](Bytes &f) { f.resize(300); }, true},
        {"too many FAT sectors", [](Bytes &f) { put32At(f, 44, 100000); }, true},
        {"FAT sector out of range", [](Bytes &f) { put32At(f, 76, 5000); }, true},
        {"directory cycle", [&](Bytes &f) { put32At(f, fatEntryOffset(f, dirStart), dirStart); }, false},
        {"directory start out of range", [](Bytes &f) { put32At(f, 48, 999999); }, true},
        {"root not first", [&](Bytes &f) { f[(dirStart + 1) * 512 + 66] = 2; }, true},
        {"sibling out of range", [&](Bytes &f) { put32At(f, (dirStart + 1) * 512 + 128 + 72, 500); }, true},
        {"stream cycle", [&](Bytes &f) { put32At(f, fatEntryOffset(f, wbStart + 3), wbStart); }, false},
        {"stream chain too short", [&](Bytes &f) { put32At(f, fatEntryOffset(f, wbStart + 3), 0xFFFFFFFE); }, false},
        {"stream next out of range", [&](Bytes &f) { put32At(f, fatEntryOffset(f, wbStart), 0x7FFFFFFF); }, false},
        {"stream size beyond file", [&](Bytes &f) { put32At(f, (dirStart + 1) * 512 + 128 + 120, 0x7FFFFFFF); }, false},
        {"mini stream chain", [&](Bytes &f) { put32At(f, (dirStart + 1) * 512 + 116, 0xFFFFFFF0); }, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes f = good;
        c.damage(f);
        if (c.atParse) {
            EXPECT_THROW(CompoundFile::parse(f), NotCompoundFile);
            continue;
        }
        // A fault in a chain that parsing does not follow shows when it is read.
        try {
            const auto damaged = CompoundFile::parse(f);
            EXPECT_THROW(damaged.streamBytes(1), NotCompoundFile);
        } catch (const NotCompoundFile &) {
        }
    }
}

TEST(CompoundFile, ToleratesALastSectorCutShort) {
    Bytes f = makeCompoundFile({{u"Workbook", pattern(5000, 6)}});
    const auto full = CompoundFile::parse(f).streamBytes(1);
    // The stream ends 5000 bytes into its last sectors; drop the padding behind it.
    while (f.back() == 0) f.pop_back();
    EXPECT_EQ(CompoundFile::parse(f).streamBytes(1), full);
}

TEST(CompoundFile, ReadsWorkbooksOfIndependentWriters) {
    const std::string dir = sourceDir() + "/tests/fixtures/interop/";
    for (const char *name : {"libreoffice-biff8.xls", "gnumeric-biff7.xls", "xlwt-biff8.xls", "sheetjs-biff8.xls"}) {
        SCOPED_TRACE(name);
        const auto cf = CompoundFile::readFile(dir + name);
        auto wb = cf.findRootStream(u"Workbook");
        if (!wb) wb = cf.findRootStream(u"book");
        ASSERT_TRUE(wb);
        const auto bytes = cf.streamBytes(*wb);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(bytes[0], 0x09);  // a BOF record
        EXPECT_EQ(bytes[1], 0x08);
    }
    EXPECT_THROW(CompoundFile::readFile(dir + "sheetjs-biff2.xls"), NotCompoundFile);
    EXPECT_THROW(CompoundFile::readFile(dir + "no-such-file.xls"), NotCompoundFile);
}

TEST(CompoundFile, CopiesAndViewsReadTheSameStreams) {
    const Bytes data = pattern(6000, 9);
    const Bytes file = makeCompoundFile({{u"Workbook", data}, {u"s", pattern(100, 1)}});
    std::optional<CompoundFile> copy;
    {
        const auto original = CompoundFile::parse(file);
        copy = original;  // the copy keeps its own bytes once the original is gone
    }
    EXPECT_EQ(copy->streamBytes(1), data);
    const auto view = CompoundFile::view(file);
    EXPECT_EQ(view.streamBytes(1), data);
    EXPECT_EQ(view.streamBytes(2), pattern(100, 1));
    Bytes cut = file;
    while (cut.back() == 0) cut.pop_back();
    EXPECT_EQ(CompoundFile::view(cut).streamBytes(1), data);
}

TEST(CompoundFile, StreamsInOneRunAreReadWhereTheyLie) {
    const Bytes big = pattern(9000, 4), small = pattern(700, 5);
    const Bytes inOrder = makeCompoundFile({{u"Workbook", big}, {u"s", small}});
    const Bytes reversed = reverseStreamSectors(inOrder, 1);
    ASSERT_NE(reversed, inOrder);
    enum Where { kFile, kScratch, kMiniStream };
    struct Case {
        const char *what;
        const Bytes &file;
        std::size_t entry;
        const Bytes &data;
        Where where;
    } cases[] = {
        {"sectors in order", inOrder, 1, big, kFile},
        {"sectors in reverse order", reversed, 1, big, kScratch},
        {"in the mini stream", inOrder, 2, small, kMiniStream},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto cf = CompoundFile::view(c.file);
        std::vector<std::uint8_t> scratch;
        const auto span = cf.streamSpan(c.entry, scratch);
        EXPECT_EQ(Bytes(span.begin(), span.end()), c.data);
        EXPECT_EQ(cf.streamBytes(c.entry), c.data);
        const bool inFile = span.data() >= c.file.data() && span.data() < c.file.data() + c.file.size();
        EXPECT_EQ(inFile, c.where == kFile);
        EXPECT_EQ(span.data() == scratch.data(), c.where == kScratch);
    }
}

}  // namespace
