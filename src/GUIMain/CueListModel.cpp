#include "GUIMain/CueListModel.h"

#include <QBrush>

#include "GUIMain/CueListView.h"

namespace GUIMain {

CueListModel::CueListModel(const CueListView& view) : view_(view) {}

int CueListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int CueListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant CueListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole: {
            QString text = view_.getCellText(index.row(), index.column());
            return text.isEmpty() ? QVariant() : QVariant(text);
        }
        case Qt::BackgroundRole: {
            const std::optional<CueRowColors> colors = view_.getRowColors(index.row());
            if (!colors) {
                return {};
            }
            if (index.column() == kColumnCommand) {
                return QBrush(colors->commandBackground);
            }
            if (index.column() == kColumnStatus) {
                return QBrush(colors->conditionBackground);
            }
            return QBrush(colors->background);
        }
        case Qt::ForegroundRole: {
            const std::optional<CueRowColors> colors = view_.getRowColors(index.row());
            return colors ? QVariant(QBrush(colors->text)) : QVariant();
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(view_.getColumnAlignment(index.column()) | Qt::AlignVCenter);
        default: return {};
    }
}

QVariant CueListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return view_.getColumnTitle(section);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(view_.getColumnAlignment(section) | Qt::AlignVCenter);
    }
    return {};
}

void CueListModel::publish(int rows, int columns)
{
    if (columns > columns_) {
        beginInsertColumns(QModelIndex(), columns_, columns - 1);
        columns_ = columns;
        endInsertColumns();
    }
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
}

}  // namespace GUIMain
