#pragma once
// Draws one page of a page snapshot with QPainter, for the preview. Text is laid out
// with the same standard font metrics as the PDF and HTML renderers: a text is placed
// and stretched to the width those metrics give it, so every value sits where it sits
// on paper, whatever face the screen substitutes for "Arial".
#include "report/page.h"

class QPainter;

namespace qnvr {

// The page's artwork is painted once per resolution into a cached image and drawn
// under the page's own operations.
// Paints the page's operations at pixelsPerInch, from the painter's origin (the
// sheet's top-left corner). includeScreenOnly: the preview's own marks (label outlines).
void PaintPage(QPainter& painter, const report::Page& page, double pixelsPerInch, bool includeScreenOnly = true);

}  // namespace qnvr
