#pragma once
// The school data holds UTF-8 std::strings; every form shows them as QString.

#include <QString>

#include <string_view>

namespace dorv {

inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace dorv
