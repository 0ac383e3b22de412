// The window as a user meets it: layout, font, figure, Calculate and Exit.

#include "form/kqform1.h"
#include "qt_test_support.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

namespace {

const QStringList resultBoxes{"xt",  "qmaxt", "tt",  "fmst", "mmst", "fqt",
                              "mqt", "ct",    "c2t", "h1t",  "h2t",  "vt"};
const QStringList inputBoxes{"pt", "mt", "d1t", "d2t", "nt"};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Kqform1> window;

    template <typename T = QWidget> T* find(const QString& name) {
        T* w = window->findChild<T*>(name);
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    QString text(const QString& box) { return find<QLineEdit>(box)->text(); }
    void setInputs(const QStringList& values) {
        for (int i = 0; i < inputBoxes.size(); ++i)
            find<QLineEdit>(inputBoxes[i])->setText(values[i]);
    }
    void markResults() {
        for (const QString& box : resultBoxes)
            find<QLineEdit>(box)->setText("prev");
    }
    void expectResultsUntouched() {
        for (const QString& box : resultBoxes)
            QCOMPARE(text(box), QString("prev"));
    }
    FloatProgressBar* bar() { return find<FloatProgressBar>("PBar"); }

  private slots:
    void initTestCase() { QApplication::setApplicationName("Tarvel"); }

    void init() {
        window = std::make_unique<Kqform1>();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        auto row = [](const char* name, const char* kind, const char* container, const char* text,
                      int l, int t, int w, int h) {
            QTest::newRow(name) << QString(name) << QString(kind) << QString(container)
                                << QString::fromUtf8(text) << QRect(l, t, w, h);
        };
        row("Picture1", "QLabel", "kqform1", "", 240, 360, 5775, 3495);
        row("Frame1", "QGroupBox", "kqform1", "输入数据（以图示方向为正）", 240, 4080, 5775, 1575);
        row("Frame2", "QGroupBox", "kqform1", "计算结果（以图示方向为正）", 240, 5760, 4095, 2175);
        row("Command1", "QPushButton", "kqform1", "计  算", 4680, 5880, 1335, 375);
        row("Command2", "QPushButton", "kqform1", "退  出", 4680, 6960, 1335, 375);
        row("PBar", "FloatProgressBar", "kqform1", "", 240, 8040, 5775, 255);
        row("Label1", "QLabel", "Frame1", "P(kN)", 240, 360, 855, 255);
        row("pt", "QLineEdit", "Frame1", "1000", 960, 360, 1095, 270);
        row("Label3", "QLabel", "Frame1", "d(mm)", 2280, 360, 495, 255);
        row("d1t", "QLineEdit", "Frame1", "1520", 2880, 360, 1215, 270);
        row("Label5", "QLabel", "Frame1", "锚栓个数", 4560, 360, 975, 255);
        row("Label9", "QLabel", "Frame1", "(拉为负)", 120, 600, 735, 255);
        row("Label2", "QLabel", "Frame1", "M(kN)", 240, 960, 855, 255);
        row("mt", "QLineEdit", "Frame1", "1000", 960, 960, 1095, 270);
        row("Label4", "QLabel", "Frame1", "D(mm)", 2280, 960, 495, 255);
        row("d2t", "QLineEdit", "Frame1", "1620", 2880, 960, 1215, 270);
        row("nt", "QLineEdit", "Frame1", "18", 4680, 960, 495, 270);
        row("Label10", "QLabel", "Frame1", "(填正值)", 120, 1200, 735, 255);
        row("Label6", "QLabel", "Frame2", "锚栓最大拉力T(kN)", 240, 360, 2055, 255);
        row("tt", "QLineEdit", "Frame2", "0", 2160, 360, 1095, 270);
        row("Label7", "QLabel", "Frame2", "底板压力长度x(mm)", 240, 720, 1815, 255);
        row("xt", "QLineEdit", "Frame2", "0", 2160, 720, 1095, 270);
        row("Label8", "QLabel", "Frame2", "底板边缘应力(N/mm2)", 240, 1080, 2175, 375);
        row("qmaxt", "QLineEdit", "Frame2", "0", 2160, 1080, 1095, 270);
        row("Label21", "QLabel", "Frame2", "底板压应力合力(kN)", 240, 1440, 1815, 255);
        row("fqt", "QLineEdit", "Frame2", "0", 2160, 1440, 1095, 270);
        row("Label22", "QLabel", "Frame2", "底板抗剪承载力(kN)", 240, 1800, 1815, 255);
        row("vt", "QLineEdit", "Frame2", "0", 2160, 1800, 1095, 270);
        row("Label11", "QLabel", "kqform1", "底板合力", 6480, 1080, 735, 255);
        row("Label13", "QLabel", "kqform1", "f", 6480, 1440, 255, 255);
        row("Label17", "QLabel", "kqform1", "c", 7680, 1440, 255, 255);
        row("ct", "QLineEdit", "kqform1", "Text1", 8040, 1440, 495, 270);
        row("Label14", "QLabel", "kqform1", "m", 6480, 1800, 255, 255);
        row("mqt", "QLineEdit", "kqform1", "Text2", 6960, 1800, 615, 270);
        row("Label12", "QLabel", "kqform1", "锚栓合力", 6480, 2280, 735, 255);
        row("Label15", "QLabel", "kqform1", "f", 6480, 2760, 375, 255);
        row("fmst", "QLineEdit", "kqform1", "Text3", 6960, 2760, 615, 270);
        row("Label18", "QLabel", "kqform1", "c2", 7680, 2760, 255, 255);
        row("c2t", "QLineEdit", "kqform1", "Text1", 8040, 2760, 495, 270);
        row("Label16", "QLabel", "kqform1", "m", 6480, 3240, 495, 255);
        row("mmst", "QLineEdit", "kqform1", "Text4", 6960, 3240, 615, 270);
        row("Label19", "QLabel", "kqform1", "合力", 6480, 3840, 735, 255);
        row("h1t", "QLineEdit", "kqform1", "Text1", 7080, 3840, 855, 270);
        row("Label20", "QLabel", "kqform1", "和弯矩", 6480, 4440, 615, 255);
        row("h2t", "QLineEdit", "kqform1", "Text2", 7080, 4440, 855, 270);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, container);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        QWidget* w = find(name);
        QCOMPARE(QString(w->metaObject()->className()), kind);
        QCOMPARE(w->parentWidget()->objectName(), container);
        const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        QCOMPARE(w->geometry(), pixels);
        if (auto* label = qobject_cast<QLabel*>(w); label && name != "Picture1")
            QCOMPARE(label->text(), text);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) QCOMPARE(edit->text(), text);
        if (auto* frame = qobject_cast<QGroupBox*>(w)) QCOMPARE(frame->title(), text);
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            QCOMPARE(button->text(), text);
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
    }

    void windowAsOpened() {
        QCOMPARE(window->windowTitle(), QString::fromUtf8("Tarvel计算"));
        QCOMPARE(window->size(), QSize(419, 558));
        QVERIFY(!bar()->isVisible());
        // The whole check panel lies beyond the right edge of the client area.
        for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const bool panel = w->x() >= 6480 / 15;
            QCOMPARE(panel, w->x() >= window->width());
        }
        QCOMPARE(find<QLabel>("Picture1")->contentsRect().size(), QSize(381, 229));
    }

    void figure() {
        const QImage image(":/assets/figure.png");
        QCOMPARE(image.size(), QSize(381, 229));
        QCOMPARE(image.depth(), 1);
        auto black = [&](int x, int y) { return image.pixelColor(x, y) == Qt::black; };
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32).allGray(), true);
        // Column walls, base plate, bolt lines, and white where nothing is drawn.
        for (int y : {40, 100})
            QVERIFY(black(29, y) && black(30, y) && black(142, y) && black(143, y));
        for (int x : {25, 86, 150})
            QVERIFY(black(x, 116) && black(x, 117));
        for (int y : {100, 190})
            QVERIFY(black(16, y) && black(17, y) && black(156, y) && black(157, y));
        QVERIFY(!black(60, 60) && !black(250, 10) && !black(200, 200));
        QVERIFY(black(286, 30) || black(286, 31) || black(286, 32)); // vertical centre line
        const QPixmap shown = find<QLabel>("Picture1")->pixmap();
        QCOMPARE(shown.size(), QSize(381, 229));
    }

    void font() {
        const QFont f = find("pt")->font();
        QCOMPARE(QFontInfo(f).family(), QString("WenQuanYi Zen Hei Mono"));
        const QFontMetrics metrics(f);
        QCOMPARE(metrics.horizontalAdvance(QString::fromUtf8("锚")), 12);
        QCOMPARE(metrics.horizontalAdvance("P"), 6);
        // The hints just fit their labels.
        QVERIFY(metrics.horizontalAdvance(QString::fromUtf8("(拉为负)")) <= 735 / 15);
        QVERIFY(metrics.horizontalAdvance(QString::fromUtf8("和弯矩")) <= 600 / 15);
    }

    void focusOrder() {
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Picture1"));
        const QStringList order{"pt",    "mt",       "d1t",      "d2t", "nt",   "tt",      "xt",
                                "qmaxt", "Command1", "Command2", "mqt", "fmst", "mmst",    "ct",
                                "c2t",   "h1t",      "h2t",      "fqt", "vt",   "Picture1"};
        for (const QString& name : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("vt"));
    }

    void calculateDefaults() {
        QStringList written;
        QList<bool> barShown;
        for (const QString& box : resultBoxes) {
            connect(find<QLineEdit>(box), &QLineEdit::textChanged, this,
                    [&, box](const QString& t) {
                        written << box + "=" + t;
                        barShown << bar()->isVisible();
                    });
        }
        QList<float> values;
        connect(bar(), &FloatProgressBar::floatValueChanged, this, [&](float v) { values << v; });
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(written, (QStringList{"xt=904.", "qmaxt=3.20", "tt=112.00", "fmst=567.49",
                                       "mmst=383.64", "fqt=1555.01", "mqt=610.46", "ct=393.",
                                       "c2t=676.", "h1t=987.52", "h2t=994.1", "vt=622."}));
        // Shown after xt is written, hidden again before vt.
        QCOMPARE(barShown, (QList<bool>{false, true, true, true, true, true, true, true, true, true,
                                        true, false}));
        QCOMPARE(bar()->floatMinimum(), 0.1f);
        QCOMPARE(bar()->floatMaximum(), 4.451559066772461f);
        QCOMPARE(values.size(), 44);
        QCOMPARE(values.first(), 0.1f);
        QCOMPARE(values.last(), static_cast<float>(4.4));
        QVERIFY(!bar()->isVisible());

        // A second click on unchanged inputs writes the same texts.
        QStringList first;
        for (const QString& box : resultBoxes)
            first << text(box);
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QStringList second;
        for (const QString& box : resultBoxes)
            second << text(box);
        QCOMPARE(second, first);
    }

    void refusal() {
        setInputs({"-1000", "0", "1520", "1620", "18"});
        markResults();
        ModalBox box;
        box.expect();
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(box.seen);
        QCOMPARE(box.text, QString::fromUtf8("底板全截面受拉"));
        QCOMPARE(box.title, QString("Tarvel"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, 1);
        expectResultsUntouched();
        QVERIFY(!bar()->isVisible());
        QCOMPARE(bar()->floatMaximum(), 100.0f); // the bar was not touched
    }

    void failures_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("written"); // boxes written before the failure
        QTest::newRow("P not a number")
            << QStringList{"abc", "1000", "1520", "1620", "18"} << "「P(kN)」不是有效的数字"
            << "pt" << QStringList{};
        QTest::newRow("M not a number")
            << QStringList{"1000", "", "1520", "1620", "18"} << "「M(kN)」不是有效的数字"
            << "mt" << QStringList{};
        QTest::newRow("d not a number")
            << QStringList{"1000", "1000", "1520mm", "1620", "18"} << "「d(mm)」不是有效的数字"
            << "d1t" << QStringList{};
        QTest::newRow("D not a number")
            << QStringList{"1000", "1000", "1520", "x", "18"} << "「D(mm)」不是有效的数字"
            << "d2t" << QStringList{};
        QTest::newRow("n empty") << QStringList{"1000", "1000", "1520", "1620", ""}
                                 << "「锚栓个数」不是有效的数字"
                                 << "nt" << QStringList{};
        QTest::newRow("P too large")
            << QStringList{"1e307", "1000", "1520", "1620", "18"} << "「P(kN)」的数值超出范围"
            << "pt" << QStringList{};
        QTest::newRow("101 bolts")
            << QStringList{"1000", "1000", "1520", "1620", "101"} << "「锚栓个数」不能超过 100"
            << "nt" << QStringList{};
        QTest::newRow("d zero") << QStringList{"1000", "1000", "0", "1620", "18"}
                                << "「d(mm)」不能为 0"
                                << "d1t" << QStringList{};
        QTest::newRow("search fault")
            << QStringList{"-8000", "1000", "1000", "1620", "18"} << "计算中出现除以零"
            << "" << QStringList{"xt"};
    }

    void failures() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QStringList, written);
        setInputs(inputs);
        markResults();
        ModalBox box;
        box.expect();
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(box.seen);
        QCOMPARE(box.text, message);
        QCOMPARE(box.title, QString("Tarvel"));
        QVERIFY(window->isVisible());
        QVERIFY(!bar()->isVisible());
        for (const QString& name : resultBoxes)
            QCOMPARE(text(name) == "prev", !written.contains(name));
        if (!focus.isEmpty()) {
            QCOMPARE(window->focusWidget(), find(focus));
            QCOMPARE(find<QLineEdit>(focus)->selectedText(), find<QLineEdit>(focus)->text());
        }
    }

    void zeroBoltsCompute() {
        setInputs({"1000", "1000", "1520", "1620", "0"});
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(text("c2t"), QString("."));
        QCOMPARE(text("vt"), QString("408."));
    }

    void exitButton() {
        QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

    void exitDuringLongCalculation() {
        // Hundreds of thousands of trials: Exit still ends it, a second Calculate does not run.
        setInputs({"1e8", "1000", "1520", "1620", "18"});
        markResults();
        int calculations = 0;
        connect(find<QLineEdit>("xt"), &QLineEdit::textChanged, this, [&] { ++calculations; });
        // At the first progress report the user clicks Calculate, then Exit: the clicks
        // arrive when the long calculation next lets the window handle its events.
        bool clicked = false;
        connect(bar(), &FloatProgressBar::floatValueChanged, this, [&] {
            if (std::exchange(clicked, true)) return;
            QMetaObject::invokeMethod(find<QPushButton>("Command1"), "click", Qt::QueuedConnection);
            QMetaObject::invokeMethod(find<QPushButton>("Command2"), "click", Qt::QueuedConnection);
        });
        QElapsedTimer clock;
        clock.start();
        find<QPushButton>("Command1")->click();
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(calculations, 1);
        QVERIFY(!window->isVisible());
        QCOMPARE(text("vt"), QString("prev"));
    }

    // With TARVEL_SCREENSHOT set, saves the window after a calculation on the defaults.
    void screenshot() {
        const QByteArray path = qgetenv("TARVEL_SCREENSHOT");
        if (path.isEmpty()) QSKIP("TARVEL_SCREENSHOT not set");
        QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(window->grab().save(QString::fromLocal8Bit(path)));
    }
};

QTEST_MAIN(WindowTest)
#include "kqform1_test.moc"
