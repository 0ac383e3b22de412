#include "loads/loadtablemodel.h"

#include "loads/utilisationdelegate.h"

#include <QColor>
#include <QFont>
#include <QUndoCommand>

#include <algorithm>

namespace {

const QColor passColour(0x2e, 0x7d, 0x32);
const QColor failColour(0xc6, 0x28, 0x28);
const QColor mutedColour(0x75, 0x75, 0x75);
// Shown after the ratio of the case that governs its check.
const QString governingMark = QStringLiteral(" 最不利");

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

std::string& loadField(tarvel::ProjectLoad& load, int column) {
    switch (column) {
    case LoadTableModel::NameColumn:
        return load.name;
    case LoadTableModel::PColumn:
        return load.P;
    case LoadTableModel::MColumn:
        return load.M;
    default:
        return load.V;
    }
}

// The check shown in a ratio column, or -1.
int checkOfColumn(int column) {
    return column >= LoadTableModel::firstCheckColumn && column < LoadTableModel::VerdictColumn
               ? column - LoadTableModel::firstCheckColumn
               : -1;
}

class SetTextCommand : public QUndoCommand {
  public:
    SetTextCommand(LoadTableModel* model, int row, int column, QString text)
        : model_(model), row_(row), column_(column), after_(std::move(text)),
          before_(model->text(row, column)) {
        setText("编辑");
    }
    void redo() override { model_->storeText(row_, column_, after_); }
    void undo() override { model_->storeText(row_, column_, before_); }

  private:
    LoadTableModel* model_;
    int row_, column_;
    QString after_, before_;
};

// Rows inserted at one place: added, duplicated or pasted.
class InsertCommand : public QUndoCommand {
  public:
    InsertCommand(LoadTableModel* model, int row, std::vector<LoadTableModel::Row> rows,
                  const QString& what)
        : model_(model), row_(row), rows_(std::move(rows)) {
        setText(what);
    }
    void redo() override { model_->storeInsert(row_, rows_); }
    void undo() override { model_->storeRemove(row_, static_cast<int>(rows_.size())); }

  private:
    LoadTableModel* model_;
    int row_;
    std::vector<LoadTableModel::Row> rows_;
};

// Rows removed from anywhere: undo puts each back where it was, result and all.
class RemoveCommand : public QUndoCommand {
  public:
    RemoveCommand(LoadTableModel* model, std::vector<int> rows) : model_(model) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        rows_ = std::move(rows);
        setText("删除");
    }
    void redo() override {
        removed_.clear();
        for (auto it = rows_.rbegin(); it != rows_.rend(); ++it)
            removed_.push_back(model_->storeRemove(*it, 1).front());
        std::reverse(removed_.begin(), removed_.end());
    }
    void undo() override {
        for (std::size_t k = 0; k < rows_.size(); ++k)
            model_->storeInsert(rows_[k], {removed_[k]});
    }

  private:
    LoadTableModel* model_;
    std::vector<int> rows_; // ascending
    std::vector<LoadTableModel::Row> removed_;
};

} // namespace

LoadTableModel::LoadTableModel(QObject* parent) : QAbstractTableModel(parent), undo_(this) {
    governing_.fill(-1);
}

int LoadTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LoadTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LoadTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const char* const titles[firstCheckColumn] = {
        "名称", "P (kN)", "M (kN·m)", "V (kN)", "x (mm)", "σmax (N/mm²)", "T (kN)", "C (kN)"};
    if (section >= 0 && section < firstCheckColumn) return QString::fromUtf8(titles[section]);
    if (const int check = checkOfColumn(section); check >= 0)
        return QString::fromUtf8(tarvel::checkDefinitions()[check].title);
    return section == VerdictColumn ? QString("结论") : QVariant();
}

Qt::ItemFlags LoadTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() < inputColumnCount && !locked_) f |= Qt::ItemIsEditable;
    return f;
}

QString LoadTableModel::text(int row, int column) const {
    const tarvel::ProjectLoad& load = rows_[row].load;
    const std::string* fields[] = {&load.name, &load.P, &load.M, &load.V};
    return qtext(*fields[std::clamp(column, 0, inputColumnCount - 1)]);
}

QVariant LoadTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& r = rows_[index.row()];
    const int column = index.column();
    if (column < inputColumnCount) {
        if (role == Qt::DisplayRole || role == Qt::EditRole) return text(index.row(), column);
        if (role == Qt::TextAlignmentRole && column != NameColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::ToolTipRole && !r.note.isEmpty()) return r.note;
        return {};
    }
    const int check = checkOfColumn(column);
    // A check the same in every combination has no governing row to mark.
    const bool governs = check >= 0 && governing_[check] == index.row() &&
                         tarvel::checkDefinitions()[check].dependsOnLoad;
    if (role == governingRole) return governs;
    return resultData(r, column, role, governs);
}

QVariant LoadTableModel::resultData(const Row& r, int column, int role, bool governs) const {
    if (!r.outcome) {
        if (column == VerdictColumn && r.cancelled) {
            if (role == Qt::DisplayRole) return QString("已取消");
            if (role == Qt::ForegroundRole) return mutedColour;
        }
        return {};
    }
    const tarvel::ComputedCase& o = *r.outcome;
    using Status = tarvel::CaseStatus;
    switch (column) {
    case XColumn:
    case QmaxColumn:
    case TColumn:
    case CColumn: {
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        const tarvel::BaseResult& res = o.result;
        const std::string* texts[] = {&res.xt, &res.qmaxt, &res.tt, &res.fqt};
        return qtext(*texts[column - XColumn]);
    }
    case VerdictColumn: {
        QString shown;
        QColor colour = failColour;
        if (o.status == Status::Ok && o.hasChecks) {
            shown = o.checks.ok ? "满足" : "不满足";
            if (o.checks.ok) colour = passColour;
        } else {
            shown = QString::fromUtf8(o.message.c_str());
        }
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return shown;
        if (role == Qt::ForegroundRole) return colour;
        return {};
    }
    default: {
        if (o.status != Status::Ok || !o.hasChecks) return {};
        const tarvel::Check& c = o.checks.checks[checkOfColumn(column)];
        if (!c.checked) return {};
        if (role == Qt::DisplayRole) return qtext(c.ratioText) + (governs ? governingMark : "");
        if (role == UtilisationDelegate::ratioRole) return c.ratio;
        if (role == Qt::FontRole && governs) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (role == Qt::ToolTipRole) {
            const QString unit = QString::fromUtf8(tarvel::checkDefinition(c.id).unit);
            return QString("%1：设计值 %2 %3，承载力/限值 %4 %3")
                .arg(QString::fromUtf8(c.title), qtext(c.demandText), unit, qtext(c.capacityText));
        }
        return {};
    }
    }
}

bool LoadTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() >= inputColumnCount || locked_)
        return false;
    const QString t = value.toString();
    if (t == text(index.row(), index.column())) return true;
    undo_.push(new SetTextCommand(this, index.row(), index.column(), t));
    return true;
}

void LoadTableModel::insertLoads(int row, const std::vector<tarvel::ProjectLoad>& loads,
                                 const QString& what, const std::vector<std::string>& notes) {
    if (locked_ || loads.empty()) return;
    row = std::clamp(row, 0, rowCount());
    std::vector<Row> rows;
    for (std::size_t k = 0; k < loads.size(); ++k)
        rows.push_back(
            Row{loads[k], std::nullopt, false, k < notes.size() ? qtext(notes[k]) : QString()});
    undo_.push(new InsertCommand(this, row, std::move(rows), what));
}

void LoadTableModel::removeLoads(std::vector<int> rows) {
    if (locked_ || rows.empty()) return;
    undo_.push(new RemoveCommand(this, std::move(rows)));
}

void LoadTableModel::duplicateLoads(std::vector<int> rows) {
    if (locked_ || rows.empty()) return;
    std::sort(rows.begin(), rows.end());
    std::vector<tarvel::ProjectLoad> copies;
    for (int r : rows)
        copies.push_back(rows_[r].load);
    // The copies go after the last row chosen, in their order.
    insertLoads(rows.back() + 1, copies, "复制行");
}

void LoadTableModel::storeText(int row, int column, const QString& t) {
    loadField(rows_[row].load, column) = t.toStdString();
    rows_[row].outcome.reset();
    rows_[row].note.clear(); // no longer what was read
    rows_[row].cancelled = false;
    touched();
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void LoadTableModel::storeInsert(int row, const std::vector<Row>& rows) {
    beginInsertRows({}, row, row + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.begin() + row, rows.begin(), rows.end());
    endInsertRows();
    touched();
}

std::vector<LoadTableModel::Row> LoadTableModel::storeRemove(int row, int count) {
    beginRemoveRows({}, row, row + count - 1);
    std::vector<Row> removed(rows_.begin() + row, rows_.begin() + row + count);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    endRemoveRows();
    touched();
    return removed;
}

void LoadTableModel::touched() {
    ++revision_;
    updateGoverning();
    emit edited();
}

void LoadTableModel::resetLoads(const std::vector<tarvel::ProjectLoad>& loads) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(loads.size()); // a row is several kilobytes: no moves as the table grows
    for (const tarvel::ProjectLoad& load : loads)
        rows_.push_back(Row{load, std::nullopt, false, QString()});
    endResetModel();
    undo_.clear();
    ++revision_;
    updateGoverning();
}

std::vector<tarvel::ProjectLoad> LoadTableModel::loads() const {
    std::vector<tarvel::ProjectLoad> out;
    for (const Row& r : rows_)
        out.push_back(r.load);
    return out;
}

void LoadTableModel::setLocked(bool locked) {
    locked_ = locked;
    // The views ask flags() again.
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, inputColumnCount - 1));
}

void LoadTableModel::setOutcomes(tarvel::ComputedCases outcomes) {
    const std::size_t n = std::min(outcomes.size(), rows_.size());
    for (std::size_t k = 0; k < n; ++k) {
        rows_[k].cancelled = !outcomes[k];
        rows_[k].outcome = std::move(outcomes[k]);
    }
    updateGoverning();
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void LoadTableModel::clearOutcomes() {
    bool any = false;
    for (Row& r : rows_) {
        any = any || r.outcome || r.cancelled;
        r.outcome.reset();
        r.cancelled = false;
    }
    if (!any) return;
    updateGoverning();
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void LoadTableModel::updateGoverning() {
    governing_ = tarvel::governingCases(rows_.size(), [this](std::size_t k) {
        return rows_[k].outcome ? &*rows_[k].outcome : nullptr;
    });
    emit outcomesChanged();
}

QString LoadTableModel::summary() const {
    QStringList parts;
    for (int c = 0; c < tarvel::checkCount; ++c) {
        const int r = governing_[c];
        if (r < 0) continue;
        const tarvel::Check& check = rows_[r].outcome->checks.checks[c];
        // A check the same in every combination has none that governs it.
        QString where = "与荷载无关";
        if (tarvel::checkDefinition(check.id).dependsOnLoad) {
            const QString name = qtext(rows_[r].load.name).trimmed();
            where = QString("第 %1 行%2")
                        .arg(r + 1)
                        .arg(name.isEmpty() ? QString() : "（" + name + "）");
        }
        parts << QString("%1 %2 %3")
                     .arg(QString::fromUtf8(check.title), where, qtext(check.ratioText));
    }
    const QString failed = failures();
    if (parts.isEmpty()) return failed.isEmpty() ? QString() : "最不利：（无）；" + failed;
    return "最不利：" + parts.join("；") + (failed.isEmpty() ? QString() : "。" + failed);
}

QString LoadTableModel::failures() const {
    int count = 0, first = -1;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const auto& o = rows_[r].outcome;
        if (!o || (o->status == tarvel::CaseStatus::Ok && o->hasChecks)) continue;
        if (count++ == 0) first = r;
    }
    if (count == 0) return {};
    const QString name = qtext(rows_[first].load.name).trimmed();
    return QString("%1 个荷载组合未得出验算结果，不计入最不利（首个：第 %2 行%3，%4）")
        .arg(count)
        .arg(first + 1)
        .arg(name.isEmpty() ? QString() : "（" + name + "）")
        .arg(qtext(rows_[first].outcome->message));
}
