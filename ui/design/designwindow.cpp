#include "design/designwindow.h"

#include "analysis/compatibility.h"
#include "checks/envelope.h"
#include "checks/methods.h"
#include "core/number.h"
#include "design/checkpanel.h"
#include "design/connectionpanel.h"
#include "design/designsettings.h"
#include "design/detailingpanel.h"
#include "design/diagramwidget.h"
#include "design/femboxes.h"
#include "design/femjob.h"
#include "design/femmapswidget.h"
#include "design/helpdialog.h"
#include "design/minusrefusal.h"
#include "design/shortcutkeeper.h"
#include "design/sizingpane.h"
#include "form/kqform1.h"
#include "loads/loadtablepane.h"
#include "loads/readonlyfield.h"
#include "project/projectcontroller.h"
#include "project/projectdocument.h"
#include "report/designreports.h"
#include "sizing/basemass.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QVBoxLayout>

#include <utility>

namespace {

// The window reads best a little larger than the form it follows.
constexpr int fontPixels = 14;
// The window opens no larger than a laptop's 1280×720 screen leaves it: room for the
// title bar and a panel.
constexpr int laptopWidth = 1280;
constexpr int laptopClientHeight = 640;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

DesignWindow::DesignWindow(QWidget* parent)
    : QMainWindow(parent), loads_(new LoadTablePane), checks_(new CheckPanel),
      diagram_(new DiagramWidget), femMaps_(new FemMapsWidget), femJob_(new FemJob(this)),
      detailing_(new DetailingPanel), connection_(new ConnectionPanel) {
    ui_.setupUi(this);
    methodCombo_ = new QComboBox;
    methodCombo_->setObjectName("methodCombo");
    for (const tarvel::MethodDefinition& m : tarvel::methodDefinitions())
        methodCombo_->addItem(QString::fromUtf8(m.title), static_cast<int>(m.method));
    modularSpin_ = new QDoubleSpinBox;
    modularSpin_->setObjectName("modularSpin");
    // 0 stands for "by the concrete grade"; a ratio typed is 1 to 50.
    modularSpin_->setRange(0, tarvel::maxModularRatio);
    modularSpin_->setDecimals(2);
    modularSpin_->setSpecialValueText("按混凝土等级");
    // The plate's outer diameter, which the mass and the figure take, in the row under d.
    outerDiameter_ = new QLineEdit;
    outerDiameter_->setObjectName("outerDiameter");
    outerDiameter_->setToolTip("底板外径 D_out = max(d, D + 3d_b)：质量与计算简图所取的底板直径，"
                               "d_b 为锚栓直径");
    {
        int row = 0;
        QFormLayout::ItemRole role{};
        ui_.inputsForm->getWidgetPosition(ui_.inputd, &row, &role);
        auto* caption = new QLabel("D_out(mm)");
        caption->setToolTip(outerDiameter_->toolTip());
        ui_.inputsForm->insertRow(row + 1, caption, outerDiameter_);
    }
    ui_.designForm->addRow("分析方法", methodCombo_);
    femBoxes_ = new FemBoxes(ui_.designForm, this);
    ui_.designForm->addRow("模量比 nE", modularSpin_);
    ui_.topRow->addWidget(detailing_);
    ui_.topRow->addWidget(connection_);
    ui_.checkLayout->addWidget(checks_, 1);
    QFont font(Kqform1::windowFont().family());
    font.setPixelSize(fontPixels);
    setFont(font);
    // Menus are windows of their own and do not inherit the font.
    ui_.menuFile->setFont(font);
    ui_.menuHelp->setFont(font);
    // Export and print entries go above this separator.
    ui_.menuFile->insertSeparator(ui_.actionClose);

    fitSmallScreens();
    // The fields of the last calculation cannot be typed in, and do not look as if they could.
    for (QLineEdit* field :
         {ui_.inputP, ui_.inputM, ui_.inputd, outerDiameter_, ui_.inputD, ui_.inputn})
        setFieldReadOnly(field, true);
    fillChoices();
    setDesignInput(DesignSettings::load());

    sizing_ = new SizingPane([this] { return project(); },
                             [this](const tarvel::Project& p) { adoptDesign(p); },
                             loads_->model()->undoStack());

    ProjectController::View view;
    view.project = [this] { return project(); };
    view.show = [this](const tarvel::Project& p) { showProject(p); };
    view.blank = [this] { return blankProject(); };
    view.busy = [this] {
        if (loads_->running()) return QString("全部计算进行中，请先取消或等它结束");
        if (sizing_->running()) return QString("优化选型进行中，请先取消或等它结束");
        return QString();
    };
    view.unsaved = [this] { return sizing_->unreadRange(); };
    // A project is its load combinations: they come to the front.
    view.opened = [this] {
        ui_.tabs->setCurrentWidget(loads_);
        emitBase();
    };
    view.importTable = [this](const QString& path, QString* error) {
        ui_.tabs->setCurrentWidget(loads_);
        return loads_->importCsv(path, error);
    };
    view.setInfo = [this](const tarvel::ProjectInfo& info) { loads_->setInfo(info); };
    projects_ = new ProjectController(this, "设计验算 - Tarvel", std::move(view));
    ProjectDocument* document = projects_->document();
    auto modified = [document] { document->setModified(true); };

    connect(ui_.boltCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.steelCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.concreteCombo, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(ui_.betaSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(ui_.shearSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(ui_.frictionSpin, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(detailing_, &DetailingPanel::changed, this, &DesignWindow::designChanged);
    connect(connection_, &ConnectionPanel::changed, this, &DesignWindow::designChanged);
    connect(methodCombo_, &QComboBox::currentIndexChanged, this, &DesignWindow::designChanged);
    connect(modularSpin_, &QDoubleSpinBox::valueChanged, this, &DesignWindow::designChanged);
    connect(femBoxes_, &FemBoxes::changed, this, &DesignWindow::designChanged);
    // Each is saved in the project and marks it modified.
    for (QComboBox* combo : {ui_.boltCombo, ui_.steelCombo, ui_.concreteCombo, methodCombo_})
        connect(combo, &QComboBox::currentIndexChanged, document, modified);
    for (QDoubleSpinBox* spin : {ui_.betaSpin, ui_.shearSpin, ui_.frictionSpin, modularSpin_})
        connect(spin, &QDoubleSpinBox::valueChanged, document, modified);
    connect(detailing_, &DetailingPanel::changed, document, modified);
    connect(connection_, &ConnectionPanel::changed, document, modified);
    connect(femBoxes_, &FemBoxes::changed, document, modified);
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

    // The tab 计算简图: the result diagram, and below it the plate finite-element maps when
    // the detailing is on.
    auto* diagramTab = new QWidget;
    diagramTab->setObjectName("diagramTab");
    auto* diagramLayout = new QVBoxLayout(diagramTab);
    diagramLayout->setContentsMargins(0, 0, 0, 0);
    diagramLayout->addWidget(diagram_, 1);
    diagramLayout->addWidget(femMaps_, 1);
    femMaps_->setObjectName("femMaps");
    femMaps_->hide();
    ui_.tabs->addTab(diagramTab, "计算简图");
    connect(femJob_, &FemJob::progress, this, &DesignWindow::showFemRunning);
    connect(femJob_, &FemJob::finished, this, &DesignWindow::showFem);
    ui_.tabs->addTab(loads_, "荷载组合");
    ui_.tabs->addTab(sizing_, "优化选型");
    connect(sizing_, &SizingPane::rangesEdited, document, modified);
    // The report of what is in front: the last calculation, or the project on its tab.
    reports_ = new ReportActions(this, [this] {
        return showsLoadTable() ? designreports::projectReport(project(), *loads_->model())
                                : caseReport();
    });
    for (QAction* action : {reports_->exportAction(), reports_->printAction(),
                            reports_->previewAction(), reports_->infoAction()})
        ui_.menuFile->insertAction(ui_.actionClose, action);
    ui_.menuFile->insertSeparator(ui_.actionClose);
    // Undo and redo work whatever has the focus, also on the tabs without the load table.
    auto* edit = new QMenu("编辑", this);
    edit->setObjectName("menuEdit");
    edit->setFont(font);
    menuBar()->insertMenu(ui_.menuHelp->menuAction(), edit);
    for (QAction* action : {loads_->undoAction(), loads_->redoAction()}) {
        edit->addAction(action);
        addAction(action);
    }
    auto* keeper = new ShortcutKeeper(this, {reports_->exportAction()->shortcut()});
    keeper->keepHistoryKeys(loads_->undoAction()->shortcuts(), loads_->redoAction()->shortcuts());
    reports_->setProjectLink(projects_->reportLink());
    loads_->setDesignSource([this] { return designInput(); });
    connect(loads_, &LoadTablePane::changed, document, modified);
    connect(loads_, &LoadTablePane::caseChosen, this, &DesignWindow::sendRow);
    projects_->addFileCommands(ui_.menuFile);
    projects_->watchUndo(loads_->model()->undoStack());
    updateTitle();
    new MinusRefusal(this);

    showNoChecks("尚未计算");
}

// The load table's history is cleared as the table goes, after the 验算 tab: the project read
// on that last move would be read from deleted boxes.
DesignWindow::~DesignWindow() {
    projects_->watchUndo(nullptr);
}

ProjectDocument* DesignWindow::document() const {
    return projects_->document();
}

ReportActions::Source DesignWindow::caseReport() const {
    return designreports::caseReport(lastInputs(), [this] { return lastDesign(); });
}

// What 新建 starts from: the design inputs shown and the base of the last calculation.
tarvel::Project DesignWindow::blankProject() const {
    tarvel::Project p;
    p.design = designInput();
    if (last_) {
        p.d = last_->inputs[2];
        p.D = last_->inputs[3];
        p.n = last_->inputs[4];
    }
    return p;
}

void DesignWindow::showNoChecks(const QString& message) {
    femJob_->discard();
    checks_->showNothing(message);
    diagram_->showNothing(message);
    femMaps_->hide();
}

void DesignWindow::startFem(const tarvel::DesignInput& design) {
    tarvel::DesignInput byFem = design;
    byFem.method = tarvel::AnalysisMethod::Fem;
    femJob_->start(last_->inputs, byFem);
}

void DesignWindow::showFemRunning(const QString& text) {
    checks_->showFemRunning(text);
    femMaps_->show();
    femMaps_->showRunning(text);
}

void DesignWindow::showFem(const tarvel::ComputedCase& outcome, const tarvel::DesignInput&) {
    // A calculation since, or one refused: this model is not of what the window shows.
    if (!last_ || outcome.inputs != last_->inputs) return;
    femMaps_->show();
    if (outcome.status == tarvel::CaseStatus::Ok && outcome.fem)
        femMaps_->showMaps(outcome.fem);
    else
        femMaps_->showNothing(QString("板有限元法：%1").arg(text(outcome.message)));
    const tarvel::DesignInput design = lastDesign();
    if (design.method != tarvel::AnalysisMethod::Fem) {
        checks_->showFem(outcome);
        return;
    }
    if (outcome.status != tarvel::CaseStatus::Ok || !outcome.hasChecks) {
        const QString why = text(outcome.message);
        checks_->showNothing(why);
        diagram_->showNothing(why);
        checks_->showCompatibility(last_->inputs, design);
        checks_->showFem(outcome);
        return;
    }
    showMethodCase(outcome, design);
    checks_->showFem(outcome);
}

void DesignWindow::showMethodCase(const tarvel::ComputedCase& o,
                                  const tarvel::DesignInput& design) {
    // The results the checks read: the envelope that kept the elastic result reads both.
    std::vector<CheckPanel::MethodResult> read{{o.shownMethod, o.result}};
    if (design.method == tarvel::AnalysisMethod::Envelope && o.otherResult &&
        o.methodRemark.empty()) {
        const tarvel::AnalysisMethod other = o.shownMethod == tarvel::AnalysisMethod::Elastic
                                                 ? tarvel::AnalysisMethod::Compatibility
                                                 : tarvel::AnalysisMethod::Elastic;
        read.push_back({other, *o.otherResult});
        if (other == tarvel::AnalysisMethod::Elastic) std::swap(read[0], read[1]);
    }
    checks_->showChecks(o.checks, last_->inputs, last_->result, read);
    // The diagram of the state the checks use, as the report draws it.
    diagram_->showDiagram(tarvel::report::makeDiagramData(last_->analysis, o, design));
    checks_->setStatus(QString("按%1验算（结果取%2）%3")
                           .arg(QString::fromUtf8(tarvel::methodTitle(design.method)),
                                QString::fromUtf8(tarvel::methodTitle(o.shownMethod)),
                                o.methodRemark.empty() ? QString() : "：" + text(o.methodRemark)));
    // Which combination the checks are of, and its shear.
    if (last_->row) {
        checks_->setStatus(
            QString("%1，V = %2 kN%3")
                .arg(last_->row->label, text(tarvel::numberToText(design.V)),
                     last_->row->V.trimmed().isEmpty() ? "（设计剪力）" : QString()));
    }
}

tarvel::Project DesignWindow::project() const {
    tarvel::Project p;
    loads_->fillProject(p);
    p.design = designInput();
    p.sizing = sizing_->ranges();
    return p;
}

void DesignWindow::showProject(const tarvel::Project& p) {
    sizing_->showRanges(p.sizing);
    setDesignInput(p.design);
    DesignSettings::save(designInput());
    if (last_) refresh();
    loads_->invalidate();
    loads_->showProject(p);
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
    in.plateHole = detailing_->plateHole();
    connection_->apply(in);
    in.method = static_cast<tarvel::AnalysisMethod>(methodCombo_->currentData().toInt());
    if (modularSpin_->value() > 0) in.modularRatio = modularSpin_->value();
    femBoxes_->apply(in);
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
    if (in.detailing) detailing_->setPlateHole(in.plateHole);
    connection_->setFrom(in);
    femBoxes_->setFrom(in);
    femBoxes_->setMethod(in.method);
    // With a pedestal β_l is computed: the typed one does not count.
    ui_.betaSpin->setEnabled(!in.pedestal);
    {
        const QSignalBlocker blockMethod(methodCombo_), blockModular(modularSpin_);
        methodCombo_->setCurrentIndex(methodCombo_->findData(static_cast<int>(in.method)));
        modularSpin_->setValue(in.modularRatio.value_or(0));
    }
    loads_->showSteelColumns(in);
    updateTitle();
}

void DesignWindow::updateTitle() {
    if (!projects_) return;
    const auto method = static_cast<tarvel::AnalysisMethod>(methodCombo_->currentData().toInt());
    projects_->setTitle(
        QString("设计验算（%1） - Tarvel").arg(QString::fromUtf8(tarvel::methodTitle(method))));
}

void DesignWindow::adoptDesign(const tarvel::Project& p) {
    tarvel::DesignInput design = p.design;
    design.V = ui_.shearSpin->value();
    setDesignInput(design);
    loads_->setGeometry(p);
    designChanged();
    document()->setModified(true);
    emitBase();
}

// The form calculates with the base the table shows, so that one base is shown everywhere.
void DesignWindow::emitBase() {
    const Geometry g = loads_->geometry();
    // A project without a base leaves the form's as it is.
    for (const std::string& s : g)
        if (QString::fromStdString(s).trimmed().isEmpty()) return;
    emit baseChosen(text(g[0]), text(g[1]), text(g[2]));
}

void DesignWindow::designChanged() {
    const tarvel::DesignInput in = designInput();
    DesignSettings::save(in);
    ui_.betaSpin->setEnabled(!in.pedestal);
    femBoxes_->setMethod(in.method);
    loads_->showSteelColumns(in);
    updateTitle();
    showOuterDiameter();
    loads_->invalidate();
    if (last_) refresh();
}

void DesignWindow::showCalculation(const tarvel::InputTexts& inputs,
                                   const tarvel::BaseResult& result) {
    showInputs(inputs);
    try {
        connection_->setBearingDiameter(tarvel::textToNumber(inputs[2]));
    } catch (const tarvel::TarvelError&) {
        connection_->setBearingDiameter(0);
    }
    // A saved project's base that follows the form is a change to save; otherwise an
    // unmodified project stays unmodified for undo.
    if (loads_->offerGeometry(inputs) && !document()->path().isEmpty())
        document()->setModified(true);
    else
        projects_->shownUnmodified();
    const std::optional<SentRow> sent = std::exchange(sent_, std::nullopt);
    try {
        // The first stage only: it gives the geometry the exact equilibrium needs.
        last_ = LastCase{inputs, result, tarvel::analyze(inputs), std::nullopt};
        // The calculation of a row sent here is checked with the row's V.
        if (sent && sent->inputs == inputs) last_->row = sent;
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

bool DesignWindow::refresh(bool steelParts) {
    try {
        tarvel::DesignInput design = lastDesign();
        if (!steelParts) design.detailing.reset();
        checks_->showCompatibility(last_->inputs, design);
        tarvel::DesignInput elasticDesign = design;
        elasticDesign.method = tarvel::AnalysisMethod::Elastic;
        const tarvel::DesignChecks elastic =
            tarvel::checkDesign(last_->analysis, last_->inputs, last_->result, elasticDesign);
        if (design.method == tarvel::AnalysisMethod::Fem) {
            if (!design.detailing) {
                showNoChecks("板有限元法需要钢管柱脚的构造参数：请勾选并填写构造参数");
                return false;
            }
            // The model takes a moment: its checks come when it is done.
            showNoChecks("板有限元法计算中…");
            checks_->showCompatibility(last_->inputs, design);
            startFem(design);
            return true;
        }
        if (design.method == tarvel::AnalysisMethod::Elastic) {
            // As the command: the method takes a solid disc and refuses a plate with a hole.
            tarvel::requireSolidPlate(design);
            checks_->showChecks(elastic, last_->inputs, last_->result,
                                {{tarvel::AnalysisMethod::Elastic, last_->result}});
            diagram_->showDiagram(tarvel::report::makeDiagramData(last_->analysis, last_->result));
            if (last_->row) {
                checks_->setStatus(
                    QString("%1，V = %2 kN%3")
                        .arg(last_->row->label, text(tarvel::numberToText(design.V)),
                             last_->row->V.trimmed().isEmpty() ? "（设计剪力）" : QString()));
            }
        } else {
            // The other methods from the search already made: nothing is searched again.
            tarvel::ComputedCase searched;
            searched.inputs = last_->inputs;
            searched.status = tarvel::CaseStatus::Ok;
            searched.result = last_->result;
            searched.checks = elastic;
            searched.hasChecks = true;
            const tarvel::ComputedCase o = tarvel::computeCaseFrom(searched, design, true);
            if (o.status != tarvel::CaseStatus::Ok || !o.hasChecks) {
                showNoChecks(QString::fromStdString(o.message));
                checks_->showCompatibility(last_->inputs, design);
                return false;
            }
            showMethodCase(o, design);
        }
        // With the steel parts, the plate as a plate beside the rigid plate.
        if (design.detailing) {
            startFem(design);
        } else {
            femJob_->discard();
            checks_->hideFem();
            femMaps_->hide();
        }
    } catch (const tarvel::TarvelError& error) {
        // The base checks do not need the steel parts: they stay, and the line above them
        // says what the steel parts lack.
        if (steelParts && detailing_->isChecked() && DetailingPanel::owns(error.field()) &&
            refresh(false)) {
            checks_->setStatus(QString("板件未验算：%1").arg(detailing_->describe(error)));
            return true;
        }
        // A base that cannot exist is named as it is; the boxes offer only valid design
        // choices, but a check must never show a stale verdict.
        const QString why = QString::fromUtf8(error.what());
        const tarvel::InputField field = error.field();
        const bool base = field == tarvel::InputField::d || field == tarvel::InputField::D ||
                          field == tarvel::InputField::n;
        showNoChecks(base ? why : QString("设计参数有误：%1").arg(why));
        return false;
    }
    return true;
}

void DesignWindow::showInputs(const tarvel::InputTexts& inputs) {
    QLineEdit* const fields[] = {ui_.inputP, ui_.inputM, ui_.inputd, ui_.inputD, ui_.inputn};
    for (std::size_t i = 0; i < inputs.size(); ++i)
        fields[i]->setText(text(inputs[i]));
    showOuterDiameter();
}

// D_out of the base shown and the bolt chosen; nothing while either is unknown.
void DesignWindow::showOuterDiameter() {
    outerDiameter_->clear();
    try {
        tarvel::MassInput plate;
        plate.d = tarvel::textToNumber(ui_.inputd->text().toStdString());
        plate.D = tarvel::textToNumber(ui_.inputD->text().toStdString());
        plate.boltDiameter = tarvel::resolveDesign(designInput()).bolt.diameter;
        outerDiameter_->setText(text(tarvel::numberToText(tarvel::baseMass(plate).outerDiameter)));
    } catch (const tarvel::TarvelError&) {
        // An empty or refused base has no plate to state.
    }
}

// A laptop's 1280×720 screen: the 验算 tab scrolls when the window is lower than its
// contents, the spare height goes to the check panel (and there to its table), and the
// read-only fields keep the width of their numbers.
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
    ui_.inputsForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    ui_.designForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    resize(size().boundedTo(QSize(laptopWidth, laptopClientHeight)));
}

void DesignWindow::about() {
    QMessageBox::about(
        this, "关于 Tarvel",
        QString("<p><b>Tarvel</b> %1</p><p>圆钢管柱脚计算：由轴力与弯矩求底板受压区、"
                "锚栓拉力和混凝土承压应力，并作设计验算。</p>")
            .arg(QCoreApplication::applicationVersion()));
}
