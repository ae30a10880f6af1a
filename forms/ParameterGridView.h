#ifndef ZENDRIK_FORMS_PARAMETERGRIDVIEW_H
#define ZENDRIK_FORMS_PARAMETERGRIDVIEW_H

#include <QTableView>

// The key/value grid of a ParameterGridModel ("Parameter" / "Value"), as the main window's
// parameter grid shows it: a combo box over the value cell of each pick-list row (a fixed choice
// for the read-only rows, a choice or typed text for the others), separators one pixel high,
// cells painted in the colours the model gives with their text two pixels inside, and the value
// under the mouse offered as a hint. A pick is committed as soon as it is made, so the row is
// validated at once; typed text when the cell is left.
class ParameterGridView : public QTableView {
    Q_OBJECT
public:
    explicit ParameterGridView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

signals:
    // The value of the row under the mouse, while it is over the value column.
    void hintChanged(const QString& text);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Row heights: separators one pixel, every other row the default.
    void FitRows();

    QString lastHint_;
};

#endif
