#pragma once
// The JSON of qnvr show: the W-3 record and every W-2 record of a payer file, with the
// records' own field names: texts as strings, amounts as numbers, flags as booleans.
#include <ostream>

#include "core/store/data_module.h"

namespace qnvr::cli {

// Writes {"w3": {...}, "w2": [...]} indented by two, followed by a line end. Each W-2
// record is written as it is read, so memory does not grow with the number of
// employees. The scrambled file password is left out.
void WriteShowJson(TFrmDataModule& data, std::ostream& out);

}  // namespace qnvr::cli
