#include "tests/workbook/biff8_test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "workbook/compound_file.h"
#include "workbook/xbiff.h"

namespace dorv::testing {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const fs::path &p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

static fs::path sourceDir() {
    const char *s = std::getenv("DORV_SOURCE_DIR");
    return s ? fs::path(s) : fs::path(".");
}

fs::path InteropWorkbook(const std::string &name) { return sourceDir() / "tests/fixtures/interop" / name; }

std::vector<fs::path> ForeignBiff8Workbooks() {
    std::vector<fs::path> out;
    for (const char *n : {"xlwt-biff8.xls", "libreoffice-biff8.xls", "gnumeric-biff8.xls", "sheetjs-biff8.xls"})
        if (fs::exists(InteropWorkbook(n))) out.push_back(InteropWorkbook(n));
    return out;
}

std::string WorkbookStream(const std::string &fileBytes) {
    auto cf = cfb::CompoundFile::parse(std::vector<std::uint8_t>(fileBytes.begin(), fileBytes.end()));
    auto idx = cf.findRootStream(u"Workbook");
    if (!idx) throw std::runtime_error("no Workbook stream");
    auto b = cf.streamBytes(*idx);
    return std::string(b.begin(), b.end());
}

std::vector<biff8::Record> StreamRecords(const std::string &stream) {
    std::string tail;
    auto recs = biff8::parseRecords(stream, tail);
    if (!tail.empty()) throw std::runtime_error("stream has a cut-off record");
    return recs;
}

void WriteModel(const fs::path &p, const biff8::WorkbookModel &m) {
    auto bytes = biff8::writeWorkbookFile(m);
    WriteBytes(p, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

biff8::WorkbookModel ScoreWorkbook() {
    static const char *subjects[] = {"国語", "社会", "数学", "理科", "英語", "音楽",
                                     "美術", "保体", "技家", "技術", "家庭"};
    biff8::ModelSheet s;
    s.name = "Data";
    s.cells[{0, 0}] = {false, 0, "番号"};
    for (std::uint16_t c = 0; c < 11; ++c) s.cells[{0, static_cast<std::uint16_t>(c + 1)}] = {false, 0, subjects[c]};
    std::mt19937 rng(7);
    for (std::uint16_t slot = 1; slot <= 420; ++slot) {
        int klass = (slot - 1) / 42 + 1, no = (slot - 1) % 42 + 1;
        s.cells[{slot, 0}] = {true, double(klass * 100 + no), {}};
        for (std::uint16_t c = 1; c <= 11; ++c) s.cells[{slot, c}] = {true, double(rng() % 101), {}};
    }
    s.columnWidths[0] = 2048;
    biff8::WorkbookModel m;
    m.sheets.push_back(std::move(s));
    return m;
}

static std::string unescape(const std::string &s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char c = s[++i];
            out += c == 't' ? '\t' : c == 'n' ? '\n' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

static std::vector<std::string> fields(const std::string &line) {
    std::vector<std::string> f;
    std::size_t start = 0;
    for (;;) {
        auto tab = line.find('\t', start);
        f.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return f;
        start = tab + 1;
    }
}

XlrdBook ReadWithXlrd(const fs::path &p) {
    XlrdBook b;
    std::string out, err;
    int rc = Run({Python(), (sourceDir() / "tests/workbook/xlrd_dump.py").string(), p.string()}, &out, &err);
    b.ok = rc == 0;
    b.error = err;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        auto f = fields(line);
        if (f[0] == "S" && f.size() == 3) b.sheets.push_back(unescape(f[2]));
        else if (f[0] == "C" && f.size() == 6)
            b.cells[{std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3])}] = XlrdCell{f[4], unescape(f[5])};
        else if (f[0] == "W" && f.size() == 4) b.widths[{std::stoi(f[1]), std::stoi(f[2])}] = std::stoi(f[3]);
    }
    return b;
}

std::vector<XlrdBook> ReadManyWithXlrd(const std::vector<fs::path> &paths) {
    if (paths.size() == 1) return {ReadWithXlrd(paths[0])};
    std::vector<std::string> argv{Python(), (sourceDir() / "tests/workbook/xlrd_dump.py").string()};
    for (const fs::path &p : paths) argv.push_back(p.string());
    std::string out, err;
    int rc = Run(argv, &out, &err);
    std::vector<XlrdBook> books(paths.size());
    if (rc != 0) {
        for (XlrdBook &b : books) b.error = err;
        return books;
    }
    XlrdBook *b = nullptr;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        auto f = fields(line);
        if (f[0] == "F" && f.size() == 2) {
            b = &books.at(std::stoul(f[1]));
            b->ok = true;
        } else if (!b) {
            continue;
        } else if (f[0] == "X" && f.size() == 3) {
            b->ok = false;
            b->error = unescape(f[2]);
        } else if (f[0] == "S" && f.size() == 3) {
            b->sheets.push_back(unescape(f[2]));
        } else if (f[0] == "C" && f.size() == 6) {
            b->cells[{std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3])}] = XlrdCell{f[4], unescape(f[5])};
        } else if (f[0] == "W" && f.size() == 4) {
            b->widths[{std::stoi(f[1]), std::stoi(f[2])}] = std::stoi(f[3]);
        }
    }
    return books;
}

std::vector<biff8::Record> SstRecords(const std::vector<biff8::Record> &recs) {
    auto it = std::find_if(recs.begin(), recs.end(), [](const biff8::Record &r) { return r.id == biff8::id::Sst; });
    if (it == recs.end()) return {};
    auto end = std::find_if(it + 1, recs.end(), [](const biff8::Record &r) { return r.id != biff8::id::Continue; });
    return {it, end};
}

SstLayout WalkSstStrictly(const std::vector<biff8::Record> &recs) {
    using biff8::get16;
    using biff8::get32;
    SstLayout out;
    auto fail = [&](std::size_t i, const std::string &what) {
        out.fault = "string " + std::to_string(i) + ": " + what;
        return out;
    };
    if (recs.empty() || recs[0].id != biff8::id::Sst || recs[0].body.size() < 8) return fail(0, "no SST record");
    for (std::size_t r = 0; r < recs.size(); ++r) {
        if (recs[r].body.size() > biff8::kMaxRecordBody) return fail(0, "record body over 8224 bytes");
        if (r > 0 && recs[r].id != biff8::id::Continue) return fail(0, "a record other than CONTINUE in the table");
    }
    std::size_t r = 0, pos = 8;
    const std::uint32_t count = get32(recs[0].body, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (pos == recs[r].body.size()) ++r, pos = 0;
        if (r >= recs.size()) return fail(i, "table ends early");
        const std::string *b = &recs[r].body;
        if (pos + 3 > b->size()) return fail(i, "header split");
        std::size_t cch = get16(*b, pos);
        unsigned flags = static_cast<unsigned char>((*b)[pos + 2]);
        std::size_t header = 3 + ((flags & 8) ? 2 : 0) + ((flags & 4) ? 4 : 0);
        std::size_t width = (flags & 1) ? 2 : 1;
        if (pos + header + (cch ? width : 0) > b->size()) return fail(i, "header split from its first character");
        std::size_t runs = (flags & 8) ? get16(*b, pos + 3) : 0;
        std::size_t ext = (flags & 4) ? get32(*b, pos + 3 + ((flags & 8) ? 2 : 0)) : 0;
        out.starts.emplace_back(r, pos);
        pos += header;
        for (std::size_t left = cch; left > 0;) {
            if (pos == b->size()) {
                if (++r >= recs.size() || recs[r].body.empty()) return fail(i, "characters cut off");
                b = &recs[r].body;
                unsigned f = static_cast<unsigned char>((*b)[0]);
                if (f > 1) return fail(i, "continued characters without their flags byte");
                width = (f & 1) ? 2 : 1;
                pos = 1;
            }
            std::size_t take = std::min(left, (b->size() - pos) / width);
            if (take == 0) return fail(i, "a character cut in two");
            pos += take * width;
            left -= take;
        }
        for (std::size_t k = 0; k < runs; ++k) {
            if (pos == b->size()) {
                if (++r >= recs.size()) return fail(i, "runs cut off");
                b = &recs[r].body;
                pos = 0;
            }
            if (pos + 4 > b->size()) return fail(i, "formatting run " + std::to_string(k) + " split");
            pos += 4;
        }
        pos += ext;
        if (pos > b->size()) {
            pos -= b->size();
            if (++r >= recs.size()) return fail(i, "phonetic block cut off");
            b = &recs[r].body;
            if (pos > b->size()) return fail(i, "phonetic block across two record boundaries");
        }
    }
    return out;
}

static std::string phoneticBlock() {
    // reserved 1, size, font and kind, one reading "ヤマダ" over the first two characters
    std::string b;
    biff8::append16(b, 1);
    biff8::append16(b, 22);
    biff8::append16(b, 0);
    biff8::append16(b, 0x0001);
    biff8::append16(b, 1);
    biff8::append16(b, 3);
    biff8::append16(b, 3);
    for (char16_t ch : std::u16string(u"ヤマダ")) biff8::append16(b, ch);
    biff8::append16(b, 0);
    biff8::append16(b, 0);
    biff8::append16(b, 2);
    return b;
}

std::string SstEntryBytes(const SstEntrySpec &e) {
    std::string b;
    biff8::append16(b, static_cast<std::uint16_t>(e.chars.size()));
    b.push_back(static_cast<char>((e.wide ? 1 : 0) | (e.runs ? 8 : 0) | (e.phonetic ? 4 : 0)));
    const std::string ext = e.phonetic ? phoneticBlock() : std::string();
    if (e.runs) biff8::append16(b, static_cast<std::uint16_t>(e.runs));
    if (e.phonetic) biff8::append32(b, static_cast<std::uint32_t>(ext.size()));
    for (char16_t ch : e.chars) {
        if (e.wide) biff8::append16(b, ch);
        else b.push_back(static_cast<char>(ch));
    }
    for (int k = 0; k < e.runs; ++k) {
        biff8::append16(b, static_cast<std::uint16_t>(k));
        biff8::append16(b, static_cast<std::uint16_t>(k % 2 ? 0 : 1));
    }
    return b + ext;
}

std::size_t SstEntrySize(const SstEntrySpec &e) { return SstEntryBytes(e).size(); }

ReaderBook ReadWithReader(const fs::path &p) {
    ReaderBook b;
    TXBiff reader;
    reader.OnReadSheetName = [&](TXBiff &, const std::string &name) { b.sheets.push_back(name); };
    reader.OnReadCell = [&](TXBiff &, int sheet, int row, int col, int, const std::string &data, bool &) {
        b.cells[{sheet - 1, row, col}] = data;
    };
    reader.OnReadColW = [&](TXBiff &, int sheet, int col, int width) { b.widths[{sheet - 1, col}] = width; };
    try {
        reader.Open(p.string());
        b.ok = true;
    } catch (const std::exception &e) {
        b.error = e.what();
    }
    return b;
}

fs::path BinDir() {
    const char *s = std::getenv("DORV_BIN_DIR");
    return s ? fs::path(s) : fs::path(".");
}

std::string Python() {
    const char *s = std::getenv("DORV_PYTHON");
    return s && *s ? s : "/usr/bin/python3";
}

int Run(const std::vector<std::string> &argv, std::string *out, std::string *err) {
    int po[2], pe[2];
    if (::pipe2(po, O_CLOEXEC) != 0 || ::pipe2(pe, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(po[1], 1);
        ::dup2(pe[1], 2);
        std::vector<char *> args;
        for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(po[1]);
    ::close(pe[1]);
    std::string o, e;
    pollfd fds[2] = {{po[0], POLLIN, 0}, {pe[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) continue;
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP))) continue;
            char buf[8192];
            ssize_t n = ::read(fds[k].fd, buf, sizeof buf);
            if (n <= 0) {
                ::close(fds[k].fd);
                fds[k].fd = -1;
                --open;
            } else {
                (k == 0 ? o : e).append(buf, static_cast<std::size_t>(n));
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (out) *out = o;
    if (err) *err = e;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace dorv::testing
