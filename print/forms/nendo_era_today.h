// The era text of the current school year, "today" taken from the desktop
// services (tests set it there).
#pragma once

#include "desktop/services.h"
#include "print/stats/nendo_era.h"

#include <QDate>

namespace dorv {

inline std::string NendoEraText() {
    const QDate today = Services().today();
    return NendoEraText(std::chrono::year{today.year()} / std::chrono::month{static_cast<unsigned>(today.month())} /
                        std::chrono::day{static_cast<unsigned>(today.day())});
}

}  // namespace dorv
