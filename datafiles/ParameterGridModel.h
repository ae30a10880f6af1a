#ifndef ZENDRIK_DATAFILES_PARAMETERGRIDMODEL_H
#define ZENDRIK_DATAFILES_PARAMETERGRIDMODEL_H

#include "chart/canvas/PlotColor.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// One row of a key/value grid as the window's start-up lays it out.
struct ParameterRow {
    QString Key;
    QString Default;
    bool PickList = false; // the value is chosen from a list (a combo box in the view)
    bool ReadOnly = false; // with a pick list: only a value from the list can be taken
    QStringList Picks;     // fixed entries; file rows get theirs from the file lists
    bool Separator = false; // key and value " ", drawn 1 pixel high
};

// A key/value grid ("Parameter" / "Value") without the widget: the main window's parameter grid,
// the coverage view's grid and the generator view's settings grid are each one of these, built
// from a table of rows. Values are texts exactly as the cells hold them. A value the operator
// commits in a view is announced through ValueEdited, which the grid's logic answers (it may
// write the cell back); values set by the logic itself through SetValue are not announced.
class ParameterGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // What a view needs beyond the texts.
    enum Role {
        PickListRole = Qt::UserRole + 1, // QStringList: the entries of the row's list
        ReadOnlyRole,                    // bool: only a list entry may be taken
        SeparatorRole,                   // bool: a 1-pixel separator row
        KeyRole,                         // QString: the row's key, on either column
    };

    // Cell colours of the owner drawing; TColor values (0x00BBGGRR). clNone leaves a cell to the
    // view's normal drawing.
    struct CellColors {
        TColor Background = clNone;
        TColor Text = clNone;
    };

    explicit ParameterGridModel(std::vector<ParameterRow> rows, QObject* parent = nullptr);

    // Queries. A key that is not a row gives an empty value, an empty list and row -1.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int RowOf(const QString& key) const;
    const ParameterRow& Definition(int row) const { return rows_.at(static_cast<size_t>(row)); }
    QString Value(const QString& key) const;
    QStringList PickList(const QString& key) const;

    // Changes by the program (never announced through ValueEdited).
    bool SetValue(const QString& key, const QString& value);
    void SetPickList(const QString& key, const QStringList& picks);
    // While a run owns the instrument, the grid takes no edits.
    void SetLocked(bool locked);
    // The owner drawing's colours of a row's key and value cells.
    void SetRowColors(const QString& key, CellColors keyCell, CellColors valueCell);

    // QAbstractTableModel.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The operator committed value in the row of key (the cell already holds it).
    void ValueEdited(const QString& key, const QString& value);

private:
    struct RowState {
        QString Value;
        QStringList Picks;
        CellColors KeyColors;
        CellColors ValueColors;
    };

    std::vector<ParameterRow> rows_;
    std::vector<RowState> state_;
    QHash<QString, int> index_; // key -> row; separators are not indexed
    bool locked_ = false;
};

#endif
