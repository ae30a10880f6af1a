#ifndef ZENDRIK_COVERAGE_COVERAGEGRID_H
#define ZENDRIK_COVERAGE_COVERAGEGRID_H

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The coverage view's settings grid ("Parameter" / "Value") without its widget. Rows, defaults
// and pick lists are fixed at creation; the logic reads and writes values by key. An edit made
// through the model (the grid widget) is reported by ValueEdited, so that the view validates the
// row; values the logic sets report nothing.
class CoverageGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    // Data roles beside the display text: the row's pick list (QStringList, empty for a plain
    // row) and whether only a value of the list may be chosen.
    static constexpr int PickListRole = Qt::UserRole + 1;
    static constexpr int PickOnlyRole = Qt::UserRole + 2;

    struct Row {
        QString Key;
        QString Value;
        QStringList PickList;
        bool PickOnly = false;
    };

    explicit CoverageGrid(QObject* parent = nullptr);

    int RowOf(const QString& key) const; // -1 when there is no such row
    QString Value(const QString& key) const;
    const std::vector<Row>& Rows() const { return rows_; }

    void SetValue(const QString& key, const QString& value);
    void SetPickList(const QString& key, const QStringList& list);

    // QAbstractTableModel.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void ValueEdited(const QString& key);

private:
    std::vector<Row> rows_;
};

// The row keys.
namespace coveragegrid {
inline const QString kFreqA = QStringLiteral("Freq A[Hz]");
inline const QString kFreqB = QStringLiteral("Freq B[Hz]");
inline const QString kFreqC = QStringLiteral("Freq C[Hz]");
inline const QString kHigh = QStringLiteral("High[dBm]");
inline const QString kLow = QStringLiteral("Low[dBm]");
inline const QString kCableCor = QStringLiteral("Cable Cor");
inline const QString kAmpCor = QStringLiteral("Amp Cor");
inline const QString kAntCor = QStringLiteral("Ant Cor");
inline const QString kDetector = QStringLiteral("Detector");
inline const QString kSweep = QStringLiteral("Sweep [ms]");
inline const QString kRbw = QStringLiteral("RBW [Hz]");
inline const QString kSpan = QStringLiteral("Span [Hz]");
inline const QString kPreAmp = QStringLiteral("PreAmp");
inline const QString kAttenuator = QStringLiteral("Attenuator [dB]");
// The frequency rows of A, B and C.
const QString& FreqKey(int x);
// A frequency row's value as the view measures it: a number ("." or "," as decimal sign) within
// the bound of a project's FREQ_A (0 Hz .. 1 THz); nothing for any other text (not measured).
std::optional<double> MeasuredFrequency(const QString& text);
} // namespace coveragegrid

#endif
