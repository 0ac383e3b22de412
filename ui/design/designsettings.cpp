#include "design/designsettings.h"

#include "analysis/compatibility.h"
#include "checks/methods.h"
#include "checks/plasticbase.h"
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
    tarvel::AnalysisMethod method = defaults.method;
    if (tarvel::methodFromName(settings.value("design/method").toString().toStdString(), method))
        in.method = method;
    const double ratio = number(settings, "design/modularRatio", tarvel::minModularRatio,
                                tarvel::maxModularRatio, 0);
    if (ratio > 0) in.modularRatio = ratio;
    const double pedestal = number(settings, "design/pedestal", 1, tarvel::maxPedestal, 0);
    if (pedestal > 0) in.pedestal = pedestal;
    in.plateHole = number(settings, "design/plateHole", 0, tarvel::maxPedestal, 0);
    const double etaJ = number(settings, "design/etaJ", tarvel::minEtaJ, tarvel::maxEtaJ, 0);
    if (etaJ > 0) in.seismic = tarvel::DesignInput::Seismic{etaJ};
    if (settings.value("detailing/on").toBool()) {
        const tarvel::DetailingInput d;
        tarvel::DetailingInput t;
        auto textOf = [&](const char* key, const std::string& fallback) {
            const QString saved = settings.value(key).toString();
            return saved.isEmpty() ? fallback : saved.toStdString();
        };
        t.tube = textOf("detailing/tube", "");
        t.tubeSteel = choice(settings, "detailing/tubeSteel", tarvel::plateSteels(), d.tubeSteel);
        t.plate = number(settings, "detailing/plate", 1, tarvel::maxPlateThickness, d.plate);
        t.plateSteel =
            choice(settings, "detailing/plateSteel", tarvel::plateSteels(), d.plateSteel);
        t.stiffener = textOf("detailing/stiffener", d.stiffener);
        t.cap = textOf("detailing/cap", d.cap);
        t.weld = number(settings, "detailing/weld", 1, tarvel::maxPlateThickness, d.weld);
        t.stiffenerWeld = number(settings, "detailing/stiffenerWeld", 1, tarvel::maxPlateThickness,
                                 d.stiffenerWeld);
        t.electrode = choice(settings, "detailing/electrode", tarvel::electrodes(), d.electrode);
        t.anchorage = number(settings, "detailing/anchorage", 1, 1e4, d.anchorage);
        t.shearKey = textOf("detailing/shearKey", d.shearKey);
        t.grout = number(settings, "detailing/grout", 0, 1000, d.grout);
        t.shearKeyWeld = number(settings, "detailing/shearKeyWeld", 1, tarvel::maxPlateThickness,
                                d.shearKeyWeld);
        t.infill = settings.value("detailing/infill", d.infill).toBool();
        t.fullPenetration = settings.value("detailing/fullWeld", d.fullPenetration).toBool();
        in.detailing = t;
    }
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
    settings.setValue("design/method", QString::fromUtf8(tarvel::methodName(in.method)));
    if (in.modularRatio)
        settings.setValue("design/modularRatio", *in.modularRatio);
    else
        settings.remove("design/modularRatio");
    settings.setValue("design/plateHole", in.plateHole);
    if (in.pedestal)
        settings.setValue("design/pedestal", *in.pedestal);
    else
        settings.remove("design/pedestal");
    if (in.seismic)
        settings.setValue("design/etaJ", in.seismic->etaJ);
    else
        settings.remove("design/etaJ");
    settings.setValue("detailing/on", in.detailing.has_value());
    if (const auto& t = in.detailing) {
        settings.setValue("detailing/tube", QString::fromStdString(t->tube));
        settings.setValue("detailing/tubeSteel", QString::fromStdString(t->tubeSteel));
        settings.setValue("detailing/plate", t->plate);
        settings.setValue("detailing/plateSteel", QString::fromStdString(t->plateSteel));
        settings.setValue("detailing/stiffener", QString::fromStdString(t->stiffener));
        settings.setValue("detailing/cap", QString::fromStdString(t->cap));
        settings.setValue("detailing/weld", t->weld);
        settings.setValue("detailing/infill", t->infill);
        settings.setValue("detailing/fullWeld", t->fullPenetration);
        settings.setValue("detailing/stiffenerWeld", t->stiffenerWeld);
        settings.setValue("detailing/electrode", QString::fromStdString(t->electrode));
        settings.setValue("detailing/anchorage", t->anchorage);
        settings.setValue("detailing/shearKey", QString::fromStdString(t->shearKey));
        settings.setValue("detailing/grout", t->grout);
        settings.setValue("detailing/shearKeyWeld", t->shearKeyWeld);
    }
}
