#include "designwindow.h"

#include "designsettings.h"
#include "kqform1.h"
#include "utilisationdelegate.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

// The window reads best a little larger than the form it follows.
constexpr int fontPixels = 14;
constexpr int verdictPixels = 30;
// Room on either side of a number in the check table, px.
constexpr int cellPadding = 16;
const QColor passColour(0x2e, 0x7d, 0x32);
const QColor failColour(0xc6, 0x28, 0x28);

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString verdictStyle(bool ok) {
    return QString("QLabel { color: %1; font-weight: bold; font-size: %2px; }")
        .arg((ok ? passColour : failColour).name())
        .arg(verdictPixels);
}

QString refinedStatusText(const tarvel::RefinedEquilibrium& r) {
    using Status = tarvel::RefinedEquilibrium::Status;
    switch (r.status) {
    case Status::Solved:
        return QString("σmax ≥ 0、T ≥ 0 同时满足力和弯矩的平衡（受拉锚栓 %1 个）")
            .arg(r.boltsInTension);
    case Status::NoEquilibrium:
        return QString("按弹性受压区长度，此荷载组合无平衡解（精确解需 %1）")
            .arg(r.qmax < 0 ? "σmax < 0" : "T < 0");
    case Status::ForceOnly:
        return "无受拉锚栓：T = 0，σmax 只满足力的平衡";
    case Status::Singular:
        break;
    }
    return "平衡方程不能确定 σmax 与 T";
}

} // namespace

DesignWindow::DesignWindow(QWidget* parent) : QMainWindow(parent) {
    ui_.setupUi(this);
    QFont font(Kqform1::windowFont().family());
    font.setPixelSize(fontPixels);
    setFont(font);
    // Menus are windows of their own and do not inherit the font.
    ui_.menuFile->setFont(font);
    ui_.menuHelp->setFont(font);
    // Export and print entries go above this separator.
    ui_.menuFile->insertSeparator(ui_.actionClose);

    ui_.checkTable->setColumnCount(columnCount);
    ui_.checkTable->setHorizontalHeaderLabels(
        {"项目", "设计值", "承载力/限值", "利用率", "结论", "备注"});
    ui_.checkTable->setItemDelegateForColumn(RatioColumn, new UtilisationDelegate(ui_.checkTable));
    // Long remarks wrap: the rows grow when the remark column narrows.
    connect(ui_.checkTable->horizontalHeader(), &QHeaderView::sectionResized, this,
            &DesignWindow::fitTable);

    fillChoices();
    setDesignInput(DesignSettings::load());

    connect(ui_.boltCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.steelCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.concreteCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.betaSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(ui_.shearSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(ui_.frictionSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(ui_.actionClose, &QAction::triggered, this, &DesignWindow::close);
    connect(ui_.actionAbout, &QAction::triggered, this, &DesignWindow::about);

    showNoChecks("尚未计算");
}

void DesignWindow::fillChoices() {
    for (const tarvel::BoltSize& size : tarvel::boltSizes())
        ui_.boltCombo->addItem(size.name);
    for (const tarvel::SteelGrade& grade : tarvel::steelGrades())
        ui_.steelCombo->addItem(grade.name);
    for (const tarvel::ConcreteGrade& grade : tarvel::concreteGrades())
        ui_.concreteCombo->addItem(grade.name);
    ui_.betaSpin->setRange(tarvel::minBetaL, tarvel::maxBetaL);
    ui_.shearSpin->setRange(-DesignSettings::maxShear, DesignSettings::maxShear);
    ui_.frictionSpin->setRange(DesignSettings::minFriction, tarvel::maxFriction);
}

tarvel::DesignInput DesignWindow::designInput() const {
    tarvel::DesignInput in;
    in.bolt = ui_.boltCombo->currentText().toStdString();
    in.steel = ui_.steelCombo->currentText().toStdString();
    in.concrete = ui_.concreteCombo->currentText().toStdString();
    in.betaL = ui_.betaSpin->value();
    in.V = ui_.shearSpin->value();
    in.friction = ui_.frictionSpin->value();
    return in;
}

void DesignWindow::setDesignInput(const tarvel::DesignInput& in) {
    const QSignalBlocker blockBolt(ui_.boltCombo), blockSteel(ui_.steelCombo),
        blockConcrete(ui_.concreteCombo), blockBeta(ui_.betaSpin), blockShear(ui_.shearSpin),
        blockFriction(ui_.frictionSpin);
    ui_.boltCombo->setCurrentText(text(in.bolt));
    ui_.steelCombo->setCurrentText(text(in.steel));
    ui_.concreteCombo->setCurrentText(text(in.concrete));
    ui_.betaSpin->setValue(in.betaL);
    ui_.shearSpin->setValue(in.V);
    ui_.frictionSpin->setValue(in.friction);
}

void DesignWindow::designChanged() {
    DesignSettings::save(designInput());
    if (last_) refresh();
}

void DesignWindow::showCalculation(const tarvel::InputTexts& inputs,
                                   const tarvel::BaseResult& result) {
    showInputs(inputs);
    try {
        // The first stage only: it gives the geometry the exact equilibrium needs.
        last_ = LastCase{inputs, result, tarvel::analyze(inputs)};
    } catch (const tarvel::TarvelError& error) {
        last_.reset();
        showNoChecks(QString("计算失败：%1").arg(QString::fromUtf8(error.what())));
        return;
    }
    refresh();
}

void DesignWindow::showRefusal(const tarvel::InputTexts& inputs) {
    last_.reset();
    showInputs(inputs);
    showNoChecks(QString("%1，无验算结果").arg(QString::fromUtf8(tarvel::fullTensionMessage)));
}

void DesignWindow::showFailure(const tarvel::InputTexts& inputs, const QString& message) {
    last_.reset();
    showInputs(inputs);
    showNoChecks(QString("计算失败：%1").arg(message));
}

void DesignWindow::refresh() {
    try {
        showChecks(
            tarvel::checkDesign(last_->analysis, last_->inputs, last_->result, designInput()),
            last_->result);
    } catch (const tarvel::TarvelError& error) {
        // The boxes offer only valid choices, but a check must never show a stale verdict.
        showNoChecks(QString("设计参数有误：%1").arg(QString::fromUtf8(error.what())));
    }
}

void DesignWindow::showInputs(const tarvel::InputTexts& inputs) {
    QLineEdit* const fields[] = {ui_.inputP, ui_.inputM, ui_.inputd, ui_.inputD, ui_.inputn};
    for (std::size_t i = 0; i < inputs.size(); ++i)
        fields[i]->setText(text(inputs[i]));
}

void DesignWindow::showChecks(const tarvel::DesignChecks& checks,
                              const tarvel::BaseResult& result) {
    ui_.statusLabel->setText("按最近一次计算的结果验算");
    ui_.verdictLabel->setText(checks.ok ? "满足" : "不满足");
    ui_.verdictLabel->setStyleSheet(verdictStyle(checks.ok));

    QTableWidget* table = ui_.checkTable;
    table->setRowCount(tarvel::checkCount);
    for (int row = 0; row < tarvel::checkCount; ++row) {
        const tarvel::Check& c = checks.checks[row];
        const QString cells[columnCount] = {QString::fromUtf8(c.title), text(c.demandText),
                                            text(c.capacityText),       text(c.ratioText),
                                            c.ok ? "满足" : "不满足",   text(c.remark)};
        for (int column = 0; column < columnCount; ++column) {
            auto* cell = new QTableWidgetItem(cells[column]);
            if (column == DemandColumn || column == CapacityColumn)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == RatioColumn) cell->setData(UtilisationDelegate::ratioRole, c.ratio);
            if (column == VerdictColumn) {
                cell->setTextAlignment(Qt::AlignCenter);
                cell->setForeground(c.ok ? passColour : failColour);
            }
            table->setItem(row, column, cell);
        }
    }
    for (int column = 0; column < RemarkColumn; ++column) {
        table->resizeColumnToContents(column);
        table->setColumnWidth(column, table->columnWidth(column) + cellPadding);
    }
    fitTable();

    const tarvel::RefinedEquilibrium& r = checks.refined;
    const bool determined = r.status != tarvel::RefinedEquilibrium::Status::Singular;
    auto exact = [determined](double value) {
        return determined ? text(tarvel::twoDecimals(value)) : QString("—");
    };
    ui_.refinedQmax->setText(exact(r.qmax));
    ui_.refinedT->setText(exact(r.T));
    ui_.refinedC->setText(exact(r.C));
    ui_.refinedF->setText(exact(r.F));
    ui_.refinedForce->setText(exact(r.forceSum));
    ui_.refinedMoment->setText(exact(r.momentSum));
    ui_.searchQmax->setText(text(result.qmaxt));
    ui_.searchT->setText(text(result.tt));
    ui_.searchC->setText(text(result.fqt));
    ui_.searchF->setText(text(result.fmst));
    ui_.searchForce->setText(text(result.h1t));
    ui_.searchMoment->setText(text(result.h2t));
    ui_.refinedStatus->setText(refinedStatusText(r));

    QStringList remarks;
    for (const std::string& remark : checks.geometryRemarks)
        remarks << "• " + text(remark);
    ui_.geometryLabel->setText(remarks.isEmpty() ? "无" : remarks.join('\n'));
}

// The table is exactly as tall as its rows: the space below goes to the boxes underneath.
void DesignWindow::fitTable() {
    QTableWidget* table = ui_.checkTable;
    table->resizeRowsToContents();
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row)
        height += table->rowHeight(row);
    table->setFixedHeight(height);
}

void DesignWindow::showNoChecks(const QString& message) {
    ui_.statusLabel->setText(message);
    ui_.verdictLabel->clear();
    ui_.checkTable->setRowCount(0);
    fitTable();
    for (QLabel* label :
         {ui_.refinedQmax, ui_.refinedT, ui_.refinedC, ui_.refinedF, ui_.refinedForce,
          ui_.refinedMoment, ui_.searchQmax, ui_.searchT, ui_.searchC, ui_.searchF, ui_.searchForce,
          ui_.searchMoment, ui_.refinedStatus, ui_.geometryLabel})
        label->clear();
}

void DesignWindow::about() {
    QMessageBox::about(
        this, "关于 Tarvel",
        QString("<p><b>Tarvel</b> %1</p><p>圆钢管柱脚计算：由轴力与弯矩求底板受压区、"
                "锚栓拉力和混凝土承压应力，并作设计验算。</p>")
            .arg(QCoreApplication::applicationVersion()));
}
