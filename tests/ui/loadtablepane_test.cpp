// The load-combination table and project files of the design window as an engineer uses
// them: pasting from spreadsheets, importing and exporting CSV, undo, 全部计算 against the
// engine row by row, the governing cases, the case sent to the form, and projects saved,
// reopened, refused when bad, and never damaged by a failed save.

#include "app/designlauncher.h"
#include "checks/methods.h"
#include "design/checkpanel.h"
#include "design/designwindow.h"
#include "form/kqform1.h"
#include "loads/csv.h"
#include "loads/loadtable.h"
#include "loads/loadtablepane.h"
#include "project/projectcontroller.h"
#include "project/projectdocument.h"
#include "qt_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(std::string)

namespace {

using Loads = std::vector<tarvel::ProjectLoad>;

// Rows of the batch cancelled after its 20th case. Its one worker still has hundreds of
// milliseconds of cases ahead when the window sees that progress: with 400 rows on all cores,
// a loaded machine could end the batch before the cancel reached it.
constexpr int cancelledBatchRows = 2000;

// "name|P|M|V" per row.
QStringList rowsOf(const Loads& loads) {
    QStringList out;
    for (const tarvel::ProjectLoad& l : loads)
        out << QString::fromStdString(l.name + "|" + l.P + "|" + l.M + "|" + l.V);
    return out;
}

Loads loadsOf(const QStringList& rows) {
    Loads out;
    for (const QString& row : rows) {
        const QStringList f = row.split('|');
        out.push_back(
            {f[0].toStdString(), f[1].toStdString(), f[2].toStdString(), f[3].toStdString()});
    }
    return out;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class LoadTableTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    std::unique_ptr<QTemporaryDir> files;
    std::unique_ptr<Kqform1> form;
    DesignLauncher* launcher = nullptr;

    DesignWindow* window() { return launcher->designWindow(); }
    LoadTablePane* pane() { return window()->loadTable(); }
    LoadTableModel* model() { return pane()->model(); }
    QString file(const QString& name) { return files->filePath(name); }

    void setLoads(const QStringList& rows) {
        tarvel::Project p = window()->project();
        p.loads = loadsOf(rows);
        window()->showProject(p);
    }
    QString cell(int row, int column) {
        return model()->data(model()->index(row, column), Qt::DisplayRole).toString();
    }
    bool runAll() {
        QSignalSpy done(pane(), &LoadTablePane::batchFinished);
        if (!pane()->computeAll()) return false;
        return done.wait(60000);
    }
    tarvel::Project sampleProject() {
        tarvel::Project p;
        p.info = {"某厂房", "GZ-1", "张工", "李工"};
        p.d = "1520";
        p.D = "1620";
        p.n = "18";
        p.design.bolt = "M42";
        p.design.steel = "Q390";
        p.design.concrete = "C40";
        p.design.betaL = 1.5;
        p.design.friction = 0.55;
        p.design.V = 2000;
        p.loads = loadsOf({"1.3G+1.5Q|1000|1000|0", "1.0G+1.5W|-500|200|", "地震|5000|5000|800"});
        return p;
    }

  private slots:
    void initTestCase() {
        QApplication::setApplicationName("Tarvel");
        QVERIFY(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    }

    void init() {
        QSettings("Tarvel", "Tarvel").clear();
        // The expected figures were worked on the elastic method's texts.
        QSettings("Tarvel", "Tarvel").setValue("design/method", "elastic");
        files = std::make_unique<QTemporaryDir>();
        form = std::make_unique<Kqform1>();
        launcher = new DesignLauncher(form.get());
        form->show();
        launcher->openDesignWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        window()->findChild<QTabWidget*>("tabs")->setCurrentWidget(pane());
        window()->projects()->newProject();
    }

    void cleanup() {
        pane()->cancel();
        pane()->runner()->wait();
        window()->document()->setModified(false); // no question when the window goes
        form.reset();
    }

    // Blocks as spreadsheets copy and save them, onto an empty table of base 1520/1620/18.
    void pasteShapes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("geometry"); // d|D|n after the paste
        const QString base = "1520|1620|18";
        QTest::newRow("Excel TSV, header with units, CRLF")
            << QByteArray("名称\tP (kN)\tM (kN·m)\tV (kN)\r\n1.3G+1.5Q\t1000\t1000\t50\r\n"
                          "G\t800\t300\t\r\n")
            << QStringList{"1.3G+1.5Q|1000|1000|50", "G|800|300|"} << base;
        QTest::newRow("TSV without header, P and M")
            << QByteArray("1000\t1000\r\n2000\t-500\r\n")
            << QStringList{"|1000|1000|", "|2000|-500|"} << base;
        QTest::newRow("TSV with empty spreadsheet rows")
            << QByteArray("1000\t1000\r\n\t\r\n2000\t500\r\n")
            << QStringList{"|1000|1000|", "|2000|500|"} << base;
        QTest::newRow("tarvel-calc CSV with name and V, new base")
            << QByteArray("name,P,M,d,D,n,V\n\"A, left\",1000,1000,2000,2100,20,10\n"
                          "B,500,50,2000,2100,20,\n")
            << QStringList{"A, left|1000|1000|10", "B|500|50|"} << "2000|2100|20";
        QTest::newRow("plain P,M,d,D,n rows")
            << QByteArray("1000,1000,1520,1620,18\n3000,2000,1520,1620,18\n")
            << QStringList{"|1000|1000|", "|3000|2000|"} << base;
        QTest::newRow("tarvel-calc output pasted back: extra columns ignored")
            << QByteArray("P,M,d,D,n,status,xt\n1000,1000,1520,1620,18,ok,904.\n")
            << QStringList{"|1000|1000|"} << base;
        QTest::newRow("GB18030 names")
            << QByteArray("\xC3\xFB\xB3\xC6,P,M,V\n\xD7\xE9\xBA\xCF\xD2\xBB,1000,1000,0\n")
            << QStringList{"组合一|1000|1000|0"} << base;
        QTest::newRow("UTF-8 byte-order mark")
            << QByteArray("\xEF\xBB\xBFP,M\n1000,1000\n") << QStringList{"|1000|1000|"} << base;
        QTest::newRow("name, P, M without header")
            << QByteArray("风荷载,100,200\n") << QStringList{"风荷载|100|200|"} << base;
        QTest::newRow("texts kept as typed")
            << QByteArray(" 1e3 ,.5,9\n") << QStringList{"| 1e3 |.5|9"} << base;
    }

    void pasteShapes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QString, geometry);
        QApplication::clipboard()->setText(QString::fromUtf8(
            tarvel::decodeSpreadsheetText(std::string_view(bytes.constData(), bytes.size()))));
        // The clipboard holds text; the raw bytes go through the same reader as a file.
        QString error;
        QVERIFY2(
            pane()->addBlock(std::string_view(bytes.constData(), bytes.size()), "粘贴", &error),
            qPrintable(error));
        QCOMPARE(rowsOf(model()->loads()), rows);
        const Geometry g = pane()->geometry();
        QCOMPARE(QString::fromStdString(g[0] + "|" + g[1] + "|" + g[2]), geometry);
        // Through the clipboard as a user pastes with Ctrl+V: the same rows once more.
        pane()->view()->setFocus();
        pane()->view()->clearSelection();
        QTest::keyClick(pane()->view(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(model()->rowCount(), 2 * rows.size());
        QCOMPARE(rowsOf(model()->loads()).mid(rows.size()), rows);
        QVERIFY(window()->isWindowModified());
    }

    // Exports of analysis programs (axial force tension positive) give, by import and by
    // paste, the loads of the P, M, V table an engineer would type; each row tells how its
    // P, M and V were made, and the line under the buttons what was made of the columns.
    void exportsReadAsTheirEquivalent_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("paste");
        QTest::newRow("GB18030 with a title row, imported") << "gb18030-title-crlf.csv" << false;
        QTest::newRow("GB18030 with a title row, pasted") << "gb18030-title-crlf.csv" << true;
        QTest::newRow("N and N·mm, byte-order mark, tabs, imported")
            << "bom-tabs-newtons.tsv" << false;
    }

    void exportsReadAsTheirEquivalent() {
        QFETCH(QString, name);
        QFETCH(bool, paste);
        const QString data = QString(TARVEL_TEST_DATA) + "/exports/";
        QString error;
        QVERIFY2(pane()->importCsv(data + "equivalent-pmv.csv", &error), qPrintable(error));
        const QStringList expected = rowsOf(model()->loads());
        window()->document()->setModified(false); // no question when the project goes
        window()->projects()->newProject();
        auto* tension = pane()->findChild<QCheckBox*>("tensionPositiveBox");
        QVERIFY(tension);
        tension->setChecked(true);
        if (paste) {
            const QByteArray bytes = readAll(data + name);
            QApplication::clipboard()->setText(QString::fromStdString(
                tarvel::decodeSpreadsheetText(std::string_view(bytes.constData(), bytes.size()))));
            pane()->view()->setFocus();
            QTest::keyClick(pane()->view(), Qt::Key_V, Qt::ControlModifier);
        } else {
            QVERIFY2(pane()->importCsv(data + name, &error), qPrintable(error));
        }
        tension->setChecked(false);
        QCOMPARE(rowsOf(model()->loads()), expected);
        const QString tip =
            model()->data(model()->index(0, LoadTableModel::MColumn), Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains("M = √(600² + 800²) = 1000 kN·m"), qPrintable(tip));
        const QString read = pane()->findChild<QLabel*>("batchStatus")->text();
        QVERIFY2(read.contains("拉为正") && read.contains("√(Mx² + My²)"), qPrintable(read));
        // An edited row no longer claims to be what was read.
        QVERIFY(model()->setData(model()->index(0, LoadTableModel::MColumn), "900"));
        QVERIFY(model()
                    ->data(model()->index(0, LoadTableModel::MColumn), Qt::ToolTipRole)
                    .toString()
                    .isEmpty());
    }

    void pasteRefused_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("another base than the project's")
            << QStringList{"A|1|1|"} << QByteArray("1000,1000,2000,2100,20\n")
            << "第 1 行的几何尺寸（d=2000, D=2100, n=20）与本项目的（d=1520, D=1620, n=18）不同";
        QTest::newRow("rows of two bases")
            << QStringList{} << QByteArray("1,1,1520,1620,18\n2,2,1520,1620,20\n")
            << "第 2 行的几何尺寸";
        QTest::newRow("too many fields")
            << QStringList{} << QByteArray("1,2,3,4,5,6,7,8\n") << "第 1 行有 8 个字段";
        QTest::newRow("short row under a header") << QStringList{} << QByteArray("P,M,V\n1,2\n")
                                                  << "第 2 行应有 3 个字段（P,M,V），实有 2 个";
        QTest::newRow("nothing") << QStringList{} << QByteArray("\r\n") << "没有找到荷载组合";
    }

    void pasteRefused() {
        QFETCH(QStringList, before);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        setLoads(before);
        QString error;
        QVERIFY(
            !pane()->addBlock(std::string_view(bytes.constData(), bytes.size()), "粘贴", &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(rowsOf(model()->loads()), before);
        QCOMPARE(pane()->geometry(), (Geometry{"1520", "1620", "18"}));
    }

    void undoRedo_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("set a text") << "set" << QStringList{"A|1|1|", "B|2|99|", "C|3|3|"};
        QTest::newRow("add") << "add" << QStringList{"A|1|1|", "B|2|2|", "|||", "C|3|3|"};
        QTest::newRow("remove rows 1 and 3") << "remove" << QStringList{"B|2|2|"};
        QTest::newRow("duplicate rows 1 and 2")
            << "duplicate" << QStringList{"A|1|1|", "B|2|2|", "A|1|1|", "B|2|2|", "C|3|3|"};
        QTest::newRow("paste") << "paste"
                               << QStringList{"A|1|1|", "B|2|2|", "D|4|4|", "E|5|5|", "C|3|3|"};
    }

    void undoRedo() {
        QFETCH(QString, edit);
        QFETCH(QStringList, after);
        const QStringList before{"A|1|1|", "B|2|2|", "C|3|3|"};
        setLoads(before);
        QTableView* view = pane()->view();
        auto select = [&](std::initializer_list<int> rows) {
            view->clearSelection();
            for (int r : rows)
                view->selectionModel()->select(model()->index(r, 0), QItemSelectionModel::Select |
                                                                         QItemSelectionModel::Rows);
        };
        if (edit == "set") {
            QVERIFY(model()->setData(model()->index(1, LoadTableModel::MColumn), "99"));
        } else if (edit == "add") {
            select({1});
            pane()->findChild<QPushButton*>("addButton")->click();
            QApplication::processEvents();
            view->closePersistentEditor(view->currentIndex());
        } else if (edit == "remove") {
            select({0, 2});
            pane()->findChild<QPushButton*>("removeButton")->click();
        } else if (edit == "duplicate") {
            select({0, 1});
            pane()->findChild<QPushButton*>("duplicateButton")->click();
        } else {
            select({1});
            QString error;
            QVERIFY(pane()->addBlock("D\t4\t4\t\r\nE\t5\t5\t\r\n", "粘贴", &error));
        }
        QCOMPARE(rowsOf(model()->loads()), after);
        QCOMPARE(model()->undoStack()->count(), 1); // one step, however many rows
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rowsOf(model()->loads()), before);
        QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(rowsOf(model()->loads()), after);
    }

    // Ctrl+Z undoes the last edit whatever has the focus (the button just clicked, a box with
    // nothing typed in it, a control on another tab); Ctrl+Y and Ctrl+Shift+Z redo it; back at
    // what was saved, the title loses its unsaved mark.
    void undoWindowWide_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("redo");
        QTest::addColumn<bool>("saved"); // else new, its base taken from a calculation
        QTest::newRow("删除 just clicked, Ctrl+Y")
            << "removeButton" << QKeySequence("Ctrl+Y") << true;
        QTest::newRow("the shared d, Ctrl+Shift+Z")
            << "geometryd" << QKeySequence("Ctrl+Shift+Z") << true;
        QTest::newRow("bolt combo on the 验算 tab")
            << "boltCombo" << QKeySequence("Ctrl+Y") << true;
        QTest::newRow("shear box on the 验算 tab")
            << "shearSpin" << QKeySequence("Ctrl+Shift+Z") << true;
        QTest::newRow("new project after a calculation")
            << "removeButton" << QKeySequence("Ctrl+Y") << false;
    }

    void undoWindowWide() {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, redo);
        QFETCH(bool, saved);
        const QStringList rows{"A|1|1|", "B|2|2|"}, removed{"B|2|2|"};
        setLoads(rows);
        if (saved) {
            QVERIFY(window()->projects()->saveAs(file("撤销.tarvel")));
        } else {
            window()->document()->setModified(false); // as a project opened with these rows
            for (const char* name : {"geometryd", "geometryD", "geometryn"})
                pane()->findChild<QLineEdit*>(name)->clear();
            form->calculate();
            QCOMPARE(pane()->geometry()[0], std::string("1520"));
        }
        QVERIFY(!window()->isWindowModified());
        window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        QTableView* view = pane()->view();
        view->selectionModel()->select(model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::mouseClick(pane()->findChild<QPushButton*>("removeButton"), Qt::LeftButton);
        QCOMPARE(rowsOf(model()->loads()), removed);
        QVERIFY(window()->isWindowModified());
        auto* target = window()->findChild<QWidget*>(focus);
        auto* tabs = window()->findChild<QTabWidget*>("tabs");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(target)) tabs->setCurrentIndex(i);
        target->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rowsOf(model()->loads()), rows);
        QVERIFY(!window()->isWindowModified());
        QTest::keySequence(QApplication::focusWidget(), redo);
        QCOMPARE(rowsOf(model()->loads()), removed);
        QVERIFY(window()->isWindowModified());
    }

    // What the table exports, tarvel-calc reads as the same cases, and the table imports again.
    void csvRoundTrip() {
        setLoads({"1.3G+1.5Q|1000|1000|0", "带,逗号和\"引号\"|-500|200|", "地震|5000|5000|800"});
        const QString path = file("loads.csv");
        QString error;
        QVERIFY2(pane()->exportCsv(path, &error), qPrintable(error));
        const QByteArray bytes = readAll(path);
        const tarvel::LoadTable table =
            tarvel::readLoadCases(std::string_view(bytes.constData(), bytes.size()));
        QVERIFY(table.hasHeader && table.hasName && table.hasV);
        const std::vector<tarvel::LoadCase> expected = tarvel::projectCases(window()->project());
        QCOMPARE(table.cases.size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
            QCOMPARE(table.cases[k].error, std::string());
            QCOMPARE(table.cases[k].name, expected[k].name);
            QCOMPARE(table.cases[k].inputs, expected[k].inputs);
            QCOMPARE(table.cases[k].V, expected[k].V);
        }
        // With the results: the columns of tarvel-calc --project, the V each row used.
        QVERIFY(runAll());
        const QString results = file("results.csv");
        QVERIFY2(pane()->exportCsv(results, &error, true), qPrintable(error));
        const QStringList lines = QString::fromUtf8(readAll(results))
                                      .remove(QChar(0xFEFF))
                                      .split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QString("name,P,M,d,D,n,status,xt,qmaxt,tt,fmst,mmst,fqt,mqt,ct,c2t,h1t,"
                                   "h2t,vt,message,V,bolt_ratio,bearing_ratio,shear_ratio,"
                                   "equilibrium_ratio,verdict"));
        QCOMPARE(lines[1], QString("1.3G+1.5Q,1000,1000,1520,1620,18,ok,904.,3.20,112.00,567.49,"
                                   "383.64,1555.01,610.46,393.,676.,987.52,994.1,622.,,0,0.76,"
                                   "0.22,0.00,0.16,ok"));
        QVERIFY2(lines[2].contains(",200,1520,1620,18,") && lines[2].contains(",,0,"),
                 qPrintable(lines[2]));
        const Loads loads = model()->loads();
        window()->document()->setModified(false);
        window()->projects()->newProject();
        QVERIFY2(pane()->importCsv(path, &error), qPrintable(error));
        QCOMPARE(rowsOf(model()->loads()), rowsOf(loads));
    }

    // Each row is exactly what the engine gives for its case alone.
    void computeAllMatchesEngine() {
        window()->findChild<QComboBox*>("boltCombo")->setCurrentText("M30");
        window()->findChild<QDoubleSpinBox*>("shearSpin")->setValue(300);
        setLoads({"default|1000|1000|", "heavy|5000|5000|1200", "refused|-1000|0|",
                  "bad P|abc|1000|", "bad V|1000|1000|x", "tension edge|-500|200|-50"});
        QVERIFY(runAll());
        const tarvel::Project p = window()->project();
        const tarvel::DesignInput design = p.design;
        QCOMPARE(design.V, 300.0); // the project holds the V its rows were computed with
        const std::vector<tarvel::LoadCase> cases = tarvel::projectCases(p);
        for (int k = 0; k < model()->rowCount(); ++k) {
            const auto& got = model()->row(k).outcome;
            QVERIFY(got.has_value());
            tarvel::ComputedCase want;
            try {
                want = tarvel::computeCase(cases[k].inputs, tarvel::caseDesign(cases[k], design));
            } catch (const tarvel::TarvelError& e) {
                want.status = tarvel::CaseStatus::Error;
                want.message = e.what();
            }
            QCOMPARE(int(got->status), int(want.status));
            QCOMPARE(got->message, want.message);
            for (tarvel::ResultBox box : tarvel::allResultBoxes)
                QCOMPARE(got->result[box], want.result[box]);
            QCOMPARE(got->hasChecks, want.hasChecks);
            if (want.hasChecks)
                for (int c = 0; c < tarvel::checkCount; ++c)
                    QCOMPARE(got->checks.checks[c].ratioText, want.checks.checks[c].ratioText);
            QCOMPARE(cell(k, LoadTableModel::XColumn), QString::fromStdString(want.result.xt));
            QCOMPARE(cell(k, LoadTableModel::TColumn), QString::fromStdString(want.result.tt));
        }
        // A ratio's tooltip gives the demand and the capacity with their unit.
        const QString tip =
            model()
                ->data(model()->index(0, LoadTableModel::BearingColumn), Qt::ToolTipRole)
                .toString();
        QVERIFY2(tip.startsWith("混凝土承压：设计值 3.20 N/mm²，承载力/限值 14.30 N/mm²"),
                 qPrintable(tip));
        QCOMPARE(cell(0, LoadTableModel::VerdictColumn), QString("不满足")); // M30 too small
        QCOMPARE(cell(2, LoadTableModel::VerdictColumn), QString("底板全截面受拉"));
        QCOMPARE(cell(3, LoadTableModel::VerdictColumn), QString("「P(kN)」不是有效的数字"));
        QVERIFY(cell(4, LoadTableModel::VerdictColumn).contains("V"));
        // The rows without a verdict are counted and the first named, under the buttons and
        // in the governing list they are left out of.
        for (const char* line : {"batchStatus", "governingSummary"}) {
            const QString text = pane()->findChild<QLabel*>(line)->text();
            QVERIFY2(text.contains("3 个荷载组合未得出验算结果") &&
                         text.contains("第 3 行（refused），底板全截面受拉"),
                     qPrintable(text));
        }
        // An edit forgets that row's result only; a design change forgets them all.
        QVERIFY(model()->setData(model()->index(1, LoadTableModel::PColumn), "4000"));
        QCOMPARE(cell(1, LoadTableModel::XColumn), QString());
        QVERIFY(!cell(0, LoadTableModel::XColumn).isEmpty());
        window()->findChild<QComboBox*>("boltCombo")->setCurrentText("M36");
        QCOMPARE(cell(0, LoadTableModel::XColumn), QString());
    }

    // A cancel keeps the rows already done and marks the rest; the table is locked meanwhile
    // and the window goes on handling events.
    void cancelAndResponsiveness() {
        QStringList rows;
        for (int k = 0; k < cancelledBatchRows; ++k)
            rows << QString("|%1|%2|").arg(500 + 11 * (k % 400)).arg(200 + 12 * (k % 400));
        setLoads(rows);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(5);
        QSignalSpy done(pane(), &LoadTablePane::batchFinished);
        connect(pane()->runner(), &BatchRunner::progress, pane(), [this](int finished, int) {
            if (finished >= 20) pane()->cancel();
        });
        QVERIFY(pane()->computeAll(1));
        QVERIFY(!(model()->flags(model()->index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!model()->setData(model()->index(0, 1), "1"));
        QVERIFY(!pane()->findChild<QPushButton*>("computeButton")->isEnabled());
        QVERIFY(done.wait(60000));
        ticker.stop();
        QVERIFY(ticks > 0);
        int finished = 0, cancelled = 0;
        for (int k = 0; k < model()->rowCount(); ++k) {
            if (model()->row(k).outcome) {
                ++finished;
                QVERIFY(!cell(k, LoadTableModel::XColumn).isEmpty());
            } else {
                ++cancelled;
                QCOMPARE(cell(k, LoadTableModel::VerdictColumn), QString("已取消"));
            }
        }
        QVERIFY(finished >= 20);
        QVERIFY2(cancelled > 0, "the batch ended before the cancel reached it");
        QCOMPARE(finished + cancelled, cancelledBatchRows);
        QVERIFY(model()->flags(model()->index(0, 1)) & Qt::ItemIsEditable);
        QVERIFY(pane()->findChild<QLabel*>("batchStatus")->text().startsWith("已取消"));
    }

    // The batch's line and bar go with its results: a design change, a geometry change or
    // an added row leaves neither a stale count nor a full bar.
    void batchStatusGoesWithTheResults_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("design input") << "design";
        QTest::newRow("geometry") << "geometry";
        QTest::newRow("row added") << "row";
    }

    void batchStatusGoesWithTheResults() {
        QFETCH(QString, change);
        setLoads({"A|1000|1000|", "B|5000|5000|"});
        QVERIFY(runAll());
        auto* status = pane()->findChild<QLabel*>("batchStatus");
        auto* bar = pane()->findChild<QProgressBar*>("batchProgress");
        QVERIFY(status->text().startsWith("已计算 2 个"));
        QCOMPARE(bar->text(), QString("2 / 2"));
        if (change == "design")
            window()->findChild<QComboBox*>("boltCombo")->setCurrentText("M42");
        else if (change == "geometry")
            pane()->findChild<QLineEdit*>("geometryD")->setText("1700");
        else
            pane()->findChild<QPushButton*>("addButton")->click();
        QCOMPARE(status->text(), QString());
        QCOMPARE(bar->text(), QString());
    }

    // A shared d, D or n that cannot be computed is named and its box takes the focus;
    // nothing runs.
    void badSharedGeometryPointsAtItsBox_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("d no number") << "geometryd"
                                     << "15x0"
                                     << "「d(mm)」不是有效的数字";
        QTest::newRow("D zero") << "geometryD"
                                << "0"
                                << "「D(mm)」应大于 0";
        QTest::newRow("n fractional") << "geometryn"
                                      << "2.5"
                                      << "「锚栓个数」应为整数";
    }

    void badSharedGeometryPointsAtItsBox() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        setLoads({"A|1000|1000|", "B|5000|5000|"});
        auto* edit = pane()->findChild<QLineEdit*>(box);
        edit->setText(text);
        QVERIFY(!pane()->computeAll());
        QVERIFY(!pane()->running());
        const QString status = pane()->findChild<QLabel*>("batchStatus")->text();
        QVERIFY2(status.contains(message), qPrintable(status));
        QCOMPARE(window()->focusWidget(), edit);
        QCOMPARE(edit->selectedText(), text);
    }

    void governing() {
        setLoads({"轻|500|200|", "重|5000|5000|", "剪|1000|1000|3000", "拉|-500|200|"});
        QVERIFY(runAll());
        tarvel::ComputedCases outcomes;
        for (int k = 0; k < model()->rowCount(); ++k)
            outcomes.push_back(model()->row(k).outcome);
        const auto expected = tarvel::governingCases(outcomes);
        QCOMPARE(model()->governing(), expected);
        QCOMPARE(expected[0], 1); // bolts: the heavy case
        QCOMPARE(expected[2], 2); // shear: the row with V
        for (int c = 0; c < tarvel::checkCount; ++c) {
            const int column = LoadTableModel::BoltColumn + c;
            for (int k = 0; k < model()->rowCount(); ++k) {
                const bool governs = k == expected[c];
                QCOMPARE(model()
                             ->data(model()->index(k, column), LoadTableModel::governingRole)
                             .toBool(),
                         governs);
                QCOMPARE(cell(k, column).endsWith("最不利"), governs);
            }
        }
        const QString summary = pane()->findChild<QLabel*>("governingSummary")->text();
        const QString bolt = QString::fromStdString(outcomes[1]->checks.checks[0].ratioText);
        QVERIFY2(
            summary.startsWith("最不利：锚栓抗拉 第 2 行（重） " + bolt + "；混凝土承压 第 2 行"),
            qPrintable(summary));
        QVERIFY2(summary.contains("抗剪 第 3 行（剪）"), qPrintable(summary));
    }

    // A row goes to the form by its button, its context menu or Enter, and the form
    // calculates it in full; the design window checks it with the row's own V and names it,
    // and no result box of the form keeps the focus. A double-click edits the cell instead.
    void sendRowCalculatesInForm_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "button";
        QTest::newRow("context menu") << "menu";
        QTest::newRow("Enter") << "enter";
    }

    void sendRowCalculatesInForm() {
        QFETCH(QString, how);
        setLoads({"A|1000|1000|", "B|5000|5000|300"});
        pane()->findChild<QLineEdit*>("geometryd")->setText("1520");
        QTableView* view = pane()->view();
        QTRY_VERIFY(view->isVisible());
        const QRect rect = view->visualRect(model()->index(1, LoadTableModel::NameColumn));
        // A double-click as the platform delivers it: press, release, then the double-click.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QPointer<QLineEdit> editor = view->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->isVisible());
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!editor);
        form->findChild<QLineEdit*>("xt")->setFocus();
        if (how == "button") {
            QTest::mouseClick(pane()->findChild<QPushButton*>("sendButton"), Qt::LeftButton);
        } else if (how == "menu") {
            QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
            auto* send = pane()->findChild<QAction*>("sendAction");
            QVERIFY(view->actions().contains(send));
            send->trigger();
        } else {
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Return);
        }
        const tarvel::ComputedCase want =
            tarvel::computeCase({"5000", "5000", "1520", "1620", "18"}, {});
        const char* inputs[] = {"pt", "mt", "d1t", "d2t", "nt"};
        const char* expected[] = {"5000", "5000", "1520", "1620", "18"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form->findChild<QLineEdit*>(inputs[i])->text(), QString(expected[i]));
        QCOMPARE(form->findChild<QLineEdit*>("xt")->text(), QString::fromStdString(want.result.xt));
        QCOMPARE(form->findChild<QLineEdit*>("tt")->text(), QString::fromStdString(want.result.tt));
        QCOMPARE(form->findChild<QLineEdit*>("vt")->text(), QString::fromStdString(want.result.vt));
        auto* checks = window()->findChild<QTableWidget*>("checkTable");
        QCOMPARE(checks->item(2, CheckPanel::DemandColumn)->text(), QString("300.00"));
        const QString status = window()->findChild<QLabel*>("statusLabel")->text();
        QVERIFY2(status.contains("第 2 行（B）") && status.contains("V = 300 kN"),
                 qPrintable(status));
        QCOMPARE(form->focusWidget()->objectName(), QString("Picture1"));
    }

    // One base everywhere: a table without rows takes the base of every 计  算, not only of
    // the first; a table with rows keeps its own; an opened project's base goes to the form,
    // and its rows are calculated there with it.
    void tableBaseFollowsForm_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("expected"); // d|D|n after the second 计  算
        QTest::newRow("empty") << QStringList() << "1000|1100|12";
        QTest::newRow("with rows") << QStringList{"A|1000|1000|"} << "1520|1620|18";
    }

    void tableBaseFollowsForm() {
        QFETCH(QStringList, rows);
        QFETCH(QString, expected);
        const auto calculate = [this](const tarvel::InputTexts& in) {
            form->setInputs(in);
            form->calculate();
        };
        const auto base = [this] {
            return QStringList{pane()->findChild<QLineEdit*>("geometryd")->text(),
                               pane()->findChild<QLineEdit*>("geometryD")->text(),
                               pane()->findChild<QLineEdit*>("geometryn")->text()}
                .join('|');
        };
        calculate({"1000", "1000", "1520", "1620", "18"});
        QCOMPARE(base(), QString("1520|1620|18"));
        if (!rows.isEmpty()) setLoads(rows);
        calculate({"300", "900", "1000", "1100", "12"});
        QCOMPARE(base(), expected);
    }

    void openedProjectBaseGoesToForm() {
        form->setInputs({"1000", "1000", "1520", "1620", "18"});
        form->calculate();
        tarvel::Project p = sampleProject();
        p.d = "1000";
        p.D = "1100";
        p.n = "12";
        p.loads = loadsOf({"W2|300|900|"});
        const QString path = file("pole.tarvel");
        QString error;
        QVERIFY2(ProjectDocument::write(path, p, &error), qPrintable(error));
        QVERIFY(window()->projects()->open(path));
        const char* boxes[] = {"pt", "mt", "d1t", "d2t", "nt"};
        const char* shown[] = {"1000", "1000", "1000", "1100", "12"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form->findChild<QLineEdit*>(boxes[i])->text(), QString(shown[i]));
        pane()->view()->setCurrentIndex(model()->index(0, LoadTableModel::PColumn));
        QTest::mouseClick(pane()->findChild<QPushButton*>("sendButton"), Qt::LeftButton);
        const char* sent[] = {"300", "900", "1000", "1100", "12"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form->findChild<QLineEdit*>(boxes[i])->text(), QString(sent[i]));
        QCOMPARE(window()->lastInputs()->at(3), std::string("1100"));
    }

    // Enter in a cell editor finishes the edit and nothing more; Enter on the row then sends it.
    void enterFinishesACellEdit_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }

    void enterFinishesACellEdit() {
        QFETCH(int, key);
        setLoads({"A|1000|1000|", "B|5000|5000|300"});
        QTableView* view = pane()->view();
        QTRY_VERIFY(view->isVisible());
        QSignalSpy sent(pane(), &LoadTablePane::caseChosen);
        const QModelIndex index = model()->index(1, LoadTableModel::PColumn);
        view->setCurrentIndex(index);
        view->edit(index);
        QPointer<QLineEdit> editor = view->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "4000");
        QTest::keyClick(editor, Qt::Key(key));
        QTRY_VERIFY(!editor);
        QCOMPARE(cell(1, LoadTableModel::PColumn), QString("4000"));
        QCOMPARE(sent.size(), 0);
        QCOMPARE(form->findChild<QLineEdit*>("pt")->text(), QString("1000"));
        QTest::keyClick(view, Qt::Key(key));
        QCOMPARE(sent.size(), 1);
    }

    void projectRoundTrip() {
        const tarvel::Project p = sampleProject();
        window()->showProject(p);
        QCOMPARE(window()->project(), p);
        const QString path = file("柱脚.tarvel");
        QVERIFY(window()->projects()->saveAs(path));
        QVERIFY(!window()->isWindowModified());
        const QByteArray bytes = readAll(path);
        QCOMPARE(tarvel::parseProject(std::string_view(bytes.constData(), bytes.size())), p);
        window()->projects()->newProject();
        QCOMPARE(model()->rowCount(), 0);
        QVERIFY(window()->projects()->open(path));
        QCOMPARE(window()->project(), p);
        QCOMPARE(window()->findChild<QComboBox*>("boltCombo")->currentText(), QString("M42"));
        QCOMPARE(ProjectDocument::recentFiles().value(0), QFileInfo(path).absoluteFilePath());

        // What a version 2 file adds comes back as it was read: nothing is dropped on saving.
        tarvel::Project newer = sampleProject();
        newer.design.method = tarvel::AnalysisMethod::Envelope;
        newer.design.modularRatio = 8;
        newer.design.detailing = tarvel::DetailingInput{};
        newer.design.detailing->tube = "1020x16";
        newer.sizing = tarvel::SizingRanges{};
        newer.sizing->counts = {12, 16};
        window()->showProject(newer);
        QCOMPARE(window()->project(), newer);

        // The tab 优化选型 shows the project's ranges, and a range typed there is the project's.
        auto* counts = window()->findChild<QLineEdit*>("sizingCounts");
        QCOMPARE(counts->text(), QString("12,16"));
        window()->document()->setModified(false);
        counts->selectAll();
        QTest::keyClicks(counts, "8,12");
        QVERIFY(window()->document()->modified());
        QCOMPARE(window()->project().sizing->counts, (std::vector<int>{8, 12}));
        // A range that does not read is not lost: saving says why, and the file stays.
        counts->selectAll();
        QTest::keyClicks(counts, "8,x");
        ModalBox box;
        box.expect();
        QVERIFY(!window()->projects()->saveAs(path));
        QVERIFY2(box.seen && box.text.contains("优化选型"), qPrintable(box.text));
        QCOMPARE(readAll(path), bytes);
        QVERIFY(window()->isWindowModified());
    }

    void titleAndModifiedMark() {
        QVERIFY(window()->windowTitle().startsWith("未命名[*]"));
        QVERIFY(!window()->isWindowModified());
        setLoads({"A|1|1|"});
        QVERIFY(model()->setData(model()->index(0, LoadTableModel::PColumn), "2"));
        QVERIFY(window()->isWindowModified());
        QVERIFY(window()->projects()->saveAs(file("a.tarvel")));
        QVERIFY(window()->windowTitle().startsWith("a.tarvel[*]"));
        QVERIFY(!window()->isWindowModified());
        // Every design input is saved in the project and marks it, the design V too.
        window()->findChild<QDoubleSpinBox*>("shearSpin")->setValue(10);
        QVERIFY(window()->isWindowModified());
        QVERIFY(window()->projects()->saveAs(file("a.tarvel")));
        window()->findChild<QComboBox*>("concreteCombo")->setCurrentText("C50");
        QVERIFY(window()->isWindowModified());
    }

    void closeAsks_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("保存") << "保存" << true << true;
        QTest::newRow("不保存") << "不保存" << true << false;
        QTest::newRow("取消") << "取消" << false << false;
    }

    void closeAsks() {
        QFETCH(QString, answer);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString path = file("p.tarvel");
        window()->showProject(sampleProject());
        QVERIFY(window()->projects()->saveAs(path));
        QVERIFY(model()->setData(model()->index(0, LoadTableModel::PColumn), "1234"));
        ModalBox box;
        box.answer = answer;
        box.expect();
        window()->close();
        QVERIFY(box.seen);
        QCOMPARE(box.text, QString("项目「p.tarvel」有未保存的修改，是否保存？"));
        QCOMPARE(!window()->isVisible(), closed);
        const QByteArray bytes = readAll(path);
        const tarvel::Project onDisk =
            tarvel::parseProject(std::string_view(bytes.constData(), bytes.size()));
        QCOMPARE(onDisk.loads[0].P == "1234", saved);
    }

    // Ending the program from the form asks as well, and 取消 keeps it running.
    void formCloseAsks() {
        setLoads({"A|1|1|"});
        QVERIFY(model()->setData(model()->index(0, LoadTableModel::PColumn), "2"));
        ModalBox box;
        box.answer = "取消";
        box.expect();
        form->close();
        QVERIFY(box.seen);
        QVERIFY(form->isVisible());
    }

    // Ending the program with unsaved changes, in the program's own event loop: by 退  出,
    // and by the application quitting (a session ending). One question; 保存 and 不保存 end
    // the loop, 取消 keeps both windows as they were.
    void quitAsksOnce_data() {
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("quits");
        QTest::addColumn<bool>("saved");
        QTest::newRow("退出 不保存") << true << "不保存" << true << false;
        QTest::newRow("退出 保存") << true << "保存" << true << true;
        QTest::newRow("退出 取消") << true << "取消" << false << false;
        QTest::newRow("quit 不保存") << false << "不保存" << true << false;
        QTest::newRow("quit 取消") << false << "取消" << false << false;
    }

    void quitAsksOnce() {
        QFETCH(bool, byButton);
        QFETCH(QString, answer);
        QFETCH(bool, quits);
        QFETCH(bool, saved);
        const QString path = file("q.tarvel");
        window()->showProject(sampleProject());
        QVERIFY(window()->projects()->saveAs(path));
        QVERIFY(model()->setData(model()->index(0, LoadTableModel::PColumn), "1234"));
        int questions = 0;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            ++questions;
            for (QAbstractButton* b : box->buttons())
                if (b->text() == answer) b->click();
        });
        answerer.start(10);
        QTimer start, giveUp;
        start.setSingleShot(true);
        connect(&start, &QTimer::timeout, this, [&] {
            if (byButton)
                QTest::mouseClick(form->findChild<QPushButton*>("Command2"), Qt::LeftButton);
            else
                QCoreApplication::quit();
        });
        constexpr int stillRunning = 7;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, this, [] { QCoreApplication::exit(stillRunning); });
        start.start(0);
        giveUp.start(1000);
        const int status = QApplication::exec();
        QCOMPARE(questions, 1);
        QCOMPARE(status, quits ? 0 : stillRunning);
        QCOMPARE(form->isVisible(), !quits);
        QCOMPARE(window()->isVisible(), !quits);
        const QByteArray bytes = readAll(path);
        const tarvel::Project onDisk =
            tarvel::parseProject(std::string_view(bytes.constData(), bytes.size()));
        QCOMPARE(onDisk.loads[0].P == "1234", saved);
    }

    // A failed save reports the folder and leaves the file that was there as it was.
    void atomicSaveIntoReadOnlyFolder() {
        const QString folder = file("locked");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/p.tarvel";
        const QByteArray original = "the file that was here\n";
        QVERIFY(writeAll(path, original));
        // Root ignores permission bits; an immutable folder stops root as well.
        bool locked = false;
        if (geteuid() == 0)
            locked = QProcess::execute("chattr", {"+i", folder}) == 0;
        else
            locked = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (!locked) QSKIP("cannot make a folder unwritable here");
        auto unlock = qScopeGuard([&] {
            if (geteuid() == 0)
                QProcess::execute("chattr", {"-i", folder});
            else
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        window()->showProject(sampleProject());
        window()->document()->setModified(true);
        ModalBox box;
        box.expect();
        QVERIFY(!window()->projects()->saveAs(path));
        QVERIFY(box.seen);
        QVERIFY2(box.text.contains("不可写") && box.text.contains("原有文件未改动"),
                 qPrintable(box.text));
        QCOMPARE(readAll(path), original);
        QVERIFY(window()->isWindowModified());
        QCOMPARE(window()->document()->path(), QString());
        // A folder that is a file fails the same way, for root too.
        QVERIFY(writeAll(file("plain"), "x"));
        box = ModalBox{};
        box.expect();
        QVERIFY(!window()->projects()->saveAs(file("plain") + "/p.tarvel"));
        QVERIFY(box.seen);
    }

    void badFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = QByteArray::fromStdString(tarvel::serializeProject([] {
            tarvel::Project p;
            p.loads = {{"X", "1", "2", ""}};
            return p;
        }()));
        auto edited = [&](const char* from, const char* to) {
            QByteArray b = good;
            return b.replace(from, to);
        };
        QTest::newRow("not JSON") << QByteArray("{\"format\": \"tarvel-project\",\n  oops")
                                  << "不是有效的 JSON（第 2 行";
        QTest::newRow("another format")
            << QByteArray("{\"format\": \"geojson\"}") << "不是 Tarvel 项目文件";
        QTest::newRow("a number where text belongs")
            << edited("\"d\": \"1520\"", "\"d\": 1520") << "「geometry.d」应为文字";
        QTest::newRow("loads not an array")
            << edited("\"loads\": [", "\"loads\": {\"a\": [").replace("]\n}", "]}\n}")
            << "「loads」应为数组";
        QTest::newRow("missing field") << edited("\"M\": \"2\",", "") << "缺少「loads[0].M」";
        QTest::newRow("newer version")
            << edited("\"version\": 1", "\"version\": 3") << "版本 3 高于本程序能读的版本 2";
        QTest::newRow("unknown bolt") << edited("\"M36\"", "\"M7\"") << "验算输入有误";
        QTest::newRow("too large") << QByteArray(9 * 1024 * 1024, ' ') << "过大";
        QTest::newRow("unknown fields are ignored")
            << edited("\"format\"", "\"colour\": \"red\", \"format\"") << QString();
    }

    void badFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString shownPath = file("shown.tarvel");
        window()->showProject(sampleProject());
        QVERIFY(window()->projects()->saveAs(shownPath));
        QVERIFY(model()->setData(model()->index(0, LoadTableModel::NameColumn), "edited"));
        const tarvel::Project before = window()->project();
        const QString path = file("other.tarvel");
        QVERIFY(writeAll(path, bytes));
        ModalBox box;
        box.expect();
        const bool opened = window()->projects()->open(path);
        if (message.isEmpty()) {
            QVERIFY(opened);
            QVERIFY(!box.seen);
            QCOMPARE(rowsOf(window()->project().loads), QStringList{"X|1|2|"});
            return;
        }
        QVERIFY(!opened);
        QVERIFY(box.seen);
        QVERIFY2(box.text.contains(message), qPrintable(box.text));
        QVERIFY2(box.text.contains("other.tarvel"), qPrintable(box.text));
        QCOMPARE(window()->project(), before);
        QCOMPARE(window()->document()->path(), QFileInfo(shownPath).absoluteFilePath());
        QVERIFY(window()->isWindowModified());
    }

    void dropFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("project") << "dropped.tarvel"
                                 << QByteArray::fromStdString(tarvel::serializeProject([] {
                                        tarvel::Project p;
                                        p.loads = {{"D", "7", "8", ""}};
                                        return p;
                                    }()))
                                 << QStringList{"D|7|8|"};
        QTest::newRow("load table")
            << "loads.csv" << QByteArray("P,M\n3,4\n") << QStringList{"A|1|1|", "|3|4|"};
    }

    void dropFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        setLoads({"A|1|1|"});
        window()->document()->setModified(false);
        QVERIFY(writeAll(file(name), bytes));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file(name))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window(), &drop);
        QCOMPARE(rowsOf(model()->loads()), rows);
    }

    // 1,000 realistic cases, timed as the window runs them; the figure is printed.
    void thousandCases() {
        QStringList rows;
        for (int k = 0; k < 1000; ++k)
            rows << QString("|%1|%2|").arg(500 + (k * 37) % 4501).arg(200 + (k * 53) % 4801);
        setLoads(rows);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(runAll());
        const qint64 ms = clock.elapsed();
        qInfo("全部计算 of 1000 cases: %lld ms (batch %lld ms)", ms, pane()->lastElapsed());
        for (int k = 0; k < model()->rowCount(); ++k)
            QVERIFY(model()->row(k).outcome.has_value());
    }

    // With TARVEL_SCREENSHOT set, saves the tab 荷载组合 with 50 cases computed.
    void screenshot() {
        const QByteArray path = qgetenv("TARVEL_SCREENSHOT");
        if (path.isEmpty()) QSKIP("TARVEL_SCREENSHOT not set");
        tarvel::Project p = sampleProject();
        p.design = {};
        p.loads.clear();
        const char* kinds[] = {"1.3G+1.5Q", "1.3G+1.5W", "1.0G+1.5W", "1.2G+1.3E"};
        for (int k = 0; k < 50; ++k)
            p.loads.push_back({QString("%1 #%2").arg(kinds[k % 4]).arg(k / 4 + 1).toStdString(),
                               std::to_string(500 + (k * 373) % 4000),
                               std::to_string(200 + (k * 531) % 3200), k % 5 == 0 ? "300" : ""});
        window()->showProject(p);
        window()->resize(1280, 820);
        QVERIFY(runAll());
        QTest::qWait(50);
        QVERIFY(window()->grab().save(QString::fromLocal8Bit(path)));
    }
};

QTEST_MAIN(LoadTableTest)
#include "loadtablepane_test.moc"
