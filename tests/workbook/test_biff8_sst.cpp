// The shared string table as the service rewrites it: record limits, string
// headers never split, split character arrays, kept formatting runs and
// phonetic blocks, and an EXTSST that points at its strings.
#include <gtest/gtest.h>

#include <random>

#include "tests/workbook/biff8_test_support.h"
#include "workbook/biff8_sst.h"
#include "workbook/shared_strings.h"

namespace dorv::biff8 {
namespace {

SharedStrings emptyTable() {
    static const std::string head(8, '\0');
    return SharedStrings::parse({head});
}

std::vector<std::string_view> bodies(const std::vector<Record> &recs) {
    std::vector<std::string_view> out;
    for (const Record &r : recs) out.push_back(r.body);
    return out;
}

// The table laid out as other readers need it (see WalkSstStrictly).
void expectWellSplit(const std::vector<Record> &recs) { EXPECT_EQ(testing::WalkSstStrictly(recs).fault, ""); }

std::string japanese(std::mt19937 &rng, std::size_t n) {
    static const char *pieces[] = {"山", "田", "太", "郎", "花", "子", "あ", "い",
                                   "ア", "ン", "ｶﾅ", "A",  "b",  "7",  "々", "〒"};
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += pieces[rng() % 16];
    return s;
}

TEST(Biff8SharedStrings, ThousandNewJapaneseStringsStayWithinRecordLimitsAndReadBackWhole) {
    SharedStrings t = emptyTable();
    std::mt19937 rng(42);
    std::vector<std::string> texts;
    for (int i = 0; i < 1000; ++i) {
        texts.push_back(japanese(rng, 1 + rng() % 120) + std::to_string(i));
        EXPECT_EQ(t.add(texts.back()), static_cast<std::uint32_t>(i));
    }
    Record ext;
    auto recs = t.build(1000, 0, ext);
    EXPECT_GT(recs.size(), 3u);
    for (const Record &r : recs) EXPECT_LE(r.body.size(), kMaxRecordBody);
    expectWellSplit(recs);

    SharedStrings back = SharedStrings::parse(bodies(recs));
    ASSERT_EQ(back.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(back.at(i).utf8, texts[i]) << i;

    // The reader's own decoder, fed the same records, agrees.
    std::vector<std::uint8_t> joined;
    std::vector<std::size_t> ends;
    for (const Record &r : recs) {
        joined.insert(joined.end(), r.body.begin(), r.body.end());
        ends.push_back(joined.size());
    }
    EXPECT_EQ(biff::decodeSharedStrings(joined, ends), texts);
}

// A first string fills the SST record up to `free` bytes short of its limit;
// the second one must then start in a CONTINUE (header does not fit) or be
// split behind a flags byte.
TEST(Biff8SharedStrings, StringsAtTheRecordBoundary) {
    struct Case {
        std::size_t free;
        bool wide;
        std::size_t length;
    };
    const Case cases[] = {{0, false, 10},   {1, false, 10},  {2, true, 10},      {3, false, 10},
                          {3, true, 10},    {4, false, 10},  {4, true, 10},      {5, true, 10},
                          {6, false, 9000}, {6, true, 9000}, {100, true, 20000}, {0, false, 0}};
    for (const Case &c : cases) {
        SharedStrings t = emptyTable();
        const std::size_t firstBytes = kMaxRecordBody - 8 - 3 - c.free;
        t.add(std::string(firstBytes, 'x'));
        std::string second;
        for (std::size_t i = 0; i < c.length; ++i) second += c.wide ? "語" : "y";
        t.add(second);
        t.add("後");
        Record ext;
        auto recs = t.build(3, 0, ext);
        SCOPED_TRACE(::testing::Message() << "free " << c.free << " wide " << c.wide << " length " << c.length);
        for (const Record &r : recs) EXPECT_LE(r.body.size(), kMaxRecordBody);
        expectWellSplit(recs);
        SharedStrings back = SharedStrings::parse(bodies(recs));
        ASSERT_EQ(back.size(), 3u);
        EXPECT_EQ(back.at(0).utf8.size(), firstBytes);
        EXPECT_EQ(back.at(1).utf8, second);
        EXPECT_EQ(back.at(2).utf8, "後");
    }
}

TEST(Biff8SharedStrings, PiecesOfOneStringMayChangeWidth) {
    // "abc" in 8-bit characters, continued as "de語" in 16-bit ones.
    std::string sst;
    append32(sst, 1);
    append32(sst, 1);
    append16(sst, 6);
    sst += '\0';
    sst += "abc";
    std::string cont;
    cont += '\1';
    for (char16_t ch : std::u16string(u"de語")) append16(cont, ch);
    SharedStrings t = SharedStrings::parse({sst, cont});
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t.at(0).utf8, "abcde語");
}

TEST(Biff8SharedStrings, RunsAndPhoneticBlocksSurviveARebuildAndAreNotShared) {
    std::string sst;
    append32(sst, 2);
    append32(sst, 2);
    // "山田" with one formatting run and a phonetic block.
    append16(sst, 2);
    sst += '\x0D';  // 16-bit, runs, extension
    append16(sst, 1);
    append32(sst, 6);
    for (char16_t ch : std::u16string(u"山田")) append16(sst, ch);
    append32(sst, 0x00050001);
    sst += std::string("\x01\x00\x02\x00\x03\x00", 6);
    append16(sst, 2);
    sst += '\0';
    sst += "ok";
    SharedStrings t = SharedStrings::parse({sst});
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t.add("ok"), 1u);    // a plain entry is taken again
    EXPECT_EQ(t.add("山田"), 2u);  // a formatted one is not given to a new cell
    Record ext;
    auto recs = t.build(3, 0, ext);
    SharedStrings back = SharedStrings::parse(bodies(recs));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_TRUE(back.at(0).rich);
    EXPECT_TRUE(back.at(0).hasExt);
    EXPECT_EQ(back.at(0).runs, t.at(0).runs);
    EXPECT_EQ(back.at(0).ext, t.at(0).ext);
    EXPECT_EQ(back.at(0).utf8, "山田");
    // An unchanged table is written back as it was read.
    EXPECT_EQ(SharedStrings::parse({sst}).build(2, 0, ext).at(0).body, sst);
}

// A formatted or phonetic string behind a filler that ends `before` bytes
// ahead of the record limit, for every offset across the string: its runs and
// phonetic block come back byte for byte and the layout keeps every rule.
TEST(Biff8SharedStrings, FormattedAndPhoneticStringsAtEveryOffsetAroundTheLimit) {
    std::vector<testing::SstEntrySpec> specs;
    for (int runs = 1; runs <= 8; ++runs) {
        specs.push_back({u"成績処理の記録です。", true, runs, false});
        specs.push_back({u"Score list", false, runs, false});
    }
    specs.push_back({u"山田太郎", true, 0, true});
    specs.push_back({u"Yamada", false, 0, true});
    specs.push_back({u"勅使河原健太郎", true, 3, true});
    specs.push_back({u"", false, 2, true});
    for (const testing::SstEntrySpec &spec : specs) {
        const std::string entry = testing::SstEntryBytes(spec);
        for (std::size_t before = 0; before <= entry.size() + 2; ++before) {
            SCOPED_TRACE(::testing::Message() << "runs " << spec.runs << " phonetic " << spec.phonetic << " wide "
                                              << spec.wide << ", " << before << " bytes before the limit");
            std::string raw;
            append32(raw, 3);
            append32(raw, 3);
            raw += testing::SstEntryBytes({std::u16string(kMaxRecordBody - 11 - before, u'f'), false, 0, false});
            raw += entry;
            raw += testing::SstEntryBytes({u"後", true, 1, false});
            SharedStrings t = SharedStrings::parse({raw});
            Record ext;
            auto recs = t.build(3, 0, ext);
            auto layout = testing::WalkSstStrictly(recs);
            ASSERT_EQ(layout.fault, "");
            SharedStrings back = SharedStrings::parse(bodies(recs));
            ASSERT_EQ(back.size(), 3u);
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(back.at(i).chars, t.at(i).chars) << i;
                EXPECT_EQ(back.at(i).runs, t.at(i).runs) << i;
                EXPECT_EQ(back.at(i).ext, t.at(i).ext) << i;
            }
        }
    }
}

TEST(Biff8SharedStrings, ExtSstPointsAtTheFirstStringOfEachBucket) {
    SharedStrings t = emptyTable();
    std::mt19937 rng(3);
    for (int i = 0; i < 3000; ++i) t.add(japanese(rng, 1 + rng() % 40) + std::to_string(i));
    const std::size_t base = 1234;
    Record ext;
    auto recs = t.build(3000, base, ext);
    std::string stream = std::string(base, '\0') + serialise(recs);
    const std::size_t perBucket = get16(ext.body, 0);
    const std::size_t buckets = (ext.body.size() - 2) / 8;
    ASSERT_GE(perBucket, 8u);
    EXPECT_EQ(buckets, (3000 + perBucket - 1) / perBucket);
    EXPECT_LE(buckets, 128u);
    for (std::size_t k = 0; k < buckets; ++k) {
        std::size_t ib = get32(ext.body, 2 + 8 * k);
        std::size_t inRecord = get16(ext.body, 6 + 8 * k);
        std::size_t recordStart = ib - inRecord;
        std::uint16_t rid = get16(stream, recordStart);
        EXPECT_TRUE(rid == id::Sst || rid == id::Continue) << k;
        EXPECT_EQ(get16(stream, ib), t.at(k * perBucket).chars.size()) << k;
    }
}

}  // namespace
}  // namespace dorv::biff8
