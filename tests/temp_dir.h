// Fresh folders under the system's temporary folder for tests and
// benchmarks, and their removal with everything a test left in them
// (read-only files and folders included).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace dorv::testing {

// A new, empty folder named `prefix` and six random characters.
inline std::filesystem::path MakeTempDir(const std::string &prefix) {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp " + tmpl);
    return tmpl;
}

// Removes `dir` and all below it; never throws.
inline void RemoveTempDir(const std::filesystem::path &dir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto &e : fs::recursive_directory_iterator(dir, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
}

// A fresh folder, removed at the end.
class TempDir {
public:
    explicit TempDir(const std::string &prefix = "dorv-test") : path_(MakeTempDir(prefix)) {}
    ~TempDir() { RemoveTempDir(path_); }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return path_; }
    std::filesystem::path operator/(const std::string &name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace dorv::testing
