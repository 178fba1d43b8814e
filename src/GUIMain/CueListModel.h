#pragma once

#include <QAbstractTableModel>

namespace GUIMain {

class CueListView;

// The cue list view's table as Qt's item views read it: it stores no texts and asks the
// view for every cell it is asked for, so only the visible cells are ever produced. The row
// and column counts it reports are the ones last published by the view, which publishes
// them after a burst of insertions and removals, not at each one.
class CueListModel : public QAbstractTableModel {
public:
    explicit CueListModel(const CueListView& view);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Tells the item views the new counts: rows and columns appended or taken from the end
    // (the cells are asked again at the next paint anyway).
    void publish(int rows, int columns);

private:
    const CueListView& view_;
    int rows_ = 0;
    int columns_ = 0;
};

}  // namespace GUIMain
