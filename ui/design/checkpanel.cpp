#include "design/checkpanel.h"

#include "checks/methods.h"
#include "core/number.h"
#include "design/compatibilitycolumn.h"
#include "design/femcolumn.h"
#include "loads/utilisationdelegate.h"

#include <cmath>

namespace {

constexpr int verdictPixels = 30;
// Room on either side of a number in the check table, px.
constexpr int cellPadding = 16;
// The column of the rigid-plate state in the grid of the exact equilibrium.
constexpr int compatibilityColumn = 3;
// And of the plate finite-element state, after it.
constexpr int femColumn = 4;
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

// The two misses of the equilibrium check with what each is taken against, one line for each
// method whose result the checks read: each method's gaps over its own state. With two the
// envelope's check takes the larger, and the last line says so.
QString equilibriumBasisText(const tarvel::DesignChecks& checks, const tarvel::InputTexts& inputs,
                             const std::vector<CheckPanel::MethodResult>& methods) {
    const double P = tarvel::textToNumber(inputs[0]);
    const double M = std::fabs(tarvel::textToNumber(inputs[1]));
    auto two = [](double v) { return text(tarvel::twoDecimals(v)); };
    QStringList lines;
    for (const CheckPanel::MethodResult& m : methods) {
        const tarvel::EquilibriumMisses misses = tarvel::equilibriumMisses(inputs, m.result);
        const double forceGap = std::fabs(tarvel::textToNumber(m.result.h1t) - P);
        const double momentGap = std::fabs(tarvel::textToNumber(m.result.h2t) - M);
        lines << QString(
                     "平衡校核的相对差（%1）：竖向力 |ΣN − P| = %2 kN ÷ max(|P|, C, F) = %3 kN = "
                     "%4 %；弯矩 |ΣM − M| = %5 kN·m ÷ max(M, (C + F)·d/2000) = %6 kN·m = %7 %")
                     .arg(QString::fromUtf8(tarvel::methodTitle(m.method)), two(forceGap),
                          two(misses.forceReference), two(misses.force), two(momentGap),
                          two(misses.momentReference), two(misses.moment));
    }
    if (methods.size() > 1) {
        const tarvel::Check& c = checks[tarvel::CheckId::Equilibrium];
        lines << QString("包络的平衡校核取两种方法中较大的相对差：%1 %（%2）")
                     .arg(text(c.demandText), text(c.remark));
    }
    return lines.join('\n');
}

// A check's figures with their unit, then its formula: the formula alone may not repeat the
// demand (σmax ≤ βl·fc).
QString checkTip(const tarvel::Check& c) {
    const QString unit = QString::fromUtf8(tarvel::checkDefinition(c.id).unit);
    QString tip = QString("设计值 %1 %2，承载力/限值 %3 %2，利用率 %4")
                      .arg(text(c.demandText), unit, text(c.capacityText), text(c.ratioText));
    if (!c.formula.empty()) tip += "\n" + QString::fromStdString(tarvel::formulaPlain(c.formula));
    return tip;
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

CheckPanel::CheckPanel(QWidget* parent) : QWidget(parent) {
    ui_.setupUi(this);
    compatibility_ = std::make_unique<CompatibilityColumn>(ui_.refinedGrid, compatibilityColumn);
    fem_ = std::make_unique<FemColumn>(ui_.refinedGrid, femColumn);
    ui_.checkTable->setColumnCount(columnCount);
    ui_.checkTable->setHorizontalHeaderLabels(
        {"项目", "设计值", "承载力/限值", "利用率", "结论", "备注"});
    ui_.checkTable->setItemDelegateForColumn(RatioColumn, new UtilisationDelegate(ui_.checkTable));
    // What the equilibrium check's misses are taken against, under the table.
    equilibriumBasis_ = new QLabel;
    equilibriumBasis_->setObjectName("equilibriumBasis");
    equilibriumBasis_->setWordWrap(true);
    equilibriumBasis_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui_.panelLayout->insertWidget(ui_.panelLayout->indexOf(ui_.checkTable) + 1, equilibriumBasis_);
    // Long remarks wrap: the rows grow when the remark column narrows.
    connect(ui_.checkTable->horizontalHeader(), &QHeaderView::sectionResized, this,
            &CheckPanel::fitTable);
    // Spare height goes to the table. Its preferred height is that of its rows: a scrolled
    // tab lays out at the preferred heights, and should not pad the table there.
    ui_.panelLayout->setStretchFactor(ui_.checkTable, 1);
    ui_.checkTable->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    ui_.checkTable->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
}

CheckPanel::~CheckPanel() = default;

void CheckPanel::setStatus(const QString& text) {
    ui_.statusLabel->setText(text);
}

void CheckPanel::showCompatibility(const tarvel::InputTexts& inputs,
                                   const tarvel::DesignInput& design) {
    compatibility_->show(inputs, design);
}

void CheckPanel::showFem(const tarvel::ComputedCase& outcome) {
    fem_->show(outcome);
}

void CheckPanel::showFemRunning(const QString& text) {
    fem_->showRunning(text);
}

void CheckPanel::hideFem() {
    fem_->hide();
}

void CheckPanel::showChecks(const tarvel::DesignChecks& checks, const tarvel::InputTexts& inputs,
                            const tarvel::BaseResult& result,
                            const std::vector<MethodResult>& methods) {
    ui_.statusLabel->setText("按最近一次计算的结果验算");
    ui_.verdictLabel->setText(checks.ok ? "满足" : "不满足");
    ui_.verdictLabel->setStyleSheet(verdictStyle(checks.ok));

    QTableWidget* table = ui_.checkTable;
    const std::vector<const tarvel::Check*> made = checks.made();
    // Without detailing a last row says plainly that the steel parts were not checked.
    const bool steelUnchecked = !checks.detailing;
    table->setRowCount(static_cast<int>(made.size()) + (steelUnchecked ? 1 : 0));
    for (int row = 0; row < static_cast<int>(made.size()); ++row) {
        const tarvel::Check& c = *made[row];
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
            cell->setToolTip(checkTip(c));
            table->setItem(row, column, cell);
        }
    }
    if (steelUnchecked) {
        const int row = static_cast<int>(made.size());
        const QString cells[columnCount] = {
            "板件", "",       "",
            "",     "未验算", "未输入构造参数：底板、锚栓顶板、加劲肋、焊缝、钢管及锚固长度未验算"};
        for (int column = 0; column < columnCount; ++column) {
            auto* cell = new QTableWidgetItem(cells[column]);
            if (column == VerdictColumn) cell->setTextAlignment(Qt::AlignCenter);
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
    // Beside the exact values, the search's with their leading zero.
    auto shown = [](const std::string& s) { return text(tarvel::withLeadingZero(s)); };
    ui_.searchQmax->setText(shown(result.qmaxt));
    ui_.searchT->setText(shown(result.tt));
    ui_.searchC->setText(shown(result.fqt));
    ui_.searchF->setText(shown(result.fmst));
    ui_.searchForce->setText(shown(result.h1t));
    ui_.searchMoment->setText(shown(result.h2t));
    ui_.refinedStatus->setText(refinedStatusText(r));
    // The elastic method takes a solid disc: beside a plate with a hole its figures are no
    // state of this base.
    if (checks.data.input.plateHole > 0) {
        for (QLabel* label : {ui_.refinedQmax, ui_.refinedT, ui_.refinedC, ui_.refinedF,
                              ui_.refinedForce, ui_.refinedMoment, ui_.searchQmax, ui_.searchT,
                              ui_.searchC, ui_.searchF, ui_.searchForce, ui_.searchMoment})
            label->setText("—");
        ui_.refinedStatus->setText("弹性受压区法按实心圆板计算，底板开中心孔时不适用");
    }
    equilibriumBasis_->setText(equilibriumBasisText(checks, inputs, methods));

    QStringList remarks;
    for (const std::string& remark : checks.geometryRemarks)
        remarks << "• " + text(remark);
    ui_.geometryLabel->setText(remarks.isEmpty() ? "无" : remarks.join('\n'));
}

// The table is at least as tall as its rows, and takes any height the window has to spare.
void CheckPanel::fitTable() {
    QTableWidget* table = ui_.checkTable;
    table->resizeRowsToContents();
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row)
        height += table->rowHeight(row);
    table->setMinimumHeight(height);
}

void CheckPanel::showNothing(const QString& message) {
    ui_.statusLabel->setText(message);
    compatibility_->clear();
    fem_->hide();
    ui_.verdictLabel->clear();
    ui_.checkTable->setRowCount(0);
    fitTable();
    for (QLabel* label :
         {ui_.refinedQmax, ui_.refinedT, ui_.refinedC, ui_.refinedF, ui_.refinedForce,
          ui_.refinedMoment, ui_.searchQmax, ui_.searchT, ui_.searchC, ui_.searchF, ui_.searchForce,
          ui_.searchMoment, ui_.refinedStatus, ui_.geometryLabel, equilibriumBasis_})
        label->clear();
}
