// Where the roster program's files lie in the data folder.
#pragma once

#include <string>
#include <string_view>

namespace dorv {

inline constexpr std::string_view TemplateFileName = "雛形-名簿.xls";
inline constexpr std::string_view HinagataFileName = "Hinagata.xls";
inline constexpr std::string_view MeiboFileName = "名簿.xls";
// Held by a roster creation while it runs, and removed after it.
inline constexpr std::string_view CreationLockFileName = ".Hinagata.lock";

std::string TemplatePath();          // data folder + "雛形-名簿.xls"
std::string HinagataPath();          // data folder + "Hinagata.xls"
std::string MeiboPathOf(int grade);  // grade folder + "名簿.xls"
std::string CreationLockPath();      // data folder + ".Hinagata.lock"

}  // namespace dorv
