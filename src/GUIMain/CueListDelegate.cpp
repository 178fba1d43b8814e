#include "GUIMain/CueListDelegate.h"

#include <QFontMetrics>
#include <QPainter>

#include "GUIMain/CueListView.h"

namespace GUIMain {

namespace {

// The space between a cell's edge and its text.
constexpr int kTextMargin = 4;

}  // namespace

CueListDelegate::CueListDelegate(const CueListView& view, QObject* parent)
    : QAbstractItemDelegate(parent), view_(view)
{
}

void CueListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    const std::optional<CueRowColors> colors = view_.getRowColors(index.row());
    if (!colors) {
        return;
    }
    const int column = index.column();
    const QColor& background = column == kColumnCommand  ? colors->commandBackground
                               : column == kColumnStatus ? colors->conditionBackground
                                                         : colors->background;
    painter->fillRect(option.rect, background);
    const QString text = view_.getCellText(index.row(), column);
    if (text.isEmpty()) {
        return;
    }
    const QRect area = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    const QFontMetrics& metrics = option.fontMetrics;
    const QString shown = metrics.horizontalAdvance(text) <= area.width()
                              ? text
                              : metrics.elidedText(text, Qt::ElideRight, area.width());
    painter->setPen(colors->text);
    painter->drawText(
        area,
        static_cast<int>(view_.getColumnAlignment(column) | Qt::AlignVCenter) | Qt::TextSingleLine,
        shown);
}

QSize CueListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = view_.getCellText(index.row(), index.column());
    return QSize(option.fontMetrics.horizontalAdvance(text) + 2 * kTextMargin,
                 option.fontMetrics.height() + 6);
}

}  // namespace GUIMain
