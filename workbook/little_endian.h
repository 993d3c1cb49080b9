// Little-endian reads and writes in byte buffers (the callers check the bounds).
#pragma once

#include <cstdint>

namespace dorv::le {

inline std::uint16_t u16(const std::uint8_t *p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::uint32_t u32(const std::uint8_t *p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline std::uint64_t u64(const std::uint8_t *p) { return std::uint64_t(u32(p)) | (std::uint64_t(u32(p + 4)) << 32); }

inline void put16(std::uint8_t *p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void put32(std::uint8_t *p, std::uint32_t v) {
    put16(p, std::uint16_t(v));
    put16(p + 2, std::uint16_t(v >> 16));
}
inline void put64(std::uint8_t *p, std::uint64_t v) {
    put32(p, std::uint32_t(v));
    put32(p + 4, std::uint32_t(v >> 32));
}

}  // namespace dorv::le
