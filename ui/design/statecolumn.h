#pragma once

#include "analysis/compatibility.h"

#include <QString>

#include <array>

class QGridLayout;
class QLabel;

// A column of the check panel's comparison grid beside the exact equilibrium: its bold head,
// its six value labels (σmax, T, C, F, ΣN, ΣM) and a state's figures in them.
using StateLabels = std::array<QLabel*, 6>;

QLabel* addStateHead(QGridLayout* grid, int column, const QString& title, const char* objectName);
// `prefix` names the labels: prefix + "Qmax", "T", "C", "F", "Force", "Moment".
StateLabels addStateValues(QGridLayout* grid, int column, const char* prefix);
// From the engine's N and N·mm to the kN and kN·m of the other columns.
void showState(const StateLabels& labels, const tarvel::CompatibilityState& s);
