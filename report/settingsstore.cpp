#include "settingsstore.h"

#include <QCoreApplication>
#include <QSettings>

namespace tarvel {

namespace {

// The organisation Qt names a store after when the program set none.
constexpr const char* unnamedOrganisation = "Unknown Organization";
// Set in the store once the unnamed store has been carried over.
constexpr const char* carriedOverKey = "settings/unnamedStoreCarriedOver";

} // namespace

void setProgramIdentity() {
    QCoreApplication::setOrganizationName(QString::fromUtf8(settingsOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(settingsApplication));
}

int carryOverUnnamedStore() {
    QSettings store(settingsOrganisation, settingsApplication);
    if (store.value(carriedOverKey).toBool()) return 0;
    const QSettings old(unnamedOrganisation, settingsApplication);
    int carried = 0;
    for (const QString& key : old.allKeys()) {
        if (store.contains(key)) continue;
        store.setValue(key, old.value(key));
        ++carried;
    }
    store.setValue(carriedOverKey, true);
    return carried;
}

} // namespace tarvel
