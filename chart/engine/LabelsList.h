#ifndef ZENDRIK_CHART_ENGINE_LABELSLIST_H
#define ZENDRIK_CHART_ENGINE_LABELSLIST_H

#include <QString>
#include <vector>

// The point labels of a series. It stays empty while no point has a label and may be shorter
// than the point count; reading past its end gives an empty text. An empty QString is an entry
// without text.
class TLabelsList {
public:
    int Count() const { return static_cast<int>(labels_.size()); }
    bool IsEmpty() const { return labels_.empty(); }

    QString Labels(int index) const;
    QString operator[](int index) const { return Labels(index); }
    // Writes one entry, padding the list up to it when needed (an empty text past the end
    // changes nothing).
    void SetLabel(int index, const QString& text);

    void InsertLabel(int index, const QString& text);
    void DeleteLabel(int index);
    void DeleteRange(int start, int quantity);
    void Exchange(int index1, int index2);
    void Clear();
    void Assign(const TLabelsList& source);

private:
    std::vector<QString> labels_;
};

#endif
