// A text on one line of a dump: backslash, tab, carriage return and line
// feed written as \\, \t, \r and \n.
#pragma once

#include <string>

namespace dorv::testing {

inline std::string OneLine(const std::string &s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace dorv::testing
