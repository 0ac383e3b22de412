#include "designsettings.h"

#include "settingsstore.h"

#include <QSettings>

#include <cmath>

namespace {

template <class Row>
std::string choice(const QSettings& settings, const char* key, const std::vector<Row>& rows,
                   const std::string& fallback) {
    const std::string saved = settings.value(key).toString().toStdString();
    for (const Row& row : rows)
        if (saved == row.name) return saved;
    return fallback;
}

double number(const QSettings& settings, const char* key, double low, double high,
              double fallback) {
    bool ok = false;
    const double saved = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(saved) && saved >= low && saved <= high ? saved : fallback;
}

} // namespace

tarvel::DesignInput DesignSettings::load() {
    const QSettings settings(tarvel::settingsOrganisation, tarvel::settingsApplication);
    const tarvel::DesignInput defaults;
    tarvel::DesignInput in;
    in.bolt = choice(settings, "design/bolt", tarvel::boltSizes(), defaults.bolt);
    in.steel = choice(settings, "design/steel", tarvel::steelGrades(), defaults.steel);
    in.concrete = choice(settings, "design/concrete", tarvel::concreteGrades(), defaults.concrete);
    in.betaL = number(settings, "design/betaL", tarvel::minBetaL, tarvel::maxBetaL, defaults.betaL);
    in.V = number(settings, "design/V", -DesignSettings::maxShear, DesignSettings::maxShear,
                  defaults.V);
    in.friction = number(settings, "design/friction", DesignSettings::minFriction,
                         tarvel::maxFriction, defaults.friction);
    return in;
}

void DesignSettings::save(const tarvel::DesignInput& in) {
    QSettings settings(tarvel::settingsOrganisation, tarvel::settingsApplication);
    settings.setValue("design/bolt", QString::fromStdString(in.bolt));
    settings.setValue("design/steel", QString::fromStdString(in.steel));
    settings.setValue("design/concrete", QString::fromStdString(in.concrete));
    settings.setValue("design/betaL", in.betaL);
    settings.setValue("design/V", in.V);
    settings.setValue("design/friction", in.friction);
}
