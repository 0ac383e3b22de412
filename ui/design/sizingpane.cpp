#include "design/sizingpane.h"

#include "core/number.h"
#include "loads/readonlyfield.h"
#include "sizing/sizingtally.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QUndoCommand>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

struct RangeField {
    tarvel::InputField field;
    const char* label;
    const char* name;
};
const RangeField rangeFields[] = {
    {tarvel::InputField::sizingBolts, "锚栓规格", "sizingBolts"},
    {tarvel::InputField::sizingCounts, "锚栓个数 n", "sizingCounts"},
    {tarvel::InputField::sizingD, "受压直径 d 下限:上限:步长", "sizingD"},
    {tarvel::InputField::sizingOffset, "外伸 D−d 下限:上限:步长", "sizingOffset"},
    {tarvel::InputField::sizingThicknesses, "板厚 tp、ts、tc", "sizingThicknesses"},
    {tarvel::InputField::sizingHeights, "加劲肋高 hs 下限:上限:步长", "sizingHeights"},
    {tarvel::InputField::sizingWelds, "焊脚 hf、hfs", "sizingWelds"},
};

const char* const headers[] = {"质量(kg)", "d",  "D",   "n",  "锚栓",   "底板 tp",  "加劲肋",
                               "顶板",     "hf", "hfs", "la", "控制项", "控制组合", "利用率"};

// 采用: the base and the detailing of a design, undone as one step.
class AdoptCommand : public QUndoCommand {
  public:
    AdoptCommand(tarvel::Project before, tarvel::Project after,
                 std::function<void(const tarvel::Project&)> apply)
        : QUndoCommand("采用优化方案"), before_(std::move(before)), after_(std::move(after)),
          apply_(std::move(apply)) {}
    void redo() override { apply_(after_); }
    void undo() override { apply_(before_); }

  private:
    tarvel::Project before_, after_;
    std::function<void(const tarvel::Project&)> apply_;
};

} // namespace

SizingPane::SizingPane(std::function<tarvel::Project()> project,
                       std::function<void(const tarvel::Project&)> apply, QUndoStack* undo,
                       QWidget* parent)
    : QWidget(parent), project_(std::move(project)), apply_(std::move(apply)), undo_(undo),
      stop_(std::make_shared<std::atomic<bool>>(false)),
      done_(std::make_shared<std::atomic<std::size_t>>(0)),
      total_(std::make_shared<std::atomic<std::size_t>>(0)) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (int i = 0; i < 7; ++i) {
        ranges_[i] = new QLineEdit;
        ranges_[i]->setObjectName(rangeFields[i].name);
        if (rangeFields[i].field == tarvel::InputField::sizingD)
            ranges_[i]->setPlaceholderText("默认 Dt+100 至 2Dt，步长 20");
        form->addRow(rangeFields[i].label, ranges_[i]);
        // What the user types belongs to the project, as soon as it reads.
        connect(ranges_[i], &QLineEdit::textEdited, this, [this] {
            try {
                kept_ = typedRanges(kept_.value_or(tarvel::SizingRanges{}));
            } catch (const tarvel::TarvelError&) {
                // Kept as typed; saving says why it does not read.
            }
            emit rangesEdited();
        });
    }
    top_ = new QSpinBox;
    top_->setObjectName("sizingTop");
    top_->setRange(1, tarvel::maxSizingTop);
    top_->setValue(10);
    form->addRow("列出方案数", top_);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton("开始");
    start_->setObjectName("sizingStart");
    cancel_ = new QPushButton("取消");
    cancel_->setObjectName("sizingCancel");
    adopt_ = new QPushButton("采用");
    adopt_->setObjectName("sizingAdopt");
    progress_ = new QProgressBar;
    progress_->setRange(0, 1);
    progress_->setValue(0);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(adopt_);
    layout->addLayout(buttons);
    status_ = new QLabel;
    status_->setObjectName("sizingStatus");
    status_->setWordWrap(true);
    layout->addWidget(status_);

    table_ = new QTableWidget(0, std::size(headers));
    table_->setObjectName("sizingTable");
    for (int c = 0; c < static_cast<int>(std::size(headers)); ++c)
        table_->setHorizontalHeaderItem(c, new QTableWidgetItem(headers[c]));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table_, 1);

    poll_ = new QTimer(this);
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, [this] {
        const auto total = static_cast<int>(total_->load());
        if (total > 0) {
            progress_->setRange(0, total);
            progress_->setValue(static_cast<int>(done_->load()));
        }
    });
    connect(start_, &QPushButton::clicked, this, &SizingPane::start);
    connect(cancel_, &QPushButton::clicked, this, &SizingPane::cancel);
    connect(adopt_, &QPushButton::clicked, this, [this] { adopt(table_->currentRow()); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { adopt(row); });
    connect(&watcher_, &QFutureWatcher<tarvel::SizingResult>::finished, this,
            &SizingPane::finished);
    showRanges(std::nullopt);
    setRunning(false);
}

SizingPane::~SizingPane() {
    // The workers read nothing of the pane, but the window must not close under them.
    stop_->store(true);
    watcher_.waitForFinished();
}

void SizingPane::warn(const QString& message) {
    status_->setText(message);
    QMessageBox::warning(this, "优化选型", message);
}

void SizingPane::showRanges(const std::optional<tarvel::SizingRanges>& ranges) {
    kept_ = ranges;
    sized_.reset();
    result_ = {};
    table_->setRowCount(0);
    status_->clear();
    adopt_->setEnabled(false);
    const tarvel::SizingRanges shown = ranges.value_or(tarvel::SizingRanges{});
    for (int i = 0; i < 7; ++i) {
        // An empty d range is the tube's default, shown by the placeholder.
        const bool tubeDefault = rangeFields[i].field == tarvel::InputField::sizingD && !shown.d;
        ranges_[i]->setText(
            tubeDefault ? QString() : qtext(tarvel::sizingText(shown, rangeFields[i].field, 0)));
    }
}

QString SizingPane::unreadRange() const {
    try {
        typedRanges(kept_.value_or(tarvel::SizingRanges{}));
    } catch (const tarvel::TarvelError& e) {
        return QString("优化选型的范围有误：%1").arg(QString::fromUtf8(e.what()));
    }
    return {};
}

tarvel::SizingRanges SizingPane::typedRanges(tarvel::SizingRanges ranges) const {
    for (int i = 0; i < 7; ++i) {
        const QString text = ranges_[i]->text().trimmed();
        if (rangeFields[i].field == tarvel::InputField::sizingD && text.isEmpty())
            ranges.d.reset();
        else
            tarvel::setSizingText(ranges, rangeFields[i].field, text.toStdString());
    }
    return ranges;
}

void SizingPane::setRunning(bool running) {
    start_->setEnabled(!running);
    cancel_->setEnabled(running);
    adopt_->setEnabled(!running && !result_.designs.empty());
    for (QLineEdit* e : ranges_)
        setFieldReadOnly(e, running);
}

void SizingPane::start() {
    if (running()) return;
    const tarvel::Project p = project_();
    if (!p.design.detailing) {
        warn("优化选型需要钢管柱脚的构造参数：请在「验算」页的「构造参数」中给出钢管 Dt×tw");
        return;
    }
    tarvel::SizingRanges ranges;
    try {
        ranges = typedRanges(p.sizing.value_or(tarvel::SizingRanges{}));
        // Bad ranges are refused before anything runs.
        tarvel::resolveSizing(ranges, tarvel::readDetailing(*p.design.detailing).Dt);
    } catch (const tarvel::TarvelError& e) {
        warn(QString::fromUtf8(e.what()));
        return;
    }
    sized_ = p;
    result_ = {};
    table_->setRowCount(0);
    stop_->store(false);
    done_->store(0);
    total_->store(0);
    progress_->setRange(0, 0);
    status_->setText("正在试算…");
    tarvel::SizingOptions options;
    options.top = top_->value();
    options.cancel = stop_.get();
    options.progress = [done = done_, total = total_](std::size_t finished, std::size_t all) {
        done->store(finished);
        total->store(all);
    };
    error_.clear();
    watcher_.setFuture(QtConcurrent::run([p, ranges, options]() -> tarvel::SizingResult {
        try {
            return tarvel::sizeBase(p, ranges, options);
        } catch (const tarvel::TarvelError& e) {
            tarvel::SizingResult failed;
            failed.blocked = e.what();
            failed.cancelled = true;
            return failed;
        }
    }));
    poll_->start();
    setRunning(true);
}

void SizingPane::cancel() {
    stop_->store(true);
}

void SizingPane::finished() {
    poll_->stop();
    result_ = watcher_.result();
    progress_->setRange(0, 1);
    progress_->setValue(result_.cancelled ? 0 : 1);
    table_->setRowCount(static_cast<int>(result_.designs.size()));
    for (int r = 0; r < static_cast<int>(result_.designs.size()); ++r) {
        const tarvel::SizedDesign& d = result_.designs[r];
        const QString cells[] = {qtext(tarvel::twoDecimals(d.mass.total)),
                                 qtext(tarvel::numberToText(d.d)),
                                 qtext(tarvel::numberToText(d.D)),
                                 QString::number(d.n),
                                 qtext(d.bolt),
                                 qtext(tarvel::numberToText(d.tp)),
                                 qtext(tarvel::stiffenerText(d)),
                                 qtext(tarvel::capText(d)),
                                 qtext(tarvel::weldText(d)),
                                 qtext(tarvel::numberToText(d.hfs)),
                                 qtext(tarvel::numberToText(d.la)),
                                 tarvel::checkDefinition(d.governing).title,
                                 d.governingCase.empty() ? QString("与荷载无关")
                                                         : qtext(d.governingCase),
                                 qtext(tarvel::ratioText(d.ratio))};
        for (int c = 0; c < static_cast<int>(std::size(cells)); ++c)
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (!result_.designs.empty()) table_->selectRow(0);
    QString text = QString("共 %1 种几何，试算 %2 个方案，%3 个不满足")
                       .arg(result_.geometries)
                       .arg(result_.tried)
                       .arg(result_.rejected());
    QStringList by;
    for (const tarvel::Rejection& r : tarvel::sizingRejections(result_))
        by << QString("%1 %2").arg(qtext(r.title)).arg(r.count);
    if (!by.isEmpty()) text += "（" + by.join("，") + "）";
    if (result_.cancelled && result_.tried > 0) text = "已取消。" + text;
    if (!result_.blocked.empty()) text += "。" + qtext(result_.blocked);
    if (result_.designs.empty() && !result_.cancelled) text += "。没有满足全部验算的方案";
    text += "。" + QString::fromUtf8(tarvel::massFormula);
    status_->setText(text);
    setRunning(false);
}

void SizingPane::adopt(int row) {
    if (running() || !sized_ || row < 0 || row >= static_cast<int>(result_.designs.size())) return;
    // The design goes onto the project as it is now; only its base and detailing change.
    const tarvel::Project before = project_();
    if (!before.design.detailing) return;
    undo_->push(new AdoptCommand(before, tarvel::withDesign(before, result_.designs[row]), apply_));
}
