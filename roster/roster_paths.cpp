#include "roster/roster_paths.h"

#include "schooldata/settings.h"

namespace dorv {

std::string TemplatePath() { return DataFolderPath() + std::string(TemplateFileName); }
std::string HinagataPath() { return DataFolderPath() + std::string(HinagataFileName); }
std::string MeiboPathOf(int grade) { return GradeFilePath(grade, MeiboFileName); }
std::string CreationLockPath() { return DataFolderPath() + std::string(CreationLockFileName); }

}  // namespace dorv
