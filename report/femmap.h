#pragma once

// The plate finite-element method's two maps: the contact pressure under the plate and the
// plate's von Mises stress, each over the plan (plate, bearing edge, tube, stiffeners, bolts
// with their forces, hole) with a colour scale in N/mm². Painted with QPainter, so that the
// window draws them on screen and the report as vectors in its PDF.

#include "analysis/fem/basefem.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace tarvel::report {

enum class FemMapKind { Pressure, VonMises };

// The proportions of one map with its title and scale (width ÷ height), and of the pair side
// by side.
inline constexpr double femMapAspect = 1.2;
inline constexpr double femMapsAspect = 2 * femMapAspect;

// What the map's title says: 接触压力 or 底板折算应力, with its largest value.
QString femMapTitle(const fem::FemSolution& solution, FemMapKind kind);

// One map into `target` (centred, keeping its proportions).
void drawFemMap(QPainter& painter, const QRectF& target, const fem::FemSolution& solution,
                FemMapKind kind);
// Both maps side by side, the pressure first.
void drawFemMaps(QPainter& painter, const QRectF& target, const fem::FemSolution& solution);

} // namespace tarvel::report
