#pragma once
// The program's icon, drawn rather than shipped: a teal form sheet marked "W-2".
#include <QIcon>
#include <QPixmap>

namespace qnvr {

QPixmap ProductPixmap(int size);
QIcon ProductIcon();

}  // namespace qnvr
