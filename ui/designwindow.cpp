#include "designwindow.h"

#include "designreports.h"
#include "compatibilitycolumn.h"
#include "designsettings.h"
#include "compatibility.h"
#include "envelope.h"
#include "detailingpanel.h"
#include "diagramwidget.h"
#include "helpdialog.h"
#include "kqform1.h"
#include "loadtablepane.h"
#include "number.h"
#include "projectdocument.h"
#include "shortcutkeeper.h"
#include "sizingpane.h"
#include "utilisationdelegate.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>

#include <cmath>
#include <utility>

namespace {

// The window reads best a little larger than the form it follows.
constexpr int fontPixels = 14;
constexpr int verdictPixels = 30;
// The window opens no larger than a laptop's 1280×720 screen leaves it: room for the
// title bar and a panel.
constexpr int laptopWidth = 1280;
constexpr int laptopClientHeight = 640;
// Room on either side of a number in the check table, px.
constexpr int cellPadding = 16;
const QColor passColour(0x2e, 0x7d, 0x32);
const QColor failColour(0xc6, 0x28, 0x28);

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

const QString projectFilter = "Tarvel 项目 (*.tarvel)";

// The local files of a drop, if they are a project or a load table.
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QString path = data->urls().front().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "tarvel" || suffix == "csv" || suffix == "tsv" ? path : QString();
}

QString verdictStyle(bool ok) {
    return QString("QLabel { color: %1; font-weight: bold; font-size: %2px; }")
        .arg((ok ? passColour : failColour).name())
        .arg(verdictPixels);
}

// The two misses of the equilibrium check with what each is taken against.
QString equilibriumBasisText(const tarvel::DesignChecks& checks, const tarvel::InputTexts& inputs,
                             const tarvel::BaseResult& result) {
    const double P = tarvel::textToNumber(inputs[0]);
    const double M = std::fabs(tarvel::textToNumber(inputs[1]));
    const double forceGap = std::fabs(tarvel::textToNumber(result.h1t) - P);
    const double momentGap = std::fabs(tarvel::textToNumber(result.h2t) - M);
    auto two = [](double v) { return text(tarvel::twoDecimals(v)); };
    return QString("平衡校核的相对差：竖向力 |ΣN − P| = %1 kN ÷ max(|P|, C, F) = %2 kN = %3 %；"
                   "弯矩 |ΣM − M| = %4 kN·m ÷ max(M, (C + F)·d/2000) = %5 kN·m = %6 %")
        .arg(two(forceGap), two(checks.forceReference), two(checks.forceMiss), two(momentGap),
             two(checks.momentReference), two(checks.momentMiss));
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

DesignWindow::DesignWindow(QWidget* parent)
    : QMainWindow(parent), loads_(new LoadTablePane), document_(new ProjectDocument(this)),
      diagram_(new DiagramWidget), detailing_(new DetailingPanel) {
    ui_.setupUi(this);
    methodCombo_ = new QComboBox;
    methodCombo_->setObjectName("methodCombo");
    for (auto m : {tarvel::AnalysisMethod::Elastic, tarvel::AnalysisMethod::Compatibility,
                   tarvel::AnalysisMethod::Envelope})
        methodCombo_->addItem(QString::fromUtf8(tarvel::methodTitle(m)), static_cast<int>(m));
    modularSpin_ = new QDoubleSpinBox;
    modularSpin_->setObjectName("modularSpin");
    // 0 stands for "by the concrete grade"; a ratio typed is 1 to 50.
    modularSpin_->setRange(0, tarvel::maxModularRatio);
    modularSpin_->setDecimals(2);
    modularSpin_->setSpecialValueText("按混凝土等级");
    ui_.designForm->addRow("分析方法", methodCombo_);
    ui_.designForm->addRow("模量比 nE", modularSpin_);
    compatibility_ = std::make_unique<CompatibilityColumn>(ui_.refinedGrid, 3);
    ui_.topRow->addWidget(detailing_);
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
    // What the equilibrium check's misses are taken against, under the table.
    equilibriumBasis_ = new QLabel;
    equilibriumBasis_->setObjectName("equilibriumBasis");
    equilibriumBasis_->setWordWrap(true);
    equilibriumBasis_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui_.checkLayout->insertWidget(ui_.checkLayout->indexOf(ui_.checkTable) + 1, equilibriumBasis_);
    // Long remarks wrap: the rows grow when the remark column narrows.
    connect(ui_.checkTable->horizontalHeader(), &QHeaderView::sectionResized, this,
            &DesignWindow::fitTable);

    fitSmallScreens();
    fillChoices();
    setDesignInput(DesignSettings::load());

    connect(ui_.boltCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.steelCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.concreteCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.betaSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(ui_.shearSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(ui_.frictionSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    // Each is saved in the project and marks it modified.
    for (QComboBox* combo : {ui_.boltCombo, ui_.steelCombo, ui_.concreteCombo})
        connect(combo, &QComboBox::currentIndexChanged, document_,
                [this] { document_->setModified(true); });
    for (QDoubleSpinBox* spin : {ui_.betaSpin, ui_.shearSpin, ui_.frictionSpin})
        connect(spin, &QDoubleSpinBox::valueChanged, document_,
                [this] { document_->setModified(true); });
    connect(detailing_, &DetailingPanel::changed, this, &DesignWindow::designChanged);
    connect(methodCombo_, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(modularSpin_, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(methodCombo_, &QComboBox::currentIndexChanged, document_,
            [this] { document_->setModified(true); });
    connect(modularSpin_, &QDoubleSpinBox::valueChanged, document_,
            [this] { document_->setModified(true); });
    connect(detailing_, &DetailingPanel::changed, document_,
            [this] { document_->setModified(true); });
    connect(ui_.actionClose, &QAction::triggered, this, &DesignWindow::close);
    connect(ui_.actionAbout, &QAction::triggered, this, &DesignWindow::about);
    auto* help = new QAction("使用说明", this);
    help->setObjectName("actionHelp");
    help->setShortcut(QKeySequence::HelpContents);
    ui_.menuHelp->insertAction(ui_.actionAbout, help);
    connect(help, &QAction::triggered, this, [this] {
        HelpDialog dialog(this);
        dialog.exec();
    });

    ui_.tabs->addTab(diagram_, "计算简图");
    ui_.tabs->addTab(loads_, "荷载组合");
    ui_.tabs->addTab(new SizingPane([this] { return project(); },
                                    [this](const tarvel::Project& p) { adoptDesign(p); },
                                    loads_->model()->undoStack()),
                     "优化选型");
    // The report of what is in front: the last calculation, or the project on its tab.
    reports_ = new ReportActions(this, [this] { return designreports::shownReport(*this); });
    for (QAction* action : {reports_->exportAction(), reports_->printAction(),
                            reports_->previewAction(), reports_->infoAction()})
        ui_.menuFile->insertAction(ui_.actionClose, action);
    ui_.menuFile->insertSeparator(ui_.actionClose);
    new ShortcutKeeper(this, {reports_->exportAction()->shortcut()});
    reports_->setProjectLink(reportLink());
    loads_->setDesignSource([this] { return designInput(); });
    connect(loads_, &LoadTablePane::changed, document_, [this] { document_->setModified(true); });
    connect(loads_, &LoadTablePane::caseChosen, this, &DesignWindow::sendRow);
    connect(document_, &ProjectDocument::changed, this, &DesignWindow::updateTitle);
    setupFileMenu();
    setAcceptDrops(true);
    updateTitle();

    showNoChecks("尚未计算");
}

void DesignWindow::setupFileMenu() {
    QMenu* menu = ui_.menuFile;
    QAction* first = menu->actions().value(0);
    auto add = [&](const QString& text, QKeySequence key, const char* name) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(key);
        menu->insertAction(first, action);
        return action;
    };
    connect(add("新建", QKeySequence::New, "actionNew"), &QAction::triggered, this,
            &DesignWindow::newProject);
    connect(add("打开…", QKeySequence::Open, "actionOpen"), &QAction::triggered, this,
            &DesignWindow::openProjectDialog);
    connect(add("保存", QKeySequence::Save, "actionSave"), &QAction::triggered, this,
            &DesignWindow::saveProject);
    connect(add("另存为…", QKeySequence::SaveAs, "actionSaveAs"), &QAction::triggered, this,
            &DesignWindow::saveProjectAsDialog);
    recentMenu_ = new QMenu("最近打开", menu);
    recentMenu_->setObjectName("menuRecent");
    recentMenu_->setFont(menu->font());
    menu->insertMenu(first, recentMenu_);
    menu->insertSeparator(first);
    connect(recentMenu_, &QMenu::aboutToShow, this, &DesignWindow::fillRecentMenu);
    fillRecentMenu();
}

void DesignWindow::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList files = ProjectDocument::recentFiles();
    for (const QString& path : files) {
        QAction* action = recentMenu_->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (!maybeSave()) return;
            if (!openProject(path) && !QFileInfo::exists(path))
                ProjectDocument::removeRecentFile(path);
        });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void DesignWindow::updateTitle() {
    setWindowTitle(QString("%1[*] - 设计验算 - Tarvel").arg(document_->displayName()));
    setWindowModified(document_->modified());
}

bool DesignWindow::hasProject() const {
    if (!document_->path().isEmpty() || loads_->model()->rowCount() > 0) return true;
    tarvel::Project p;
    loads_->fillProject(p);
    return !(p.info == tarvel::ProjectInfo{});
}

ReportActions::ProjectLink DesignWindow::reportLink() {
    using tarvel::report::ReportInfo;
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    return {[this] { return hasProject(); },
            [this, q] {
                const tarvel::ProjectInfo i = project().info;
                return ReportInfo{q(i.project), q(i.member), q(i.designer), q(i.checker)};
            },
            [this](const ReportInfo& i) {
                loads_->setInfo({i.project.toStdString(), i.member.toStdString(),
                                 i.designer.toStdString(), i.checker.toStdString()});
            },
            [this] {
                const QString path = document_->path();
                return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
            }};
}

tarvel::Project DesignWindow::project() const {
    tarvel::Project p;
    loads_->fillProject(p);
    p.design = designInput();
    // The sizing ranges of an opened project go back into it unchanged.
    p.sizing = sizingRanges_;
    return p;
}

void DesignWindow::showProject(const tarvel::Project& p) {
    sizingRanges_ = p.sizing;
    setDesignInput(p.design);
    DesignSettings::save(designInput());
    if (last_) refresh();
    loads_->invalidate();
    loads_->showProject(p);
}

void DesignWindow::newProject() {
    if (!maybeSave()) return;
    tarvel::Project p;
    p.design = designInput();
    if (last_) {
        p.d = last_->inputs[2];
        p.D = last_->inputs[3];
        p.n = last_->inputs[4];
    }
    showProject(p);
    document_->reset();
}

bool DesignWindow::openProject(const QString& path) {
    if (loads_->running()) {
        warn("全部计算进行中，请先取消或等它结束");
        return false;
    }
    QString error;
    const std::optional<tarvel::Project> p = document_->open(path, &error);
    if (!p) {
        warn(error);
        return false;
    }
    showProject(*p);
    // Showing it touched the inputs; what is shown is what the file holds.
    document_->setModified(false);
    // A project is its load combinations: they come to the front.
    ui_.tabs->setCurrentWidget(loads_);
    return true;
}

void DesignWindow::openProjectDialog() {
    if (!maybeSave()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, "打开项目", QFileInfo(document_->path()).absolutePath(), projectFilter);
    if (!path.isEmpty()) openProject(path);
}

bool DesignWindow::saveProjectAs(const QString& path) {
    QString error;
    if (!document_->save(path, project(), &error)) {
        warn(error);
        return false;
    }
    return true;
}

bool DesignWindow::saveProject() {
    if (document_->path().isEmpty()) return saveProjectAsDialog();
    return saveProjectAs(document_->path());
}

bool DesignWindow::saveProjectAsDialog() {
    QString path = QFileDialog::getSaveFileName(
        this, "另存为", document_->path().isEmpty() ? "项目.tarvel" : document_->path(),
        projectFilter);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += tarvel::projectSuffix;
    return saveProjectAs(path);
}

bool DesignWindow::maybeSave() {
    if (!document_->modified()) return true;
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                    QString("项目「%1」有未保存的修改，是否保存？").arg(document_->displayName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText("保存");
    box.button(QMessageBox::Discard)->setText("不保存");
    box.button(QMessageBox::Cancel)->setText("取消");
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveProject();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void DesignWindow::warn(const QString& message) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), message,
                    QMessageBox::Ok, this);
    box.exec();
}

void DesignWindow::closeEvent(QCloseEvent* event) {
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void DesignWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void DesignWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    if (QFileInfo(path).suffix().toLower() == "tarvel") {
        if (maybeSave()) openProject(path);
        return;
    }
    QString error;
    ui_.tabs->setCurrentWidget(loads_);
    if (!loads_->importCsv(path, &error)) warn(error);
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
    in.detailing = detailing_->detailing();
    in.method = static_cast<tarvel::AnalysisMethod>(methodCombo_->currentData().toInt());
    if (modularSpin_->value() > 0) in.modularRatio = modularSpin_->value();
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
    detailing_->setDetailing(in.detailing);
    {
        const QSignalBlocker blockMethod(methodCombo_), blockModular(modularSpin_);
        methodCombo_->setCurrentIndex(methodCombo_->findData(static_cast<int>(in.method)));
        modularSpin_->setValue(in.modularRatio.value_or(0));
    }
    loads_->showSteelColumns(in.detailing.has_value());
}

void DesignWindow::adoptDesign(const tarvel::Project& p) {
    tarvel::DesignInput design = p.design;
    design.V = ui_.shearSpin->value();
    setDesignInput(design);
    loads_->setGeometry(p);
    designChanged();
    document_->setModified(true);
}

void DesignWindow::designChanged() {
    DesignSettings::save(designInput());
    loads_->showSteelColumns(detailing_->isChecked());
    loads_->invalidate();
    if (last_) refresh();
}

void DesignWindow::showCalculation(const tarvel::InputTexts& inputs,
                                   const tarvel::BaseResult& result) {
    showInputs(inputs);
    loads_->offerGeometry(inputs);
    const std::optional<SentRow> sent = std::exchange(sent_, std::nullopt);
    try {
        // The first stage only: it gives the geometry the exact equilibrium needs.
        last_ = LastCase{inputs, result, tarvel::analyze(inputs), std::nullopt};
        // The calculation of a row sent here is checked with the row's V.
        if (sent && sent->inputs == inputs) last_->row = sent;
        diagram_->showDiagram(tarvel::report::makeDiagramData(last_->analysis, result));
    } catch (const tarvel::TarvelError& error) {
        last_.reset();
        showNoChecks(QString("计算失败：%1").arg(QString::fromUtf8(error.what())));
        return;
    }
    refresh();
}

void DesignWindow::sendRow(const tarvel::InputTexts& inputs, const QString& V,
                           const QString& label) {
    sent_ = SentRow{inputs, V, label};
    emit caseChosen(inputs);
}

tarvel::DesignInput DesignWindow::lastDesign() const {
    tarvel::DesignInput design = designInput();
    if (last_ && last_->row && !last_->row->V.trimmed().isEmpty())
        design.V = tarvel::designNumber(last_->row->V.toStdString(), tarvel::InputField::V);
    return design;
}

std::optional<tarvel::InputTexts> DesignWindow::lastInputs() const {
    if (!last_) return std::nullopt;
    return last_->inputs;
}

bool DesignWindow::showsLoadTable() const {
    return ui_.tabs->currentWidget() == loads_;
}

void DesignWindow::showRefusal(const tarvel::InputTexts& inputs) {
    last_.reset();
    sent_.reset();
    showInputs(inputs);
    showNoChecks(QString("%1，无验算结果").arg(QString::fromUtf8(tarvel::fullTensionMessage)));
}

void DesignWindow::showFailure(const tarvel::InputTexts& inputs, const QString& message) {
    last_.reset();
    sent_.reset();
    showInputs(inputs);
    showNoChecks(QString("计算失败：%1").arg(message));
}

void DesignWindow::refresh() {
    try {
        const tarvel::DesignInput design = lastDesign();
        compatibility_->show(last_->inputs, design);
        tarvel::DesignInput elasticDesign = design;
        elasticDesign.method = tarvel::AnalysisMethod::Elastic;
        const tarvel::DesignChecks elastic =
            tarvel::checkDesign(last_->analysis, last_->inputs, last_->result, elasticDesign);
        if (design.method == tarvel::AnalysisMethod::Elastic) {
            showChecks(elastic, last_->inputs, last_->result);
        } else {
            // The other methods from the search already made: nothing is searched again.
            tarvel::CaseOutcome searched;
            searched.inputs = last_->inputs;
            searched.status = tarvel::CaseOutcome::Status::Ok;
            searched.result = last_->result;
            searched.checks = elastic;
            searched.hasChecks = true;
            const tarvel::CaseOutcome o =
                design.method == tarvel::AnalysisMethod::Compatibility
                    ? tarvel::computeCompatibilityCase(last_->inputs, design, true)
                    : tarvel::envelopeOfElastic(searched, design, true);
            if (o.status != tarvel::CaseOutcome::Status::Ok || !o.hasChecks) {
                showNoChecks(QString::fromStdString(o.message));
                compatibility_->show(last_->inputs, design);
                return;
            }
            showChecks(o.checks, last_->inputs, last_->result);
            ui_.statusLabel->setText(
                QString("按%1验算（结果取%2）%3")
                    .arg(QString::fromUtf8(tarvel::methodTitle(design.method)),
                         QString::fromUtf8(tarvel::methodTitle(o.shownMethod)),
                         o.methodRemark.empty() ? QString()
                                                : "：" + QString::fromStdString(o.methodRemark)));
        }
        // Which combination the checks are of, and its shear.
        if (last_->row) {
            ui_.statusLabel->setText(
                QString("%1，V = %2 kN%3")
                    .arg(last_->row->label, text(tarvel::numberToText(design.V)),
                         last_->row->V.trimmed().isEmpty() ? "（设计剪力）" : QString()));
        }
    } catch (const tarvel::TarvelError& error) {
        // A base that cannot exist is named as it is; the boxes offer only valid design
        // choices, but a check must never show a stale verdict.
        const QString why = QString::fromUtf8(error.what());
        const tarvel::InputField field = error.field();
        const bool base = field == tarvel::InputField::d || field == tarvel::InputField::D ||
                          field == tarvel::InputField::n;
        showNoChecks(base ? why : QString("设计参数有误：%1").arg(why));
    }
}

void DesignWindow::showInputs(const tarvel::InputTexts& inputs) {
    QLineEdit* const fields[] = {ui_.inputP, ui_.inputM, ui_.inputd, ui_.inputD, ui_.inputn};
    for (std::size_t i = 0; i < inputs.size(); ++i)
        fields[i]->setText(text(inputs[i]));
}

void DesignWindow::showChecks(const tarvel::DesignChecks& checks, const tarvel::InputTexts& inputs,
                              const tarvel::BaseResult& result) {
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
            if (!c.formula.empty())
                cell->setToolTip(QString::fromStdString(tarvel::formulaPlain(c.formula)));
            table->setItem(row, column, cell);
        }
    }
    if (steelUnchecked) {
        const int row = static_cast<int>(made.size());
        const QString cells[columnCount] = {
            "板件", "", "", "", "未验算",
            "未输入构造参数：底板、锚栓顶板、加劲肋、焊缝、钢管及锚固长度未验算"};
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
    equilibriumBasis_->setText(equilibriumBasisText(checks, inputs, result));

    QStringList remarks;
    for (const std::string& remark : checks.geometryRemarks)
        remarks << "• " + text(remark);
    ui_.geometryLabel->setText(remarks.isEmpty() ? "无" : remarks.join('\n'));
}

// The table is at least as tall as its rows, and takes any height the window has to spare.
void DesignWindow::fitTable() {
    QTableWidget* table = ui_.checkTable;
    table->resizeRowsToContents();
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row)
        height += table->rowHeight(row);
    table->setMinimumHeight(height);
}

// A laptop's 1280×720 screen: the 验算 tab scrolls when the window is lower than its
// contents, the spare height goes to the check table, and the read-only fields keep the
// width of their numbers.
void DesignWindow::fitSmallScreens() {
    const int index = ui_.tabs->indexOf(ui_.checkTab);
    const QString title = ui_.tabs->tabText(index);
    ui_.tabs->removeTab(index);
    auto* scroll = new QScrollArea;
    scroll->setObjectName("checkScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(ui_.checkTab);
    ui_.tabs->insertTab(index, scroll, title);
    ui_.tabs->setCurrentIndex(index);
    ui_.checkLayout->setStretchFactor(ui_.checkTable, 1);
    ui_.checkTable->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Its preferred height is that of its rows: a scrolled tab lays out at the preferred
    // heights, and should not pad the table there.
    ui_.checkTable->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    ui_.inputsForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    ui_.designForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    resize(size().boundedTo(QSize(laptopWidth, laptopClientHeight)));
}

void DesignWindow::showNoChecks(const QString& message) {
    ui_.statusLabel->setText(message);
    compatibility_->clear();
    diagram_->showNothing(message);
    ui_.verdictLabel->clear();
    ui_.checkTable->setRowCount(0);
    fitTable();
    for (QLabel* label :
         {ui_.refinedQmax, ui_.refinedT, ui_.refinedC, ui_.refinedF, ui_.refinedForce,
          ui_.refinedMoment, ui_.searchQmax, ui_.searchT, ui_.searchC, ui_.searchF, ui_.searchForce,
          ui_.searchMoment, ui_.refinedStatus, ui_.geometryLabel, equilibriumBasis_})
        label->clear();
}

void DesignWindow::about() {
    QMessageBox::about(
        this, "关于 Tarvel",
        QString("<p><b>Tarvel</b> %1</p><p>圆钢管柱脚计算：由轴力与弯矩求底板受压区、"
                "锚栓拉力和混凝土承压应力，并作设计验算。</p>")
            .arg(QCoreApplication::applicationVersion()));
}
