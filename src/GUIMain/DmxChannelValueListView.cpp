#include "GUIMain/DmxChannelValueListView.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <map>

#include "Config/Settings.h"
#include "GUIMain/LibraryTable.h"
#include "Project/Fixture.h"
#include "Project/Operations/OperationSelectionChannelsFixture.h"
#include "Project/Operations/OperationSetChannelValue.h"

namespace GUIMain {

using Project::Fixture;
using Project::OperationSetChannelValue;
using Column = DmxChannelValueListView::Column;

namespace {

constexpr int kColumns = DmxChannelValueListView::kColumnCount;
constexpr std::array<const wchar_t*, kColumns> kColumnKeys = {
    L"FIXTURES.CHANNEL.COLUMN.CHANNEL",    L"FIXTURES.CHANNEL.COLUMN.VALUE",
    L"FIXTURES.CHANNEL.COLUMN.DYNAMIC",    L"FIXTURES.CHANNEL.COLUMN.SAFETY",
    L"FIXTURES.CHANNEL.COLUMN.SLOWSAFETY",
};

bool isMark(int column)
{
    return column >= DmxChannelValueListView::kDynamic;
}

bool markOf(const Project::DmxChannelValue& channel, int column)
{
    switch (column) {
        case DmxChannelValueListView::kDynamic: return channel.isDynamic();
        case DmxChannelValueListView::kSafety: return channel.isSafety();
        default: return channel.isSlowSafety();
    }
}

}  // namespace

// The channels of one fixture in channel-list order, rebuilt after every operation.
class ChannelTableModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const Fixture::ChannelItem* channel = channelAt(index.row());
        if (channel == nullptr) {
            return {};
        }
        const int column = index.column();
        if (isMark(column)) {
            if (role == Qt::CheckStateRole) {
                return markOf(*channel, column) ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        }
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            return column == DmxChannelValueListView::kChannel ? int(channel->getChannel())
                                                               : int(channel->getValue());
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < kColumns) {
            return QString::fromStdWString(
                Config::tr(kColumnKeys[static_cast<std::size_t>(section)]));
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        const Qt::ItemFlags base = QAbstractTableModel::flags(index);
        return isMark(index.column()) ? base | Qt::ItemIsUserCheckable : base | Qt::ItemIsEditable;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!editor) {
            return false;
        }
        if (role == Qt::CheckStateRole && isMark(index.column())) {
            const bool on = value.toInt() == Qt::Checked;
            return editor(index.row(), index.column(),
                          on ? QStringLiteral("1") : QStringLiteral("0"));
        }
        return role == Qt::EditRole && editor(index.row(), index.column(), value.toString());
    }

    Fixture::ChannelItem* channelAt(int row) const
    {
        return row >= 0 && row < static_cast<int>(rows_.size())
                   ? rows_[static_cast<std::size_t>(row)]
                   : nullptr;
    }
    Fixture* fixture() const { return fixture_; }

    void show(Fixture* fixture)
    {
        std::vector<Fixture::ChannelItem*> rows;
        if (fixture != nullptr) {
            for (Fixture::ChannelItem* c = fixture->getFirstChannel(); c != nullptr;
                 c = c->getNext()) {
                rows.push_back(c);
            }
        }
        if (fixture == fixture_ && rows == rows_) {
            if (!rows_.empty()) {
                emit dataChanged(index(0, 0), index(rowCount({}) - 1, kColumns - 1));
            }
            return;
        }
        beginResetModel();
        fixture_ = fixture;
        rows_ = std::move(rows);
        endResetModel();
    }

    std::function<bool(int, int, const QString&)> editor;

private:
    Fixture* fixture_ = nullptr;
    std::vector<Fixture::ChannelItem*> rows_;
};

DmxChannelValueListView::DmxChannelValueListView(Hooks hooks, QWidget* parent)
    : QWidget(parent), hooks_(std::move(hooks)), model_(std::make_unique<ChannelTableModel>())
{
    setObjectName(QStringLiteral("DmxChannelValueListView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("ChannelsCaption"));
    caption_->setWordWrap(true);
    layout->addWidget(caption_);

    auto* table = new LibraryTable(this);
    table->onDelete = hooks_.deleteRequested;
    table->setUp(model_.get(), QStringLiteral("Channels"), QStringLiteral("ChannelRows"));
    table_ = table;
    constexpr std::array<int, kColumns> kWidths = {62, 50, 72, 62, 80};
    for (int c = 0; c < kColumns; ++c) {
        table_->setColumnWidth(c, kWidths[static_cast<std::size_t>(c)]);
    }
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { submitViewSelection(); });
    model_->editor = [this](int row, int column, const QString& text) {
        return editCell(row, static_cast<Column>(column), text);
    };
    layout->addWidget(table_, 1);
    showFixture(nullptr);
}

DmxChannelValueListView::~DmxChannelValueListView()
{
    delete table_;
    table_ = nullptr;
}

void DmxChannelValueListView::showFixture(Fixture* fixture)
{
    model_->show(fixture);
    if (fixture == nullptr) {
        caption_->setText(QString::fromStdWString(Config::tr(L"FIXTURES.CHANNEL.NONE")));
    } else {
        caption_->setText(QString::fromStdWString(
            Config::tr(L"FIXTURES.CHANNEL.OF") + L" " + fixture->getDescription() + L" (" +
            std::to_wstring(fixture->getChannelCount()) + L" " +
            Config::tr(L"FIXTURES.CHANNEL.COUNT") + L")"));
    }
    syncSelection();
}

Fixture* DmxChannelValueListView::getFixture() const
{
    return model_->fixture();
}

int DmxChannelValueListView::visibleCount() const
{
    return model_->rowCount({});
}

std::vector<LibraryListEntry> DmxChannelValueListView::shownOrder() const
{
    std::vector<LibraryListEntry> order;
    for (int row = 0; row < visibleCount(); ++row) {
        const Fixture::ChannelItem* channel = model_->channelAt(row);
        order.push_back({channel->getId(), channel->isSelected()});
    }
    return order;
}

bool DmxChannelValueListView::editCell(int row, Column column, const QString& typed)
{
    const Fixture::ChannelItem* target = model_->channelAt(row);
    const Fixture* fixture = model_->fixture();
    if (target == nullptr || fixture == nullptr) {
        return false;
    }
    bool ok = false;
    const QString text = typed.trimmed();
    const int value = text.toInt(&ok);
    int field = OperationSetChannelValue::CHANNEL;
    int current = 0;
    switch (column) {
        case kChannel:
            if (!ok || text.startsWith(u'+') || value < 1 || value > fixture->getChannelCount()) {
                hooks_.refuse(L"FIXTURES.EDIT.CHANNEL");
                return false;
            }
            current = target->getChannel();
            break;
        case kValue:
            if (!ok || text.startsWith(u'+') || value < 0 || value > 255) {
                hooks_.refuse(L"FIXTURES.EDIT.VALUE");
                return false;
            }
            field = OperationSetChannelValue::VALUE;
            current = target->getValue();
            break;
        default:
            field = column == kDynamic  ? OperationSetChannelValue::DYNAMIC
                    : column == kSafety ? OperationSetChannelValue::SAFETY
                                        : OperationSetChannelValue::SLOW_SAFETY;
            current = markOf(*target, column) ? 1 : 0;
            break;
    }
    if (value == current) {
        return true;
    }
    // The value operation sets the selected channels: make the edited one the only one.
    std::map<int32_t, bool> flags;
    for (const Fixture::ChannelItem* c = fixture->getFirstChannel(); c != nullptr;
         c = c->getNext()) {
        if (c->isSelected() != (c == target)) {
            flags[c->getId()] = c == target;
        }
    }
    if (!flags.empty()) {
        hooks_.submit(
            std::make_unique<Project::OperationSelectionChannelsFixture>(std::move(flags)));
    }
    return hooks_.submit(std::make_unique<OperationSetChannelValue>(field, value));
}

void DmxChannelValueListView::submitViewSelection()
{
    if (syncing_) {
        return;
    }
    if (!static_cast<LibraryTable*>(table_)->isHandlingUserInput()) {
        syncSelection();  // Qt's own choice: the library's selection stands
        return;
    }
    std::map<int32_t, bool> flags;
    for (int row = 0; row < visibleCount(); ++row) {
        const Fixture::ChannelItem* channel = model_->channelAt(row);
        const bool selected = table_->selectionModel()->isRowSelected(row, QModelIndex());
        if (selected != channel->isSelected()) {
            flags[channel->getId()] = selected;
        }
    }
    if (!flags.empty()) {
        hooks_.submit(
            std::make_unique<Project::OperationSelectionChannelsFixture>(std::move(flags)));
    }
}

void DmxChannelValueListView::syncSelection()
{
    QItemSelection wanted;
    bool same = true;
    QItemSelectionModel* selection = table_->selectionModel();
    for (int row = 0; row < visibleCount(); ++row) {
        const bool selected = model_->channelAt(row)->isSelected();
        if (selected) {
            wanted.select(model_->index(row, 0), model_->index(row, kColumns - 1));
        }
        same = same && selection->isRowSelected(row, QModelIndex()) == selected;
    }
    if (!same) {
        syncing_ = true;
        selection->select(wanted, QItemSelectionModel::ClearAndSelect);
        syncing_ = false;
    }
}

}  // namespace GUIMain
