#ifndef ZENDRIK_DATAFILES_CHECKLISTMODEL_H
#define ZENDRIK_DATAFILES_CHECKLISTMODEL_H

#include <QAbstractListModel>
#include <QString>
#include <vector>

// A check list box without the widget: rows of text, each checked or not. The segment check
// lists of the two measurement sets are kept in this form; the main window's list views show it.
class CheckListModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Row {
        QString Text;
        bool Checked = false;
    };

    explicit CheckListModel(QObject* parent = nullptr);

    int Count() const { return static_cast<int>(rows_.size()); }
    const QString& Text(int row) const { return rows_.at(static_cast<size_t>(row)).Text; }
    bool Checked(int row) const { return rows_.at(static_cast<size_t>(row)).Checked; }

    void Clear();
    int AddRow(const QString& text, bool checked);
    void SetChecked(int row, bool checked);
    // Replaces every row at once (one model reset).
    void Assign(std::vector<Row> rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<Row> rows_;
};

#endif
