#pragma once

// The window's four pictures, drawn as vector shapes so they stay sharp at any scale.

#include <QIcon>

class QPainter;
class QRectF;

namespace hexorin {

// Paints a picture centred in the given area, as large as fits.
using Picture = void (*)(QPainter& painter, const QRectF& area);

void paintWindowIcon(QPainter& painter, const QRectF& area); // white cross on a blue disc
void paintStartSign(QPainter& painter, const QRectF& area);  // yellow diamond, black arrow up
void paintStopSign(QPainter& painter, const QRectF& area);   // red octagon
void paintDownArrow(QPainter& painter, const QRectF& area);  // blue arrow pointing down

// The window icon at every size the platform asks for.
QIcon makeWindowIcon();

} // namespace hexorin
