#include "loads/loadtablepane.h"

#include "checks/designbase.h"
#include "core/number.h"
#include "loads/readonlyfield.h"
#include "loads/resultscsv.h"
#include "loads/utilisationdelegate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A load table read from a file is no larger than a project.
constexpr qint64 maxCsvBytes = static_cast<qint64>(tarvel::maxProjectBytes);
// Column widths, px: room for a typed number, a result text, and a combination's name; the
// whole table fits a 1280-pixel screen.
constexpr int inputColumnWidth = 70;
constexpr int resultColumnWidth = 80;
constexpr int nameColumnWidth = 110;

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

LoadTablePane::LoadTablePane(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* infoBox = new QGroupBox("项目");
    auto* infoForm = new QHBoxLayout(infoBox);
    const char* infoCaptions[] = {"工程", "构件", "设计", "校对"};
    const char* infoNames[] = {"infoProject", "infoMember", "infoDesigner", "infoChecker"};
    for (int i = 0; i < 4; ++i) {
        info_[i] = new QLineEdit;
        info_[i]->setObjectName(infoNames[i]);
        infoForm->addWidget(new QLabel(infoCaptions[i]));
        infoForm->addWidget(info_[i], i == 0 ? 2 : 1);
        connect(info_[i], &QLineEdit::textEdited, this, &LoadTablePane::changed);
    }
    top->addWidget(infoBox, 3);
    auto* geometryBox = new QGroupBox("柱脚（各组合共用）");
    auto* geometryForm = new QHBoxLayout(geometryBox);
    const char* geometryCaptions[] = {"d (mm)", "D (mm)", "n"};
    const char* geometryNames[] = {"geometryd", "geometryD", "geometryn"};
    for (int i = 0; i < 3; ++i) {
        geometry_[i] = new QLineEdit;
        geometry_[i]->setObjectName(geometryNames[i]);
        geometry_[i]->setMaximumWidth(inputColumnWidth);
        geometryForm->addWidget(new QLabel(geometryCaptions[i]));
        geometryForm->addWidget(geometry_[i]);
        connect(geometry_[i], &QLineEdit::textChanged, this, [this] {
            ++inputsRevision_;
            model_.clearOutcomes();
            clearStatus();
        });
        connect(geometry_[i], &QLineEdit::textEdited, this, &LoadTablePane::changed);
    }
    top->addWidget(geometryBox, 2);
    layout->addLayout(top);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* text, const char* name) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    add_ = button("添加", "addButton");
    remove_ = button("删除", "removeButton");
    duplicate_ = button("复制行", "duplicateButton");
    paste_ = button("粘贴", "pasteButton");
    import_ = button("导入 CSV…", "importButton");
    export_ = button("导出 CSV…", "exportButton");
    tensionPositive_ = new QCheckBox("轴力拉为正");
    tensionPositive_->setObjectName("tensionPositiveBox");
    tensionPositive_->setToolTip("粘贴或导入的轴力以拉为正（多数分析程序的导出如此）：读入时取反，"
                                 "本程序以压为正");
    buttons->addWidget(tensionPositive_);
    buttons->addSpacing(12);
    send_ = button("在主窗口中计算", "sendButton");
    send_->setToolTip("把当前荷载组合送到主窗口计算（回车）");
    compute_ = button("全部计算", "computeButton");
    cancel_ = button("取消", "cancelButton");
    cancel_->setEnabled(false);
    progress_ = new QProgressBar;
    progress_->setObjectName("batchProgress");
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QString());
    buttons->addWidget(progress_, 1);
    layout->addLayout(buttons);

    status_ = new QLabel;
    status_->setObjectName("batchStatus");
    status_->setWordWrap(true);
    layout->addWidget(status_);
    summary_ = new QLabel;
    summary_->setObjectName("governingSummary");
    summary_->setWordWrap(true);
    summary_->setStyleSheet("QLabel { font-weight: bold; }");
    layout->addWidget(summary_);

    view_ = new QTableView;
    view_->setObjectName("loadTable");
    view_->setModel(&model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double-click or typing edits a cell; Enter sends the row to the form.
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    view_->installEventFilter(this);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* bars = new UtilisationDelegate(view_);
    for (int c = LoadTableModel::firstCheckColumn; c < LoadTableModel::VerdictColumn; ++c)
        view_->setItemDelegateForColumn(c, bars);
    showSteelColumns(tarvel::DesignInput{});
    view_->setColumnWidth(LoadTableModel::NameColumn, nameColumnWidth);
    for (int c = LoadTableModel::PColumn; c < LoadTableModel::XColumn; ++c)
        view_->setColumnWidth(c, inputColumnWidth);
    for (int c = LoadTableModel::XColumn; c < LoadTableModel::firstCheckColumn; ++c)
        view_->setColumnWidth(c, resultColumnWidth);
    view_->resizeColumnToContents(LoadTableModel::QmaxColumn); // its header is the widest
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 10);
    layout->addWidget(view_, 1);

    auto action = [this](const QString& text, QKeySequence key, auto slot) {
        auto* a = new QAction(text, this);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        view_->addAction(a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* send = action("在主窗口中计算", {}, [this] { sendCurrentRow(); });
    send->setObjectName("sendAction");
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    view_->addAction(separator);
    // Undo and redo belong to the whole window: added to the pane, they work wherever the
    // focus is while the tab is shown, and the window adds them to itself for the other tabs.
    QUndoStack* stack = model_.undoStack();
    undo_ = new QAction("撤销", this);
    undo_->setObjectName("undoAction");
    undo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    redo_ = new QAction("重做", this);
    redo_->setObjectName("redoAction");
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {undo_, redo_}) {
        a->setShortcutContext(Qt::WindowShortcut);
        view_->addAction(a);
        addAction(a);
    }
    connect(undo_, &QAction::triggered, this, [this] {
        if (!model_.locked()) model_.undoStack()->undo();
    });
    connect(redo_, &QAction::triggered, this, [this] {
        if (!model_.locked()) model_.undoStack()->redo();
    });
    auto names = [this, stack] {
        undo_->setEnabled(stack->canUndo());
        undo_->setText(stack->canUndo() ? "撤销 " + stack->undoText() : QString("撤销"));
        redo_->setEnabled(stack->canRedo());
        redo_->setText(stack->canRedo() ? "重做 " + stack->redoText() : QString("重做"));
    };
    connect(stack, &QUndoStack::indexChanged, this, names);
    connect(stack, &QUndoStack::cleanChanged, this, names);
    names();
    action("粘贴", QKeySequence::Paste, [this] { paste(); });
    action("删除", QKeySequence::Delete, [this] { model_.removeLoads(selectedRows()); });

    connect(add_, &QPushButton::clicked, this, [this] {
        const int row = insertionRow();
        model_.insertLoads(row, {tarvel::ProjectLoad{}}, "添加");
        view_->setCurrentIndex(model_.index(row, LoadTableModel::NameColumn));
        view_->edit(view_->currentIndex());
    });
    connect(remove_, &QPushButton::clicked, this, [this] { model_.removeLoads(selectedRows()); });
    connect(duplicate_, &QPushButton::clicked, this,
            [this] { model_.duplicateLoads(selectedRows()); });
    connect(paste_, &QPushButton::clicked, this, &LoadTablePane::paste);
    connect(import_, &QPushButton::clicked, this, &LoadTablePane::importDialog);
    connect(export_, &QPushButton::clicked, this, &LoadTablePane::exportDialog);
    connect(compute_, &QPushButton::clicked, this, [this] { computeAll(); });
    connect(cancel_, &QPushButton::clicked, this, &LoadTablePane::cancel);
    connect(send_, &QPushButton::clicked, this, &LoadTablePane::sendCurrentRow);

    connect(&model_, &LoadTableModel::edited, this, &LoadTablePane::changed);
    connect(&model_, &LoadTableModel::edited, this, &LoadTablePane::clearStatus);
    connect(&model_, &LoadTableModel::outcomesChanged, this, &LoadTablePane::updateSummary);
    connect(&runner_, &BatchRunner::progress, this, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
    });
    connect(&runner_, &BatchRunner::finished, this, &LoadTablePane::onFinished);
    updateSummary();
}

void LoadTablePane::setDesignSource(std::function<tarvel::DesignInput()> source) {
    design_ = std::move(source);
}

Geometry LoadTablePane::geometry() const {
    return {geometry_[0]->text().toStdString(), geometry_[1]->text().toStdString(),
            geometry_[2]->text().toStdString()};
}

void LoadTablePane::fillProject(tarvel::Project& p) const {
    p.info = {info_[0]->text().toStdString(), info_[1]->text().toStdString(),
              info_[2]->text().toStdString(), info_[3]->text().toStdString()};
    const Geometry g = geometry();
    p.d = g[0];
    p.D = g[1];
    p.n = g[2];
    p.loads = model_.loads();
}

void LoadTablePane::showProject(const tarvel::Project& p) {
    const std::string* info[] = {&p.info.project, &p.info.member, &p.info.designer,
                                 &p.info.checker};
    for (int i = 0; i < 4; ++i)
        info_[i]->setText(qtext(*info[i]));
    const std::string* g[] = {&p.d, &p.D, &p.n};
    for (int i = 0; i < 3; ++i)
        geometry_[i]->setText(qtext(*g[i]));
    model_.resetLoads(p.loads);
    clearStatus();
}

void LoadTablePane::clearStatus() {
    if (running()) return;
    status_->clear();
    progress_->setRange(0, 1);
    progress_->setValue(0);
    // No count until a batch has run: "0 / 1" would read as a batch of one.
    progress_->setFormat(QString());
}

bool LoadTablePane::checkGeometry() {
    const Geometry g = geometry();
    const tarvel::InputField fields[] = {tarvel::InputField::d, tarvel::InputField::D,
                                         tarvel::InputField::n};
    try {
        for (int i = 0; i < 3; ++i)
            tarvel::textToNumber(g[i], fields[i]);
        tarvel::requireRealBase({"0", "0", g[0], g[1], g[2]});
    } catch (const tarvel::TarvelError& e) {
        for (int i = 0; i < 3; ++i) {
            if (e.field() != fields[i]) continue;
            geometry_[i]->setFocus();
            geometry_[i]->selectAll();
        }
        status_->setText(QString("柱脚%1，请修改后再计算").arg(QString::fromUtf8(e.what())));
        return false;
    }
    return true;
}

void LoadTablePane::setInfo(const tarvel::ProjectInfo& info) {
    const std::string* texts[] = {&info.project, &info.member, &info.designer, &info.checker};
    for (int i = 0; i < 4; ++i)
        info_[i]->setText(qtext(*texts[i]));
    emit changed();
}

bool LoadTablePane::offerGeometry(const tarvel::InputTexts& inputs) {
    // Rows are calculated with the base shown: once there are rows it is theirs, unless it
    // was never given.
    const bool noBase = std::all_of(std::begin(geometry_), std::end(geometry_),
                                    [](QLineEdit* e) { return e->text().trimmed().isEmpty(); });
    if (model_.rowCount() > 0 && !noBase) return false;
    bool changed = false;
    for (int i = 0; i < 3; ++i) {
        const QString text = qtext(inputs[2 + i]);
        if (geometry_[i]->text() == text) continue;
        geometry_[i]->setText(text);
        changed = true;
    }
    return changed;
}

void LoadTablePane::setGeometry(const tarvel::Project& p) {
    const std::string* g[] = {&p.d, &p.D, &p.n};
    for (int i = 0; i < 3; ++i)
        geometry_[i]->setText(qtext(*g[i]));
}

bool LoadTablePane::addBlock(std::string_view bytes, const QString& what, QString* error) {
    if (model_.locked()) {
        *error = "计算进行中，表格不能修改";
        return false;
    }
    bool geometryEmpty = false;
    for (QLineEdit* g : geometry_)
        geometryEmpty = geometryEmpty || g->text().trimmed().isEmpty();
    const bool adopt = model_.rowCount() == 0 || geometryEmpty;
    LoadBlock block = parseLoadBlock(bytes, geometry(), adopt, tensionPositive_->isChecked());
    if (!block.error.isEmpty()) {
        *error = block.error;
        return false;
    }
    if (block.geometry) {
        for (int i = 0; i < 3; ++i)
            geometry_[i]->setText(qtext((*block.geometry)[i]));
    }
    const int row = insertionRow();
    model_.insertLoads(row, block.loads, what, block.notes);
    QString read = QString("%1：%2 个荷载组合").arg(what).arg(block.loads.size());
    for (const std::string& line : block.readAs)
        read += "；" + qtext(line);
    status_->setText(read);
    emit changed();
    return true;
}

bool LoadTablePane::importCsv(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("无法打开 %1：%2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > maxCsvBytes) {
        *error = QString("%1 过大（超过 %2 MB），不是荷载组合表")
                     .arg(path)
                     .arg(maxCsvBytes / (1024 * 1024));
        return false;
    }
    const QByteArray bytes = file.readAll();
    QString why;
    if (!addBlock(std::string_view(bytes.constData(), bytes.size()), "导入 CSV", &why)) {
        *error = QString("无法导入 %1：%2").arg(path, why);
        return false;
    }
    return true;
}

bool LoadTablePane::exportCsv(const QString& path, QString* error, bool withResults) const {
    const std::string bytes =
        withResults ? resultsCsv(model_, geometry(), design_ ? design_() : tarvel::DesignInput{})
                    : loadsCsv(model_.loads(), geometry());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        *error = QString("无法写入 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

void LoadTablePane::paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return;
    const QByteArray bytes = data->text().toUtf8();
    QString error;
    if (!addBlock(std::string_view(bytes.constData(), bytes.size()), "粘贴", &error))
        fail(QString("无法粘贴：%1").arg(error));
}

void LoadTablePane::importDialog() {
    const QString path = QFileDialog::getOpenFileName(this, "导入荷载组合", QString(),
                                                      "CSV 文件 (*.csv *.tsv *.txt);;所有文件 (*)");
    if (path.isEmpty()) return;
    QString error;
    if (!importCsv(path, &error)) fail(error);
}

void LoadTablePane::exportDialog() {
    const QString inputsOnly = "CSV 文件，仅荷载组合 (*.csv)";
    const QString withResults = "CSV 文件，荷载组合与计算结果 (*.csv)";
    bool computed = false;
    for (int k = 0; k < model_.rowCount(); ++k)
        computed = computed || model_.row(k).outcome.has_value();
    QString filter = computed ? withResults : inputsOnly;
    QString path = QFileDialog::getSaveFileName(this, "导出荷载组合", "荷载组合.csv",
                                                inputsOnly + ";;" + withResults, &filter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".csv";
    QString error;
    if (!exportCsv(path, &error, filter == withResults)) {
        fail(error);
        return;
    }
    QMessageBox::information(
        this, QApplication::applicationName(),
        QString("%1已写入：\n%2")
            .arg(filter == withResults ? "荷载组合与计算结果" : "荷载组合",
                 QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
}

void LoadTablePane::fail(const QString& message) {
    QMessageBox::warning(this, QApplication::applicationName(), message);
}

int LoadTablePane::insertionRow() const {
    const std::vector<int> rows = selectedRows();
    return rows.empty() ? model_.rowCount() : rows.back() + 1;
}

std::vector<int> LoadTablePane::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : view_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty() && view_->currentIndex().isValid() &&
        view_->selectionModel()->isSelected(view_->currentIndex()))
        rows.push_back(view_->currentIndex().row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool LoadTablePane::computeAll(unsigned threads) {
    if (running() || model_.rowCount() == 0) return false;
    if (!checkGeometry()) return false;
    tarvel::Project p;
    fillProject(p);
    const tarvel::DesignInput design = design_ ? design_() : tarvel::DesignInput{};
    model_.clearOutcomes();
    startedRevision_ = model_.revision();
    startedInputs_ = inputsRevision_;
    setRunning(true);
    progress_->setRange(0, model_.rowCount());
    progress_->setValue(0);
    progress_->setFormat("%v / %m");
    status_->setText(QString("正在计算 %1 个荷载组合…").arg(model_.rowCount()));
    clock_.start();
    runner_.start(tarvel::projectCases(p), design, threads);
    return true;
}

void LoadTablePane::cancel() {
    runner_.cancel();
}

void LoadTablePane::invalidate() {
    ++inputsRevision_;
    model_.clearOutcomes();
    clearStatus();
}

void LoadTablePane::onFinished(bool cancelled) {
    tarvel::ComputedCases outcomes = runner_.takeResults();
    lastElapsed_ = clock_.elapsed();
    setRunning(false);
    if (model_.revision() != startedRevision_ || inputsRevision_ != startedInputs_) {
        // The inputs changed while the batch ran: its results belong to nothing shown.
        status_->setText("计算期间输入已改变，结果作废，请重新计算");
        emit batchFinished();
        return;
    }
    int done = 0;
    for (const auto& o : outcomes)
        done += o.has_value();
    const std::size_t count = outcomes.size();
    model_.setOutcomes(std::move(outcomes));
    progress_->setValue(done);
    QString status = cancelled ? QString("已取消：完成 %1 / %2 个").arg(done).arg(count)
                               : QString("已计算 %1 个荷载组合，用时 %2 秒")
                                     .arg(count)
                                     .arg(lastElapsed_ / 1000.0, 0, 'f', 2);
    // A row without a verdict is never passed over in silence.
    const QString failed = model_.failures();
    if (!failed.isEmpty()) status += "；" + failed;
    status_->setText(status);
    emit batchFinished();
}

void LoadTablePane::setRunning(bool running) {
    model_.setLocked(running);
    for (QPushButton* b : {add_, remove_, duplicate_, paste_, import_, compute_})
        b->setEnabled(!running);
    tensionPositive_->setEnabled(!running);
    cancel_->setEnabled(running);
    for (QLineEdit* g : geometry_)
        setFieldReadOnly(g, running);
}

void LoadTablePane::updateSummary() {
    const QString s = model_.summary();
    summary_->setText(s.isEmpty() ? QString("最不利：（尚未计算）") : s);
}

void LoadTablePane::sendCurrentRow() {
    const QModelIndex index = view_->currentIndex();
    if (!index.isValid()) return;
    const int row = index.row();
    const tarvel::ProjectLoad& load = model_.row(row).load;
    const Geometry g = geometry();
    const QString name = qtext(load.name).trimmed();
    const QString label = QString("荷载组合 第 %1 行%2")
                              .arg(row + 1)
                              .arg(name.isEmpty() ? QString() : "（" + name + "）");
    emit caseChosen({load.P, load.M, g[0], g[1], g[2]}, qtext(load.V), label);
}

bool LoadTablePane::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a row sends it to the form. The Enter that finishes a cell edit reaches the
    // view too, as the editor passes it on: it only finishes the edit.
    // (An open editor is the current cell's index widget.)
    if (watched == view_ && event->type() == QEvent::KeyPress &&
        !view_->indexWidget(view_->currentIndex())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            sendCurrentRow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LoadTablePane::showSteelColumns(const tarvel::DesignInput& design) {
    for (const tarvel::CheckDefinition& def : tarvel::checkDefinitions())
        if (def.needsDetailing)
            view_->setColumnHidden(LoadTableModel::firstCheckColumn + static_cast<int>(def.id),
                                   !tarvel::checkApplies(def, design));
}
