// The report from the windows: 导出计算书… of the design window (the last calculation, or the
// project on the 荷载组合 tab) and of the form's context menu, read back with pdftotext; the
// result diagram's tab.

#include "app/designlauncher.h"
#include "design/designwindow.h"
#include "design/diagramwidget.h"
#include "form/kqform1.h"
#include "loads/loadtable.h"
#include "loads/loadtablepane.h"
#include "project/projectdocument.h"
#include "qt_test_support.h"
#include "report/reportactions.h"
#include "reportdata.h"
#include "settingsstore.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// The text of a report file: pdftotext for a PDF, the file itself for HTML.
QString reportText(const QString& path) {
    if (path.endsWith(".html")) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Closes the next modal message box and keeps its text.
QString* closeNextBox() {
    auto* text = new QString;
    QTimer::singleShot(0, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
    return text;
}

} // namespace

class DesignReportTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<Kqform1> form;
    DesignLauncher* launcher = nullptr;

    DesignWindow* window() { return launcher->designWindow(); }
    QString file(const QString& name) { return dir.filePath(name); }
    void calculate(const QStringList& inputs) {
        form->setInputs(texts(inputs));
        form->findChild<QPushButton*>("Command1")->click();
    }
    // The message of an export that must fail.
    QString failedExport(ReportActions* actions, const QString& path) {
        std::unique_ptr<QString> text(closeNextBox());
        [&] { QVERIFY(!actions->exportReportTo(path)); }();
        return *text;
    }

  private slots:
    void initTestCase() {
        QApplication::setApplicationName("Tarvel");
        QApplication::setApplicationVersion("9.8.7");
        QVERIFY(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    }

    void init() {
        QSettings("Tarvel", "Tarvel").clear();
        form = std::make_unique<Kqform1>();
        launcher = new DesignLauncher(form.get());
        form->show();
    }

    void cleanup() { form.reset(); }

    void exportsTheLastCalculation_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("holds");
        const QStringList defaults{"1000", "1000", "1520", "1620", "18"};
        const QStringList texts{"904",   "3.20", "112.00", "567.49",      "383.64", "1555.01",
                                "610.46", "393", "676",   "987.52",      "994.1",  "622",
                                "147.01", "0.76", "满足",   "Tarvel 9.8.7"};
        QTest::newRow("pdf") << "r.pdf" << defaults << texts;
        QTest::newRow("html") << "r.html" << defaults << texts;
        QTest::newRow("failing") << "f.pdf" << QStringList{"5000", "5000", "1520", "1620", "18"}
                                 << QStringList{"3.82", "不满足", "加大锚栓规格"};
    }
    void exportsTheLastCalculation() {
        QFETCH(QString, name);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, holds);
        calculate(inputs);
        QVERIFY(window()->reports()->exportReportTo(file(name)));
        const QString text = reportText(file(name));
        for (const QString& piece : holds)
            QVERIFY2(text.contains(piece), qPrintable(piece));
        // The form's context menu writes the same case.
        QVERIFY(launcher->formReports()->exportReportTo(file("form-" + name)));
        QVERIFY(reportText(file("form-" + name)).contains(holds.first()));
    }

    void noReportWithoutResults_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("message");
        QTest::newRow("before any calculation") << QStringList{} << "尚无计算结果";
        QTest::newRow("refused") << QStringList{"-1000", "0", "1520", "1620", "18"}
                                 << "尚无计算结果";
        QTest::newRow("failed") << QStringList{"abc", "0", "1520", "1620", "18"} << "尚无计算结果";
    }
    void noReportWithoutResults() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        if (!inputs.isEmpty()) {
            std::unique_ptr<QString> formBox(closeNextBox()); // the form's own message
            calculate(inputs);
        }
        const QString path = file("none.pdf");
        QVERIFY(failedExport(window()->reports(), path).startsWith(message));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!window()->findChild<DiagramWidget*>()->hasDiagram());
    }

    void unwritablePathKeepsWhatIsThere() {
        calculate({"1000", "1000", "1520", "1620", "18"});
        const QString message = failedExport(window()->reports(), "/nonexistent/r.pdf");
        QVERIFY2(message.contains("无法写入计算书"), qPrintable(message));
        QFile existing(file("keep.pdf"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep");
        existing.close();
        QVERIFY(!failedExport(window()->reports(), file("keep.pdf") + "/x.pdf").isEmpty());
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("keep"));
    }

    void projectReportFromTheLoadTable() {
        calculate({"1000", "1000", "1520", "1620", "18"});
        LoadTablePane* pane = window()->loadTable();
        QString error;
        QVERIFY2(pane->addBlock("name,P,M,V\nG+Q,1000,1000,0\nwind,500,2500,200\n", "粘贴", &error),
                 qPrintable(error));
        window()->findChild<QTabWidget*>("tabs")->setCurrentWidget(pane);
        QVERIFY(window()->showsLoadTable());
        // Before 全部计算 there is nothing to report for the project.
        QVERIFY(failedExport(window()->reports(), file("p.pdf")).contains("全部计算"));
        QSignalSpy finished(pane, &LoadTablePane::batchFinished);
        QVERIFY(pane->computeAll());
        QVERIFY(finished.wait(10000));
        // The project's header is the title block, not what 计算书信息 remembers.
        tarvel::report::saveReportInfo({"", "", "赵六", ""});
        pane->findChild<QLineEdit*>("infoDesigner")->setText("王五");
        QVERIFY(window()->reports()->exportReportTo(file("p.pdf")));
        const QString text = reportText(file("p.pdf"));
        for (const char* piece : {"荷载组合汇总", "G+Q", "wind", "设计总体结论", "王五"})
            QVERIFY2(text.contains(piece), piece);
        QVERIFY(!text.contains("赵六"));
    }

    // One title block: the open project's header, else 计算书信息 as remembered. The single
    // case's report follows it, and the dialog edits whichever applies.
    void oneTitleBlock_data() {
        QTest::addColumn<bool>("projectOpen");
        QTest::newRow("no project") << false;
        QTest::newRow("project open") << true;
    }

    void oneTitleBlock() {
        QFETCH(bool, projectOpen);
        tarvel::report::saveReportInfo({"设置工程", "", "设置设计", ""});
        if (projectOpen) {
            tarvel::Project p = window()->project();
            p.info = {"项目工程", "GZ-2", "项目设计", ""};
            p.loads = {{"A", "1000", "1000", ""}};
            window()->showProject(p);
            window()->document()->setModified(false);
        }
        calculate({"1000", "1000", "1520", "1620", "18"});
        QString shown;
        QTimer::singleShot(0, [&shown] {
            QWidget* dialog = QApplication::activeModalWidget();
            shown = dialog->findChild<QLineEdit*>("project")->text();
            dialog->findChild<QLineEdit*>("checker")->setText("新校对");
            qobject_cast<QDialog*>(dialog)->accept();
        });
        QVERIFY(window()->reports()->editInfo());
        QCOMPARE(shown, QString(projectOpen ? "项目工程" : "设置工程"));
        QCOMPARE(window()->isWindowModified(), projectOpen);
        QCOMPARE(tarvel::report::loadReportInfo().checker == "新校对", !projectOpen);
        for (ReportActions* actions : {window()->reports(), launcher->formReports()}) {
            QVERIFY(actions->exportReportTo(file("t.pdf")));
            const QString text = reportText(file("t.pdf"));
            QCOMPARE(text.contains("项目工程"), projectOpen);
            QCOMPARE(text.contains("设置工程"), !projectOpen);
            QCOMPARE(text.contains("设置设计"), !projectOpen);
            QVERIFY(text.contains("新校对"));
        }
        window()->document()->setModified(false);
    }

    void diagramFollowsTheCalculation() {
        auto* diagram = window()->findChild<DiagramWidget*>();
        QVERIFY(diagram);
        QVERIFY(!diagram->hasDiagram());
        calculate({"1000", "1000", "1520", "1620", "18"});
        QVERIFY(diagram->hasDiagram());
        std::unique_ptr<QString> box(closeNextBox());
        calculate({"-1000", "0", "1520", "1620", "18"});
        QVERIFY(!diagram->hasDiagram());
    }

    void menusOfferTheReport() {
        QStringList form;
        for (QAction* a : launcher->contextMenu()->actions())
            form << a->text();
        QVERIFY(form.contains("导出计算书…"));
        QStringList file;
        for (QAction* a : window()->findChild<QMenu*>("menuFile")->actions())
            file << a->text();
        for (const char* entry : {"导出计算书…", "打印…", "打印预览…", "计算书信息…", "关闭"})
            QVERIFY2(file.contains(entry), entry);
    }

    // A title block an earlier version kept in the unnamed store comes into the one store once
    // and opens the 计算书信息 dialog; what the store already holds keeps its value.
    void carriedOverTitleBlockFillsTheDialog() {
        QSettings old("Unknown Organization", "Tarvel");
        old.clear();
        const QStringList keys{"project", "member", "designer", "checker"};
        for (const QString& key : keys)
            old.setValue("report/" + key, "旧" + key);
        old.sync();
        QSettings("Tarvel", "Tarvel").setValue("report/checker", "新校对");
        QCOMPARE(tarvel::carryOverUnnamedStore(), 3);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            for (const QString& key : keys)
                shown << dialog->findChild<QLineEdit*>(key)->text();
            QMetaObject::invokeMethod(dialog, "reject");
        });
        QVERIFY(!window()->reports()->editInfo());
        QCOMPARE(shown, (QStringList{"旧project", "旧member", "旧designer", "新校对"}));
        // Once: a value saved since is not overwritten by a second start.
        QSettings("Tarvel", "Tarvel").setValue("report/project", "改过");
        QCOMPARE(tarvel::carryOverUnnamedStore(), 0);
        QCOMPARE(tarvel::report::loadReportInfo().project, QString("改过"));
        old.clear();
    }
};

QTEST_MAIN(DesignReportTest)
#include "designreports_test.moc"
