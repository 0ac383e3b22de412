#pragma once

#include "loads/loadcases.h"
#include "project/project.h"

#include <QAbstractTableModel>
#include <QUndoStack>

#include <array>
#include <optional>
#include <vector>

// The load combinations of a project: one row a case, its texts as typed (name, P, M, V) and,
// once computed, its outcome. Every edit goes through the undo stack; an edit of a row forgets
// that row's result, so that no result is shown beside texts it was not computed from.
class LoadTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        NameColumn,
        PColumn,
        MColumn,
        VColumn,
        XColumn,
        QmaxColumn,
        TColumn,
        CColumn,
        // One ratio column per check, in the engine's order; the steel parts' columns are
        // hidden while no detailing is given.
        BoltColumn,
        BearingColumn,
        ShearColumn,
        EquilibriumColumn,
        VerdictColumn = BoltColumn + tarvel::checkCount,
        ColumnCount
    };
    static constexpr int firstCheckColumn = BoltColumn;
    static constexpr int inputColumnCount = 4;
    // True in the cells of the case that governs a check.
    static constexpr int governingRole = Qt::UserRole + 2;

    struct Row {
        tarvel::ProjectLoad load;
        std::optional<tarvel::ComputedCase> outcome;
        bool cancelled = false; // the batch stopped before this row
        QString note;           // how an import made P, M and V; shown as the row's tooltip
    };

    explicit LoadTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    QUndoStack* undoStack() { return &undo_; }

    // Edits, each one undoable step.
    // `notes` (one per load, or none): how each load was read, until its texts are edited.
    void insertLoads(int row, const std::vector<tarvel::ProjectLoad>& loads, const QString& what,
                     const std::vector<std::string>& notes = {});
    void removeLoads(std::vector<int> rows);
    void duplicateLoads(std::vector<int> rows);

    // The whole table replaced, outside the undo history (a project opened or made new).
    void resetLoads(const std::vector<tarvel::ProjectLoad>& loads);
    std::vector<tarvel::ProjectLoad> loads() const;
    const Row& row(int r) const { return rows_[r]; }

    // While a batch runs the table cannot be edited.
    void setLocked(bool locked);
    bool locked() const { return locked_; }
    // Changes with every edit of the texts, so a batch can tell whether its cases are current.
    quint64 revision() const { return revision_; }

    // Results of a batch, in row order; nullopt rows were cancelled.
    void setOutcomes(tarvel::ComputedCases outcomes);
    // Forgets every result (geometry or design inputs changed).
    void clearOutcomes();
    // For each check, the governing row (-1 for none).
    const std::array<int, tarvel::checkCount>& governing() const { return governing_; }
    // 最不利：锚栓抗拉 第 3 行（名称）0.95；…, or empty without results.
    QString summary() const;
    // The rows computed without a verdict (refused or failed): how many, and the first named
    // with its message; empty when every computed row has its checks.
    QString failures() const;

    // The texts of a cell as stored, for the undo commands.
    QString text(int row, int column) const;
    void storeText(int row, int column, const QString& text);
    void storeInsert(int row, const std::vector<Row>& rows);
    std::vector<Row> storeRemove(int row, int count);

  signals:
    void edited();          // the texts changed (also by undo and redo)
    void outcomesChanged(); // results came or went

  private:
    QVariant resultData(const Row& r, int column, int role, bool governs) const;
    void updateGoverning();
    void touched();

    // A row holds room for its record (several kilobytes): a plant's export of 20,000 rows
    // is over 100 MB, laid on huge pages.
    std::vector<Row, tarvel::LargeBlockAllocator<Row>> rows_;
    QUndoStack undo_;
    bool locked_ = false;
    quint64 revision_ = 0;
    std::array<int, tarvel::checkCount> governing_;
};
