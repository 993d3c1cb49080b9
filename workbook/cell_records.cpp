#include "workbook/cell_records.h"

#include "workbook/biff_text.h"

namespace dorv::biff {

std::u16string CellRecord::unicodeText() const { return biff8StringUnits(p_, size_, layout_->textAt); }

}  // namespace dorv::biff
