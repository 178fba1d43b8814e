#pragma once

#include <QAbstractItemDelegate>

namespace GUIMain {

class CueListView;

// Paints the cells of the cue list view straight from the view's texts and row colours: a
// filled rectangle and one line of text, cut with an ellipsis when it does not fit. The
// general item delegate asks the model for a dozen roles a cell and lays the text out for
// wrapping, which a table of single-line cells redrawn many times a second does not need.
class CueListDelegate : public QAbstractItemDelegate {
public:
    explicit CueListDelegate(const CueListView& view, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const CueListView& view_;
};

}  // namespace GUIMain
