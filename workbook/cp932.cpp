#include "workbook/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <stdexcept>

#include "workbook/utf16.h"

namespace dorv::cp932 {
namespace {

// iconv descriptors are not thread-safe; one pair guarded by a mutex is enough
// for the few conversions the program does.
struct Converters {
    iconv_t toUtf8 = iconv_open("UTF-8", "CP932");
    iconv_t fromUtf8 = iconv_open("CP932", "UTF-8");
    std::mutex lock;
    Converters() {
        if (toUtf8 == reinterpret_cast<iconv_t>(-1) || fromUtf8 == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("CP932 の文字コード変換が使えません");
    }
};

Converters &converters() {
    static Converters c;
    return c;
}

const std::string kReplacement = "\xEF\xBF\xBD";    // U+FFFD
const std::string kFullWidthQuestion = "\x81\x48";  // ？ in CP932

// Length of the valid UTF-8 character at the start of `s`, or 0.
std::size_t validCharLen(std::string_view s) {
    char32_t c = 0;
    return utf16::decodeUtf8(s, c);
}

// Converts one UTF-8 character; empty result when CP932 has no such character.
std::string encodeChar(std::string_view ch) {
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x80) return std::string(ch);
    auto &c = converters();
    std::lock_guard guard(c.lock);
    char in[8];
    char out[8];
    ch.copy(in, ch.size());
    char *ip = in;
    char *op = out;
    std::size_t il = ch.size();
    std::size_t ol = sizeof out;
    iconv(c.fromUtf8, nullptr, nullptr, nullptr, nullptr);
    if (iconv(c.fromUtf8, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || il != 0) return {};
    return std::string(out, static_cast<std::size_t>(op - out));
}

}  // namespace

std::vector<std::string_view> chars(std::string_view utf8) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t n = validCharLen(utf8.substr(i));
        if (n == 0) n = 1;
        out.push_back(utf8.substr(i, n));
        i += n;
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = validCharLen(bytes.substr(i));
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string toUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size() * 3 / 2);
    std::size_t i = 0;
    auto &c = converters();
    std::lock_guard guard(c.lock);
    while (i < in.size()) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const std::size_t n = (lead && i + 1 < in.size()) ? 2 : 1;
        char src[2] = {in[i], n == 2 ? in[i + 1] : '\0'};
        char dst[8];
        char *ip = src;
        char *op = dst;
        std::size_t il = n;
        std::size_t ol = sizeof dst;
        iconv(c.toUtf8, nullptr, nullptr, nullptr, nullptr);
        if (iconv(c.toUtf8, &ip, &il, &op, &ol) != static_cast<std::size_t>(-1) && il == 0) {
            out.append(dst, static_cast<std::size_t>(op - dst));
        } else {
            out += kReplacement;
        }
        i += n;
    }
    return out;
}

std::string fromUtf8(std::string_view utf8, bool *lossless) {
    std::string out;
    out.reserve(utf8.size());
    bool ok = true;
    for (auto ch : chars(utf8)) {
        if (validCharLen(ch) == 0) {
            ok = false;
            out += kFullWidthQuestion;
            continue;
        }
        std::string enc = encodeChar(ch);
        if (enc.empty()) {
            ok = false;
            out += kFullWidthQuestion;
        } else {
            out += enc;
        }
    }
    if (lossless) *lossless = ok;
    return out;
}

std::size_t charWidth(std::string_view ch) {
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x80) return 1;
    if (validCharLen(ch) == 0) return 2;
    const std::string enc = encodeChar(ch);
    return enc.size() == 1 ? 1 : 2;
}

std::size_t width(std::string_view utf8) {
    std::size_t w = 0;
    for (auto ch : chars(utf8)) w += charWidth(ch);
    return w;
}

std::string cut(std::string_view utf8, std::size_t maxBytes) {
    std::size_t w = 0;
    std::size_t end = 0;
    for (auto ch : chars(utf8)) {
        const std::size_t cw = charWidth(ch);
        if (w + cw > maxBytes) break;
        w += cw;
        end = static_cast<std::size_t>(ch.data() + ch.size() - utf8.data());
    }
    return std::string(utf8.substr(0, end));
}

}  // namespace dorv::cp932
