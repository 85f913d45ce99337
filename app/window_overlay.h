#pragma once

#include <QLineF>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QString>

namespace kaldra {

// What the window paints over the canvas image, never into it, so that the
// canvas holds exactly the diagram whatever is shown on top.

// A box at the top right naming each family of curves with its colours, in
// words as well, since several colours are shared by two families.
void PaintLegend(QPainter& painter, const QRect& client);

// The two segments of the pair being traced, under a wide translucent band
// that leaves them and the curves near them visible.
void PaintPairHighlight(QPainter& painter, const QLineF& first, const QLineF& second);

// One line of text in a box at the bottom left: the pace, the pair, pausing.
void PaintStatus(QPainter& painter, const QRect& client, const QString& text);

// A short note in a box next to `at` (the cursor), kept inside the client
// area: why an edit was refused.
void PaintNote(QPainter& painter, const QRect& client, QPointF at, const QString& text);

}  // namespace kaldra
