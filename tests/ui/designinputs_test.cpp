// Every design input through the command's options, the project file and the window's
// remembered settings: each of them walks the one list, so an input that one of them drops or
// mixes up with another shows here.

#include "command.h"
#include "design/designsettings.h"
#include "options.h"
#include "project/designinputs.h"
#include "project/project.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <set>
#include <string>
#include <vector>

namespace {

// One input given on the command line, with the options it goes with, at a value other than
// its default that the checks of a project file take on the base 1520 1620 18.
struct InputRow {
    const char* name;
    std::vector<const char*> args; // the input's option first
};

const InputRow rows[] = {
    {"bolt", {"--bolt", "M30"}},
    {"steel", {"--steel", "Q235"}},
    {"concrete", {"--concrete", "C40"}},
    {"betaL", {"--beta-l", "1.5"}},
    {"friction", {"--friction", "0.3"}},
    {"V", {"--shear", "-120"}},
    {"tube", {"--tube", "820x12"}},
    {"tubeSteel", {"--tube-steel", "Q235", "--tube", "1020x16"}},
    {"plate", {"--plate", "36", "--tube", "1020x16"}},
    {"plateSteel", {"--plate-steel", "Q390", "--tube", "1020x16"}},
    {"stiffener", {"--stiffener", "16x300", "--tube", "1020x16"}},
    {"cap", {"--cap", "25x200", "--tube", "1020x16"}},
    {"weld", {"--weld", "14", "--tube", "1020x16"}},
    {"stiffenerWeld", {"--stiffener-weld", "8", "--tube", "1020x16"}},
    {"electrode", {"--electrode", "E55", "--tube", "1020x16"}},
    {"anchorage", {"--anchorage", "1200", "--tube", "1020x16"}},
    {"plateHole", {"--plate-hole", "400", "--tube", "1020x16"}},
    {"infill", {"--infill", "--tube", "1020x16"}},
    {"weld full", {"--weld", "full", "--tube", "1020x16"}},
    {"shearKey", {"--shear-key", "300x200x30", "--tube", "1020x16"}},
    {"grout", {"--grout", "40", "--shear-key", "300x200x30", "--tube", "1020x16"}},
    {"shearKeyWeld", {"--shear-key-weld", "12", "--shear-key", "300x200x30", "--tube", "1020x16"}},
    {"method", {"--method", "compatibility"}},
    {"modularRatio", {"--modular-ratio", "8"}},
    {"pedestal", {"--pedestal", "2400"}},
    {"femDepth", {"--fem-depth", "500", "--method", "fem", "--tube", "1020x16"}},
    {"femMesh", {"--fem-mesh", "20", "--method", "fem", "--tube", "1020x16"}},
    {"seismic", {"--seismic", "--tube", "1020x16"}},
    {"etaJ", {"--eta-j", "1.3", "--seismic", "--tube", "1020x16"}},
};

tarvel::DesignInput parse(const InputRow& row) {
    std::vector<std::string_view> args(row.args.begin(), row.args.end());
    for (const char* text : {"1000", "1000", "1520", "1620", "18"})
        args.emplace_back(text);
    return tarvel::cli::parseOptions(args).design;
}

// The inputs of the row's option that it sets away from their defaults.
std::vector<const tarvel::DesignInputEntry*> changed(const InputRow& row,
                                                     const tarvel::DesignInput& design) {
    std::vector<const tarvel::DesignInputEntry*> out;
    for (const tarvel::DesignInputEntry* e : tarvel::designInputsOfOption(row.args.front()))
        if (tarvel::partPresent(design, e->part) && e->get(design) != tarvel::defaultValue(*e))
            out.push_back(e);
    return out;
}

} // namespace

class DesignInputsTest : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir;

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    }

    void roundTrips_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < static_cast<int>(std::size(rows)); ++i)
            QTest::newRow(rows[i].name) << i;
    }

    void roundTrips() {
        QFETCH(int, row);
        const tarvel::DesignInput design = parse(rows[row]);
        const auto inputs = changed(rows[row], design);
        QVERIFY2(!inputs.empty(), "the option leaves every input of its own at the default");

        tarvel::Project project;
        project.design = design;
        project.loads.push_back({"a", "1000", "1000", ""});
        const tarvel::Project read = tarvel::parseProject(tarvel::serializeProject(project));
        QVERIFY(read.design == design);

        QSettings("Tarvel", "Tarvel").clear();
        DesignSettings::save(design);
        const tarvel::DesignInput remembered = DesignSettings::load();
        for (const tarvel::DesignInputEntry* e : inputs) {
            if (!e->settingsKey) continue;
            QVERIFY(tarvel::partPresent(remembered, e->part));
            QVERIFY2(e->get(remembered) == e->get(design), e->settingsKey);
        }
    }

    // An input added to the list without a row here would go untested.
    void everyOptionHasARow() {
        std::set<const tarvel::DesignInputEntry*> covered;
        for (const InputRow& row : rows)
            for (const tarvel::DesignInputEntry* e : changed(row, parse(row)))
                covered.insert(e);
        for (const tarvel::DesignInputEntry& e : tarvel::designInputs())
            if (e.option) QVERIFY2(covered.count(&e), e.option);
    }

    // An option the usage does not name is one nobody finds (a usage block left out).
    void usageNamesEveryOption() {
        const std::string& usage = tarvel::cli::usage();
        for (const tarvel::DesignInputEntry& e : tarvel::designInputs())
            if (e.option)
                QVERIFY2(usage.find(std::string("  ") + e.option + ' ') != std::string::npos,
                         e.option);
    }
};

QTEST_MAIN(DesignInputsTest)
#include "designinputs_test.moc"
