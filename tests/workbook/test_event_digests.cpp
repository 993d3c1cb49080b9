// Every workbook of the tree (the fixtures, the fuzz regressions, the
// benchmark's LibreOffice workbooks) and of the sample school reads as it read
// when event_digests.txt was written: the same reader events byte for byte and
// the same cells through the spreadsheet service. A change that is meant to
// alter what is read writes the file anew with DORV_WRITE_EVENT_DIGESTS=1;
// DORV_EVENT_DUMP_DIR=folder writes each workbook's events there in full, so
// that two builds can be compared line by line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/temp_dir.h"
#include "tests/workbook/biff8_test_support.h"
#include "tests/workbook/workbook_events.h"

namespace {

namespace fs = std::filesystem;
using dorv::testing::Digest;
using dorv::testing::WorkbookEvents;

const fs::path kSource = DORV_TEST_SOURCE_DIR;
const fs::path kDigests = kSource / "tests/workbook/event_digests.txt";

// Name in the digest file -> file.
using Workbooks = std::map<std::string, fs::path>;

void addTree(Workbooks &books, const fs::path &root, const std::string &prefix) {
    for (const auto &e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        const bool regression = e.path().parent_path().filename() == "fuzz-regressions";
        if (e.path().extension() == ".xls" || regression)
            books[prefix + fs::relative(e.path(), root).generic_string()] = e.path();
    }
}

std::map<std::string, std::string> readDigests() {
    std::map<std::string, std::string> digests;
    std::ifstream in(kDigests);
    std::string digest, name;
    while (in >> digest && std::getline(in >> std::ws, name)) digests[name] = digest;
    return digests;
}

TEST(WorkbookEventDigests, EveryWorkbookReadsAsRecorded) {
    dorv::testing::TempDir school("dorv-digest-school");
    const std::string make = (dorv::testing::BinDir() / "dorv-sample-school").string();
    ASSERT_EQ(dorv::testing::Run({make, school.path().string()}), 0);

    Workbooks books;
    addTree(books, kSource / "tests", "tests/");
    addTree(books, kSource / "bench/workbooks", "bench/workbooks/");
    addTree(books, school.path(), "sample-school/");
    ASSERT_GT(books.size(), 20u);

    const char *dumpDir = std::getenv("DORV_EVENT_DUMP_DIR");
    std::map<std::string, std::string> now;
    for (const auto &[name, path] : books) {
        const std::string events = WorkbookEvents(path);
        now[name] = Digest(events);
        if (dumpDir) {
            std::string file = name;
            for (char &c : file)
                if (c == '/') c = '_';
            std::ofstream(fs::path(dumpDir) / (file + ".txt"), std::ios::binary) << events;
        }
    }

    if (std::getenv("DORV_WRITE_EVENT_DIGESTS")) {
        std::ofstream out(kDigests, std::ios::binary);
        for (const auto &[name, digest] : now) out << digest << "  " << name << "\n";
        return;
    }
    const auto recorded = readDigests();
    std::ostringstream faults;
    for (const auto &[name, digest] : now) {
        auto it = recorded.find(name);
        if (it == recorded.end()) faults << "\n  not recorded: " << name;
        else if (it->second != digest) faults << "\n  reads differently: " << name;
    }
    for (const auto &[name, digest] : recorded)
        if (!now.count(name)) faults << "\n  recorded but gone: " << name;
    if (!faults.str().empty())
        ADD_FAILURE() << "workbooks that do not read as recorded (after a change meant to alter what is read: "
                         "DORV_WRITE_EVENT_DIGESTS=1):"
                      << faults.str();
}

}  // namespace
