// The file helpers every writer and reader of the data folder shares: the
// parts of a path, and reading and writing a whole file through a
// descriptor however the system splits the calls.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dorv {

// The folder part of a path ("." for a bare name) and its last part.
std::string PathFolder(const std::string &path);
std::string PathName(const std::string &path);

// Every byte of an open file, read from its start whatever its offset.
// Raises std::system_error.
std::vector<std::uint8_t> ReadWholeFile(int fd);

// The write call of WriteAll; write(2) where none is given.
using WriteCall = ssize_t (*)(int fd, const void *buf, std::size_t count);

// Writes all `size` bytes, going on after a short or interrupted write.
// Raises std::system_error with the failed call's errno, EIO for a call that
// wrote nothing.
void WriteAll(int fd, const void *data, std::size_t size, WriteCall write = nullptr);

}  // namespace dorv
