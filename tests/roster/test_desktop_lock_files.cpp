// Every writer of the three programs against a workbook that a desktop
// spreadsheet program has open for editing: each kind of lock file beside
// the workbook is waited for like another writer, then the write is refused
// naming the lock file and the workbook stays byte for byte; a lock file
// that goes away during the wait lets the write through. Readers are not
// held up by one.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "print/export/henkan_export.h"
#include "roster/hinagata_file.h"
#include "roster/roster_creation.h"
#include "roster/roster_save.h"
#include "roster_fixture.h"
#include "schooldata/access.h"
#include "schooldata/excel_service.h"
#include "schooldata/globals.h"
#include "schooldata/hyotei_data.h"
#include "schooldata/kurasusu_data.h"
#include "schooldata/name_data.h"
#include "schooldata/settings.h"
#include "schooldata/soten_data.h"
#include "schooldata/test_names.h"
#include "tests/workbook/biff8_test_support.h"

namespace {

namespace fs = std::filesystem;
using rostertest::FileBytes;
using rostertest::MessageOf;

constexpr const char *kNoteTail =
    " があります。このファイルを開いているプログラムがなければ、ロックファイルを削除してください）";

enum class Kind { LibreOffice, ExcelShort, ExcelLong };

// Where each program puts its lock file, written out here on its own:
// LibreOffice prefixes ".~lock." and appends "#"; Excel prefixes "~$", or
// for a longer name puts "~$" in place of its first two characters.
std::string lockFileOf(const std::string &path, Kind kind) {
    const fs::path p(path);
    const std::string name = p.filename().string();
    std::string lock;
    switch (kind) {
    case Kind::LibreOffice: lock = ".~lock." + name + "#"; break;
    case Kind::ExcelShort: lock = "~$" + name; break;
    case Kind::ExcelLong: {
        // Every name here starts with two three-byte characters.
        lock = "~$" + name.substr(6);
        break;
    }
    }
    return (p.parent_path() / lock).string();
}

dorv::biff8::ModelCell text(const std::string &t) {
    dorv::biff8::ModelCell c;
    c.text = t;
    return c;
}

dorv::biff8::ModelSheet sheet(const std::string &name) {
    dorv::biff8::ModelSheet s;
    s.name = name;
    s.cells[{0, 0}] = text("番号");
    return s;
}

// The ratings workbook and the conversion workbook both have a sheet per
// subject; the ratings one has "Data" in front.
void writeSubjectWorkbook(const std::string &path, bool withData) {
    dorv::biff8::WorkbookModel m;
    if (withData) m.sheets.push_back(sheet("Data"));
    for (int j = 0; j < 9; ++j) m.sheets.push_back(sheet(std::string(dorv::KyokaSheetNames[j])));
    fs::create_directories(fs::path(path).parent_path());
    dorv::testing::WriteModel(path, m);
}

struct Writer {
    const char *name;
    std::function<std::string()> prepare;  // writes the workbook; its path
    std::function<void()> write;
    std::function<std::string(const std::string &path)> busyHead;  // the refusal before the note
    std::function<bool(const std::string &path)> written;          // the write reached the file
};

std::string cell(const std::string &path, int sheet, int row, int col) {
    const auto cells = rostertest::ReadCells(path);
    auto at = cells.find({sheet, row, col});
    return at == cells.end() ? "" : at->second;
}

class DesktopLockFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dorv::SetRetryTiming({std::chrono::milliseconds(10), std::chrono::milliseconds(200)});
        dorv::SelectedGrade = 2;
        dorv::SelectedTerm = 1;
        dorv::SelectedTest = 1;
        testNames.TestName[2][1] = "中間テスト";
        dorv::CurTeikiTestName = &testNames;
    }
    void TearDown() override {
        dorv::SetRetryTiming({});
        dorv::SetEventPumpHook({});
        dorv::CurTeikiTestName = nullptr;
    }

    std::vector<Writer> writers() {
        const auto busy = [](const std::string &path) { return "ファイル " + path + " は他のプログラムが使用中です"; };
        return {
            {"score entry",
             [] {
                 const std::string path = dorv::GradeFilePath(2, "中間テスト.xls");
                 dorv::testing::WriteModel(path, dorv::testing::ScoreWorkbook());
                 return path;
             },
             [] {
                 dorv::TSotenData d;
                 d.Score[13][0] = 48;
                 d.Modified[13] = 1;
                 d.SaveTestColumn({0, 1}, 4, 0);
             },
             busy, [](const std::string &path) { return cell(path, 1, 13, 1) == "48"; }},
            {"rating entry",
             [] {
                 const std::string path = dorv::GradeFilePath(2, "１学期評定.xls");
                 writeSubjectWorkbook(path, true);
                 return path;
             },
             [] {
                 dorv::THyoteiData d;
                 d.Hyotei[13][1] = {4, {255, 255, 255, 255, 255, 255, 255}};
                 d.Modified[13] = 1;
                 d.SaveHyoteiSubject(4, 0);
             },
             busy, [](const std::string &path) { return cell(path, 1, 13, 1) == "4"; }},
            {"roster save",
             [this] {
                 folder.writeRoster(2, {{13, "山田　太郎", "男"}});
                 return folder.roster(2);
             },
             [] {
                 dorv::TNameData d;
                 d.Grade = 2;
                 d.Names[13] = "林　花子";
                 d.Sex[13] = dorv::TNameData::kSexGirl;
                 d.Modified[13] = 1;
                 dorv::SaveMeibo(d, 6);
             },
             busy, [](const std::string &path) { return cell(path, 1, 13, 1) == "林　花子"; }},
            {"roster creation", [this] { return folder.roster(2); },
             [] {
                 dorv::TKurasuSuData counts;
                 dorv::THinagataFile hinagata;
                 dorv::PrepareRoster(counts, hinagata, 2);
             },
             [](const std::string &path) { return "ファイル " + path + " を作成できません"; },
             [](const std::string &path) { return cell(path, 1, 252, 0) == "642"; }},
            {"C4th export",
             [] {
                 const std::string path = dorv::ConversionFolderPath(2) + "１学期評定.xls";
                 writeSubjectWorkbook(path, false);
                 return path;
             },
             [] {
                 dorv::THyoteiData d;
                 d.Hyotei[1][1] = {5, {255, 255, 255, 255, 255, 255, 255}};
                 d.Exists[1] = 1;
                 dorv::ExportHenkan(d, 4);
             },
             [busy](const std::string &path) { return "C4th変換を行えません。" + busy(path); },
             [](const std::string &path) { return cell(path, 1, 1, 0) == "101"; }},
        };
    }

    rostertest::DataFolder folder;
    dorv::TTeikiTestName testNames;
};

TEST_F(DesktopLockFiles, EveryWriterWaitsThenRefusesNamingTheLockFile) {
    for (const Writer &w : writers()) {
        for (Kind kind : {Kind::LibreOffice, Kind::ExcelShort, Kind::ExcelLong}) {
            SCOPED_TRACE(std::string(w.name) + " " + std::to_string(static_cast<int>(kind)));
            const std::string path = w.prepare();
            const std::string lock = lockFileOf(path, kind);
            rostertest::WriteBytes(lock, "someone");
            const bool existed = fs::exists(path);
            const std::string before = existed ? FileBytes(path) : "";
            int pumps = 0;
            dorv::SetEventPumpHook([&] { return ++pumps, false; });

            const auto start = std::chrono::steady_clock::now();
            const std::string message = MessageOf(w.write);
            EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
            EXPECT_GT(pumps, 0);
            EXPECT_EQ(message, w.busyHead(path) + "（ロックファイル " + lock + kNoteTail);
            EXPECT_EQ(fs::exists(path), existed);
            if (existed) {
                EXPECT_EQ(FileBytes(path), before);
            }
            EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator()),
                      existed ? 2 : 1);  // the workbook and the lock file, nothing of a save

            // The lock file goes away while the writer waits: the write goes through.
            dorv::SetEventPumpHook([&] {
                if (++pumps % 3 == 0) fs::remove(lock);
                return false;
            });
            EXPECT_EQ(MessageOf(w.write), "(no error)");
            EXPECT_TRUE(w.written(path));
            fs::remove(path);
            fs::remove(lock);
            dorv::SetEventPumpHook({});
        }
    }
}

TEST_F(DesktopLockFiles, ReadersAreNotHeldUp) {
    folder.writeRoster(2, {{13, "山田　太郎", "男"}});
    const std::string roster = folder.roster(2);
    for (Kind kind : {Kind::LibreOffice, Kind::ExcelShort, Kind::ExcelLong}) {
        rostertest::WriteBytes(lockFileOf(roster, kind), "someone");
        for (bool reader : {true, false}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + (reader ? " reader" : " service"));
            dorv::SetReaderPathEnabled(reader);
            dorv::TNameData d;
            d.Grade = 2;
            EXPECT_EQ(MessageOf([&] { d.LoadMeibo(6); }), "(no error)");
            dorv::SetReaderPathEnabled(true);
            EXPECT_EQ(d.Names[13], "山田　太郎");
            EXPECT_EQ(dorv::LastLoadPath(), reader ? dorv::LoadPath::Reader : dorv::LoadPath::Service);
        }
        fs::remove(lockFileOf(roster, kind));
    }
}

}  // namespace
