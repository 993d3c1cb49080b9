// New workbooks from a model, read by our reader and by python3-xlrd: sheet
// names and order, numbers, Japanese texts and column widths come back.
#include <gtest/gtest.h>

#include "tests/workbook/biff8_test_support.h"
#include "workbook/xbiff.h"

namespace dorv::biff8 {
namespace {

using namespace dorv::testing;

WorkbookModel sample() {
    WorkbookModel m;
    ModelSheet data{"Data", {}, {}};
    data.cells[{0, 0}] = {false, 0, "番号"};
    data.cells[{0, 1}] = {false, 0, "氏名"};
    data.cells[{1, 0}] = {true, 101, {}};
    data.cells[{1, 1}] = {false, 0, "山田　太郎"};
    data.cells[{1, 2}] = {true, -5, {}};
    data.cells[{2, 2}] = {true, 12.5, {}};
    data.cells[{3, 255}] = {true, 1e20, {}};
    data.cells[{65535, 0}] = {false, 0, "最後の行"};
    data.cells[{4, 1}] = {false, 0, "1-2"};
    data.columnWidths = {{0, 2048}, {1, 4000}, {2, 4000}, {7, 300}};
    m.sheets.push_back(data);
    m.sheets.push_back(ModelSheet{"国語", {{{0, 0}, {false, 0, "観点"}}}, {{3, 5000}}});
    m.sheets.push_back(ModelSheet{"空", {}, {}});
    return m;
}

TEST(Biff8Writer, OurReaderAndXlrdReadBackTheModel) {
    TempDir dir;
    const WorkbookModel m = sample();
    WriteModel(dir / "new.xls", m);

    ReaderBook ours = ReadWithReader(dir / "new.xls");
    ASSERT_TRUE(ours.ok) << ours.error;
    XlrdBook peer = ReadWithXlrd(dir / "new.xls");
    ASSERT_TRUE(peer.ok) << peer.error;

    std::vector<std::string> names{"Data", "国語", "空"};
    EXPECT_EQ(ours.sheets, names);
    EXPECT_EQ(peer.sheets, names);

    std::map<CellKey, std::string> expectOurs;
    std::map<CellKey, XlrdCell> expectPeer;
    for (std::size_t s = 0; s < m.sheets.size(); ++s)
        for (const auto &[at, c] : m.sheets[s].cells) {
            CellKey k{static_cast<int>(s), at.first, at.second};
            expectOurs[k] = c.isNumber ? TXBiff::formatGeneral(c.number) : c.text;
            expectPeer[k] = c.isNumber
                                ? XlrdCell{"n", c.number == 1e20   ? "1e+20"
                                                : c.number == 12.5 ? "12.5"
                                                                   : std::to_string(static_cast<long>(c.number)) + ".0"}
                                : XlrdCell{"s", c.text};
        }
    EXPECT_EQ(ours.cells, expectOurs);
    EXPECT_EQ(peer.cells, expectPeer);

    std::map<std::pair<int, int>, int> widths;
    for (std::size_t s = 0; s < m.sheets.size(); ++s)
        for (auto [col, w] : m.sheets[s].columnWidths) widths[{static_cast<int>(s), col}] = w;
    EXPECT_EQ(ours.widths, widths);
    EXPECT_EQ(peer.widths, widths);
}

TEST(Biff8Writer, ThousandsOfStringsStayWithinTheReadersRecordLimit) {
    // Our reader refuses a shared string record over 8224 bytes, so reading
    // the file at all shows the table was split right.
    TempDir dir;
    WorkbookModel m;
    ModelSheet s{"Data", {}, {}};
    for (std::uint16_t r = 0; r < 3000; ++r)
        s.cells[{r, 0}] = {false, 0, "漢字かな交じりの名前" + std::to_string(r) + "号"};
    m.sheets.push_back(s);
    WriteModel(dir / "many.xls", m);
    ReaderBook ours = ReadWithReader(dir / "many.xls");
    ASSERT_TRUE(ours.ok) << ours.error;
    ASSERT_EQ(ours.cells.size(), 3000u);
    EXPECT_EQ((ours.cells[{0, 2999, 0}]), "漢字かな交じりの名前2999号");
    XlrdBook peer = ReadWithXlrd(dir / "many.xls");
    ASSERT_TRUE(peer.ok) << peer.error;
    EXPECT_EQ((peer.cells[{0, 1234, 0}].value), "漢字かな交じりの名前1234号");
}

}  // namespace
}  // namespace dorv::biff8
