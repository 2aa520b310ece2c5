#pragma once
// Icons the program draws itself with QPainter (navigator glyphs, tool bar pictures).
#include <QIcon>

#include <functional>

class QPainter;

namespace qnvr {

// A square icon of size by size points on a transparent ground, drawn by draw (with
// antialiasing) at one and at two device pixels per point, so that it is crisp on
// high-density screens too.
QIcon DrawnIcon(int size, const std::function<void(QPainter&)>& draw);

}  // namespace qnvr
