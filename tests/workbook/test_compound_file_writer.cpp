// The compound-file writer: the directory stays as it was, the sectors are
// laid out anew, and every stream reads back as written, whatever its size
// (mini stream, many FAT sectors, DIFAT sectors).
#include <gtest/gtest.h>

#include "tests/workbook/biff8_test_support.h"
#include "workbook/compound_file.h"
#include "workbook/compound_file_writer.h"

namespace dorv::cfb {
namespace {

using testing::ForeignBiff8Workbooks;
using testing::ReadBytes;

CompoundFile parseBytes(const std::string &s) {
    return CompoundFile::parse(std::vector<std::uint8_t>(s.begin(), s.end()));
}

void expectSameDirectory(const CompoundFile &a, const CompoundFile &b) {
    ASSERT_EQ(a.entries().size(), b.entries().size());
    for (std::size_t i = 0; i < a.entries().size(); ++i) {
        const DirEntry &x = a.entries()[i], &y = b.entries()[i];
        SCOPED_TRACE(x.nameUtf8());
        EXPECT_EQ(x.rawName, y.rawName);
        EXPECT_EQ(x.nameLength, y.nameLength);
        EXPECT_EQ(x.objectType, y.objectType);
        EXPECT_EQ(x.colour, y.colour);
        EXPECT_EQ(x.leftSibling, y.leftSibling);
        EXPECT_EQ(x.rightSibling, y.rightSibling);
        EXPECT_EQ(x.child, y.child);
        EXPECT_EQ(x.clsid, y.clsid);
        EXPECT_EQ(x.stateBits, y.stateBits);
        EXPECT_EQ(x.creationTime, y.creationTime);
        EXPECT_EQ(x.modifiedTime, y.modifiedTime);
    }
    EXPECT_EQ(a.header().clsid, b.header().clsid);
}

TEST(CompoundFileWriter, StreamsOfEverySizeReadBackWithTheDirectoryUnchanged) {
    auto files = ForeignBiff8Workbooks();
    ASSERT_FALSE(files.empty());
    const CompoundFile original = parseBytes(ReadBytes(files[0]));
    const std::size_t wb = *original.findRootStream(u"Workbook");
    // 0 bytes, mini-stream sizes, the cutoff, several FAT sectors, and more
    // FAT sectors than the header can list (DIFAT).
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{64}, std::size_t{4095}, std::size_t{4096},
                             std::size_t{70000}, std::size_t{513 * 1024}, std::size_t{8 * 1024 * 1024}}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> data(size);
        for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
        auto bytes = rewrite(original, {{wb, data}});
        CompoundFile back = CompoundFile::parse(bytes);
        expectSameDirectory(original, back);
        EXPECT_EQ(back.streamBytes(wb), data);
        for (std::size_t i = 1; i < original.entries().size(); ++i)
            if (i != wb && original.entries()[i].objectType == kStream) {
                EXPECT_EQ(back.streamBytes(i), original.streamBytes(i)) << original.entries()[i].nameUtf8();
            }
    }
}

TEST(CompoundFileWriter, ForeignFilesKeepEveryOtherStream) {
    for (const auto &f : ForeignBiff8Workbooks()) {
        SCOPED_TRACE(f.filename().string());
        const CompoundFile original = parseBytes(ReadBytes(f));
        auto back = CompoundFile::parse(rewrite(original, {}));
        expectSameDirectory(original, back);
        for (std::size_t i = 1; i < original.entries().size(); ++i)
            if (original.entries()[i].objectType == kStream) {
                EXPECT_EQ(back.streamBytes(i), original.streamBytes(i));
            }
    }
}

TEST(CompoundFileWriter, AFreshFileHoldsOneWorkbookStream) {
    for (std::size_t size : {std::size_t{100}, std::size_t{5000}}) {
        std::vector<std::uint8_t> data(size, 0xAB);
        CompoundFile cf = CompoundFile::parse(makeWorkbookFile(data));
        auto idx = cf.findRootStream(u"Workbook");
        ASSERT_TRUE(idx);
        EXPECT_EQ(cf.streamBytes(*idx), data);
        EXPECT_EQ(cf.entries()[0].nameUtf8(), "Root Entry");
    }
}

}  // namespace
}  // namespace dorv::cfb
