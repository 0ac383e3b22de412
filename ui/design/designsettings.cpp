#include "design/designsettings.h"

#include "project/designinputs.h"
#include "settingsstore.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

using tarvel::DesignInputEntry;
using tarvel::InputKind;
using tarvel::InputPart;

// A remembered number in the entry's range, or nothing.
std::optional<double> number(const QSettings& settings, const DesignInputEntry& e) {
    bool ok = false;
    const double saved = settings.value(e.settingsKey).toDouble(&ok);
    if (ok && std::isfinite(saved) && saved >= e.low && saved <= e.high) return saved;
    return std::nullopt;
}

// Loads one input; a value missing, unknown or out of range leaves its default (an optional
// number: none). False when no valid value was remembered.
bool loadInput(const QSettings& settings, const DesignInputEntry& e, tarvel::DesignInput& in) {
    switch (e.kind) {
    case InputKind::choice: {
        const std::string saved = settings.value(e.settingsKey).toString().toStdString();
        const std::vector<std::string> names = e.choices();
        if (std::find(names.begin(), names.end(), saved) == names.end()) return false;
        e.set(in, saved);
        return true;
    }
    case InputKind::text: {
        const QString saved = settings.value(e.settingsKey).toString();
        if (saved.isEmpty()) return false;
        e.set(in, saved.toStdString());
        return true;
    }
    case InputKind::number:
    case InputKind::optionalNumber: {
        const std::optional<double> saved = number(settings, e);
        if (saved)
            e.set(in, *saved);
        else if (e.kind == InputKind::optionalNumber)
            e.set(in, std::monostate{});
        return saved.has_value();
    }
    case InputKind::flag:
    case InputKind::part:
        e.set(in, settings.value(e.settingsKey, std::get<bool>(e.get(in))).toBool());
        return true;
    }
    return true;
}

void saveInput(QSettings& settings, const DesignInputEntry& e, const tarvel::InputValue& value) {
    if (const double* x = std::get_if<double>(&value))
        settings.setValue(e.settingsKey, *x);
    else if (const std::string* s = std::get_if<std::string>(&value))
        settings.setValue(e.settingsKey, QString::fromStdString(*s));
    else if (const bool* b = std::get_if<bool>(&value))
        settings.setValue(e.settingsKey, *b);
    else
        settings.remove(e.settingsKey); // an optional input left unset
}

} // namespace

tarvel::DesignInput DesignSettings::load() {
    const QSettings settings(tarvel::settingsOrganisation, tarvel::settingsApplication);
    tarvel::DesignInput in;
    for (const DesignInputEntry& e : tarvel::designInputs()) {
        if (!e.settingsKey) continue;
        if (e.kind == InputKind::part) {
            loadInput(settings, e, in);
            continue;
        }
        // A part without a setting of its own (the seismic check) is on when its inputs
        // were remembered.
        if (!tarvel::partPresent(in, e.part)) {
            if (tarvel::partEntry(e.part).settingsKey) continue;
            tarvel::makePartPresent(in, e.part);
            if (!loadInput(settings, e, in)) tarvel::partEntry(e.part).set(in, false);
            continue;
        }
        loadInput(settings, e, in);
    }
    return in;
}

void DesignSettings::save(const tarvel::DesignInput& in) {
    QSettings settings(tarvel::settingsOrganisation, tarvel::settingsApplication);
    for (const DesignInputEntry& e : tarvel::designInputs()) {
        if (!e.settingsKey) continue;
        // A part that is off: its switch says so and its inputs are kept for when it is on
        // again, or, remembered by its inputs alone (the seismic check), they are removed.
        if (e.kind == InputKind::part || tarvel::partPresent(in, e.part))
            saveInput(settings, e, e.get(in));
        else if (!tarvel::partEntry(e.part).settingsKey)
            settings.remove(e.settingsKey);
    }
}
