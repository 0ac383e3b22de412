// The window under stress: a scripted session of many user actions on random inputs, each
// checked against the engine. After every Calculate the boxes hold exactly what
// tarvel::calculate writes into a TextSink (a box it does not write keeps its text), the one
// message box says what the engine says, the focus goes where a failure points, and no
// step crashes or takes long.
//
// The actions are the rows of a table (actions()): Calculate on drawn inputs, typing, opening
// and closing the design window, and exporting the report of the last calculation. The
// design window, open or not, must show the verdict of the engine's checks of the last
// calculation, or none after a refusal or a failure; a report is written exactly when there
// is a calculation to report.
//
// TARVEL_STRESS_STEPS sets the number of steps (default 500), TARVEL_STRESS_SEED the seed
// (default 12); a failure names the step and the seed that reproduce it.

#include "analysis/calculation.h"
#include "app/designlauncher.h"
#include "design/designwindow.h"
#include "checks/methods.h"
#include "form/kqform1.h"
#include "realistic_cases.h"
#include "report/reportactions.h"
#include "sweep_work.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>

namespace {

const QStringList inputBoxes{"pt", "mt", "d1t", "d2t", "nt"};

// Texts an engineer may type that are no number, or numbers the engine refuses.
const char* const oddTexts[] = {
    "",    "abc", "1e400",  "-",   ".", "1,5",  "1e",  " 12 ", "NaN",      "inf",  "0x10", "1 000",
    "+.5", "-0",  "1e-320", "101", "0", "1e36", "5e6", "١٢",   "１０００", "锚栓", "18.5", "2.5"};

// Whole cases that end in each of the ways a calculation ends.
const tarvel::InputTexts endings[] = {
    {"-1000", "0", "1520", "1620", "18"},    // full tension
    {"-8000", "1000", "1000", "1620", "18"}, // division by zero in the search
    {"1000", "1000", "1520", "1620", "101"}, // more than 100 bolts
    {"1000", "1000", "0", "1620", "18"},     // d = 0
    {"1e16", "1000", "1520", "1620", "18"},  // too many trials
    {"1e36", "0", "1", "1620", "18"},        // edge stress beyond a single
    {"1000", "0", "1520.3", "1620", "18"},   // strip outside the circle
    {"-1000", "1000", "1520", "1620", "0"},  // no trial kept
};

// Reference-loop work beyond which a drawn case is drawn again: the fast search does such
// a case in milliseconds, and the session stays short.
constexpr double workLimit = 5e7;

// Closes every message box as soon as it is shown, and keeps what it said.
class ModalWatcher {
  public:
    struct Box {
        QString text;
        QMessageBox::Icon icon;
    };
    void start() {
        boxes.clear();
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back({box->text(), box->icon()});
                box->accept();
            }
        });
        timer_.start();
    }
    void stop() {
        timer_.stop();
        timer_.disconnect();
    }
    std::vector<Box> boxes;

  private:
    QTimer timer_;
};

} // namespace

class WindowStress : public QObject {
    Q_OBJECT

    std::unique_ptr<Kqform1> window;
    DesignLauncher* launcher = nullptr;
    QTemporaryDir dir;
    std::optional<bool> verdict; // of the last calculation's checks; none after a failure
    std::mt19937_64 rng;
    int step = 0;
    qint64 slowest = 0;
    std::map<QString, int> tally; // how the calculations ended

    struct Action {
        const char* name;
        int weight;
        std::function<void()> run;
    };

    // The session's actions and how often each is drawn.
    std::vector<Action> actions() {
        return {
            {"calculate on new inputs", 6, [this] { setInputs(drawInputs()), calculate(); }},
            {"type into one box, calculate", 2, [this] { typeOneBox(), calculate(); }},
            {"calculate again", 1, [this] { calculate(); }},
            {"open the design window", 1, [this] { launcher->openDesignWindow(); }},
            {"close the design window", 1, [this] { launcher->designWindow()->close(); }},
            {"export the report", 1, [this] { exportReport(); }},
        };
    }

    template <typename T = QWidget> T* find(const QString& name) {
        T* w = window->findChild<T*>(name);
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }

    int pick(int n) { return static_cast<int>(rng() % n); }

    static bool quick(const tarvel::InputTexts& t) {
        try {
            return tarvel::sweepWork(tarvel::analyze(t)) <= workLimit;
        } catch (const tarvel::TarvelError&) {
            return true; // fails before the search
        }
    }

    tarvel::InputTexts drawInputs() {
        for (;;) {
            tarvel::InputTexts t;
            const int kind = pick(10);
            if (kind < 5)
                t = tarvel::realisticBase(rng);
            else if (kind < 7)
                t = tarvel::broadBase(rng);
            else if (kind < 9) {
                t = tarvel::realisticBase(rng);
                t[pick(5)] = oddTexts[pick(std::size(oddTexts))];
            } else {
                t = endings[pick(std::size(endings))];
            }
            if (quick(t)) return t;
        }
    }

    tarvel::InputTexts inputs() {
        tarvel::InputTexts t;
        for (int i = 0; i < 5; ++i)
            t[i] = find<QLineEdit>(inputBoxes[i])->text().toStdString();
        return t;
    }

    void setInputs(const tarvel::InputTexts& t) {
        for (int i = 0; i < 5; ++i)
            find<QLineEdit>(inputBoxes[i])->setText(QString::fromStdString(t[i]));
    }

    // Clears one box and types a new text into it.
    void typeOneBox() {
        tarvel::InputTexts typed;
        int i;
        do {
            i = pick(5);
            typed = inputs();
            typed[i] = drawInputs()[i];
        } while (!quick(typed));
        QLineEdit* box = find<QLineEdit>(inputBoxes[i]);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        // Key by key with the character as the key's text (keyClicks knows ASCII only).
        for (QChar ch : QString::fromStdString(typed[i]))
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QCOMPARE(box->text(), QString::fromStdString(typed[i]));
    }

    // One click on Calculate, checked against the engine on the same texts.
    void calculate() {
        const tarvel::InputTexts texts = inputs();
        std::map<tarvel::ResultBox, QString> expected;
        for (tarvel::ResultBox box : tarvel::allResultBoxes)
            expected[box] = find<QLineEdit>(tarvel::boxName(box))->text();
        tarvel::TextSink sink;
        std::optional<QString> message;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QLineEdit* focus = nullptr;
        try {
            if (tarvel::calculate(texts, sink) == tarvel::Outcome::Refused) {
                message = QString::fromUtf8(tarvel::fullTensionMessage);
                ++tally["refused"];
            } else {
                ++tally["done"];
            }
        } catch (const tarvel::TarvelError& e) {
            message = QString::fromUtf8(e.what());
            icon = QMessageBox::Warning;
            if (e.field() != tarvel::InputField::None)
                focus = find<QLineEdit>(inputBoxes[static_cast<int>(e.field()) - 1]);
            ++tally[tarvel::errorKindName(e.kind())];
        }
        for (tarvel::ResultBox box : sink.order())
            expected[box] = QString::fromStdString(sink.result()[box]);
        verdict.reset();
        if (!message) {
            // A base that cannot exist (no bolts, a fractional count) gets no verdict.
            try {
                // By the design window's method (the envelope unless another is chosen).
                const tarvel::ComputedCase c =
                    tarvel::computeCase(texts, launcher->designWindow()->currentDesign());
                if (c.status == tarvel::CaseStatus::Ok && c.hasChecks) verdict = c.checks.ok;
            } catch (const tarvel::TarvelError&) {
                verdict.reset();
            }
        }

        ModalWatcher modal;
        modal.start();
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        slowest = std::max(slowest, clock.elapsed());
        modal.stop();
        QVERIFY2(clock.elapsed() < 10000, "Calculate took more than 10 s");

        for (const auto& [box, text] : expected)
            QCOMPARE(find<QLineEdit>(tarvel::boxName(box))->text(), text);
        QCOMPARE(modal.boxes.size(), std::size_t(message ? 1 : 0));
        if (message) {
            QCOMPARE(modal.boxes[0].text, *message);
            QCOMPARE(modal.boxes[0].icon, icon);
        }
        if (focus) QCOMPARE(window->focusWidget(), focus);
    }

    // The report of the last calculation, as PDF or HTML: written when there is one, and
    // otherwise refused in a message box, with nothing written.
    void exportReport() {
        const QString path = dir.filePath(pick(2) ? "report.pdf" : "report.html");
        QFile::remove(path);
        ModalWatcher modal;
        modal.start();
        const bool written = launcher->formReports()->exportReportTo(path);
        modal.stop();
        QCOMPARE(written, verdict.has_value());
        QCOMPARE(QFile::exists(path), written);
        QCOMPARE(modal.boxes.size(), std::size_t(written ? 0 : 1));
        if (written) QVERIFY(QFile(path).size() > 1000);
    }

    // What must hold after every step, whatever the action.
    void checkWindow() {
        QVERIFY(window->isVisible());
        QVERIFY(!find("PBar")->isVisible());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        // The design window, shown or not, has the verdict of the last calculation or none.
        const QString shown = launcher->designWindow()->findChild<QLabel*>("verdictLabel")->text();
        QCOMPARE(shown, verdict ? QString(*verdict ? "满足" : "不满足") : QString());
    }

  private slots:
    void initTestCase() {
        QApplication::setApplicationName("Tarvel");
        QVERIFY(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        window = std::make_unique<Kqform1>();
        launcher = new DesignLauncher(window.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanupTestCase() { window.reset(); }

    void session() {
        const int steps = qEnvironmentVariableIsSet("TARVEL_STRESS_STEPS")
                              ? qEnvironmentVariableIntValue("TARVEL_STRESS_STEPS")
                              : 500;
        const unsigned seed = qEnvironmentVariableIsSet("TARVEL_STRESS_SEED")
                                  ? qEnvironmentVariableIntValue("TARVEL_STRESS_SEED")
                                  : 12;
        rng.seed(seed);
        const std::vector<Action> table = actions();
        int total = 0;
        for (const Action& a : table)
            total += a.weight;
        std::map<QString, int> done;
        for (step = 1; step <= steps; ++step) {
            int draw = pick(total);
            const Action* action = &table.front();
            for (const Action& a : table) {
                if (draw < a.weight) {
                    action = &a;
                    break;
                }
                draw -= a.weight;
            }
            action->run();
            checkWindow();
            if (QTest::currentTestFailed()) {
                qWarning(
                    "step %d of seed %u (%s) failed; inputs: %s", step, seed, action->name,
                    qPrintable(
                        QStringList({find<QLineEdit>("pt")->text(), find<QLineEdit>("mt")->text(),
                                     find<QLineEdit>("d1t")->text(), find<QLineEdit>("d2t")->text(),
                                     find<QLineEdit>("nt")->text()})
                            .join(" | ")));
                return;
            }
            ++done[action->name];
        }
        QString summary;
        for (const auto& [name, count] : done)
            summary += QString("%1 x %2; ").arg(name).arg(count);
        for (const auto& [how, count] : tally)
            summary += QString("%1: %2; ").arg(how).arg(count);
        qInfo("%d steps, seed %u: %s slowest Calculate %lld ms", steps, seed, qPrintable(summary),
              static_cast<long long>(slowest));
    }
};

QTEST_MAIN(WindowStress)
#include "kqform1_stress_test.moc"
