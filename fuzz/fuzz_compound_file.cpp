// libFuzzer target: the compound-file reader on arbitrary bytes; every entry's
// stream is read and every root-level name looked up.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "workbook/compound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    try {
        const auto cf = dorv::cfb::CompoundFile::parse(std::vector<std::uint8_t>(data, data + size));
        for (std::size_t i = 0; i < cf.entries().size(); ++i) {
            const auto &e = cf.entries()[i];
            (void)cf.findChild(i, e.name);
            (void)cf.findRootStream(e.name);
            (void)e.nameUtf8();
            if (e.objectType != dorv::cfb::kStream && e.objectType != dorv::cfb::kRootStorage) continue;
            try {
                const auto bytes = cf.streamBytes(i);
                if (bytes.size() != cf.streamLength(i)) __builtin_trap();
            } catch (const dorv::cfb::NotCompoundFile &) {
            }
        }
    } catch (const dorv::cfb::NotCompoundFile &) {
    }
    return 0;
}
