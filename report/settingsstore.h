#pragma once

#include <QString>

namespace tarvel {

// Every setting of the programs (design inputs, recent files, the report's title block and
// export folder) lives in one store, Tarvel/Tarvel. Open it as
// QSettings settings(settingsOrganisation, settingsApplication).
inline constexpr const char* settingsOrganisation = "Tarvel";
inline constexpr const char* settingsApplication = "Tarvel";

// Names the running program Tarvel/Tarvel (organisation and application), once in main.
void setProgramIdentity();

// Earlier versions kept the title block and the export folder in a store of their own, under
// Qt's "Unknown Organization". Its values are carried into the one store once: a key the
// store already holds keeps its value, and later runs copy nothing. Returns how many values
// were carried over.
int carryOverUnnamedStore();

} // namespace tarvel
