// libFuzzer target: the whole reader (compound file, then the record walk)
// on arbitrary file contents, with every event assigned.
#include <cstddef>
#include <cstdint>
#include <span>

#include "workbook/cp932.h"
#include "workbook/xbiff.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    dorv::TXBiff reader;
    std::size_t events = 0;
    reader.OnReadCell = [&](dorv::TXBiff &r, int, int, int, int, const std::string &text, bool &cancel) {
        if (!dorv::cp932::isValidUtf8(text)) __builtin_trap();
        if (r.Progress < 0 || r.Progress > 100) __builtin_trap();
        // Exercise cancellation on some inputs.
        if (++events > 5000 && size % 7 == 0) cancel = true;
    };
    reader.OnReadColW = [&](dorv::TXBiff &, int, int, int) { ++events; };
    reader.OnReadSheetName = [&](dorv::TXBiff &, const std::string &name) {
        if (!dorv::cp932::isValidUtf8(name)) __builtin_trap();
    };
    reader.OnProgress = [&](dorv::TXBiff &, int p) {
        if (p < 0 || p > 100) __builtin_trap();
    };
    try {
        reader.OpenBytes(std::span<const std::uint8_t>(data, size));
    } catch (const dorv::XBiffError &) {
    }
    return 0;
}
