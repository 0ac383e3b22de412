#pragma once

#include "analysis/calculation.h"
#include "analysis/results.h"
#include "checks/design.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;

namespace tarvel::report {

// One anchor bolt of the plan: its place (mm, from the column axis; x towards the compressed
// edge, y up) and its force from the kept T.
struct DiagramBolt {
    int number = 0;
    double x = 0, y = 0;
    double force = 0; // kN; 0 for a bolt not beyond the neutral axis
};

// What the result diagram shows, in engine units, with the texts the window shows.
struct DiagramData {
    double d = 0, D = 0;             // mm
    int n = 0;                       // bolts
    double x = 0;                    // compression length, mm
    double sigmaMax = 0;             // N/mm², number of the edge-stress text
    double T = 0;                    // kN, number of the bolt-tension text
    QString xText, sigmaText, tText; // "904.", "3.20", "112.00"
    std::vector<DiagramBolt> bolts;  // bolts 1 to n
    double hole = 0;                 // mm, the plate's central hole (0: none)

    // The neutral axis, mm from the column axis (negative: towards the bolts in tension).
    double neutralAxis() const { return d / 2 - x; }
    bool fullCompression() const { return x >= d; }
};

// The data of a finished calculation: the bolt places of the layout and the force in every
// bolt for the kept T (boltForces).
DiagramData makeDiagramData(const Analysis& analysis, const BaseResult& result);
// The same for a case of any method: the compatibility method's own x and bolt forces.
DiagramData makeDiagramData(const Analysis& analysis, const ComputedCase& outcome);
// The same with the plate's central hole of the design drawn.
DiagramData makeDiagramData(const Analysis& analysis, const ComputedCase& outcome,
                            const DesignInput& design);

// The diagram's own proportions: width ÷ height.
inline constexpr double diagramAspect = 1000.0 / 900.0;

// Paints the diagram as vectors into `target` (centred, keeping its proportions).
void drawResultDiagram(QPainter& painter, const QRectF& target, const DiagramData& data);

// The same drawing as a self-contained SVG document (no Qt Svg), for the HTML report.
// `width` and `height` are written as the element's size (CSS lengths, such as "160mm").
QString resultDiagramSvg(const DiagramData& data, const QString& width = QStringLiteral("100%"),
                         const QString& height = QString());

} // namespace tarvel::report
