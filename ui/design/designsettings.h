#pragma once

#include "project/designinputs.h"

// The design inputs of the last session, kept with QSettings under Tarvel/Tarvel.
class DesignSettings {
  public:
    // The ranges the window's spin boxes offer beyond the engine's own limits.
    static constexpr double maxShear = tarvel::maxShear;
    static constexpr double minFriction = tarvel::minTypedFriction;

    // What was saved; any value missing, unknown or out of range falls back to its default,
    // so a damaged settings file never reaches the checks.
    static tarvel::DesignInput load();
    static void save(const tarvel::DesignInput& input);
};
