#pragma once

#include "checks/design.h"

#include <QImage>
#include <QString>

namespace tarvel::report {

// The seismic capacity of a case worked for the report: the plastic state whose moment is
// M_u,base, and its small figure (the stress block f_ck over the compressed segment, the
// neutral axis and the bolt forces in elevation).
struct PlasticWorking {
    bool made = false; // the seismic check was made
    QString text;      // the derivation, HTML
    QImage figure;     // empty when no state balances
};
PlasticWorking plasticWorking(const ComputedCase& outcome);

} // namespace tarvel::report
