#include "GUIMain/FixtureListView.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "Config/Settings.h"
#include "GUIMain/LibraryTable.h"
#include "Project/Fixture.h"
#include "Project/FixtureList.h"
#include "Project/FixtureSearch.h"
#include "Project/Operations/OperationFilterFixtures.h"
#include "Project/Operations/OperationSelectionFixture.h"
#include "Project/Operations/OperationSetFixtureValue.h"
#include "Project/ProjectData.h"

namespace GUIMain {

using Project::Fixture;
using Project::OperationSetFixtureValue;

namespace {

constexpr int kColumnCount = 6;
// The columns and the edit operation's field of each.
constexpr std::array<int, kColumnCount> kFieldOfColumn = {
    OperationSetFixtureValue::DESCRIPTION,  OperationSetFixtureValue::MANUFACTURER,
    OperationSetFixtureValue::PRODUCT_NAME, OperationSetFixtureValue::CHANNEL_COUNT,
    OperationSetFixtureValue::DURATION,     OperationSetFixtureValue::COMMENTS,
};
constexpr std::array<const wchar_t*, kColumnCount> kColumnKeys = {
    L"FIXTURES.COLUMN.DESCRIPTION", L"FIXTURES.COLUMN.MANUFACTURER", L"FIXTURES.COLUMN.PRODUCTNAME",
    L"FIXTURES.COLUMN.CHANNELS",    L"FIXTURES.COLUMN.DURATION",     L"FIXTURES.COLUMN.COMMENTS",
};
constexpr std::array<int, kColumnCount> kColumnWidths = {180, 120, 120, 80, 110, 200};
constexpr std::array<const wchar_t*, FixtureListView::kSearchFieldCount> kSearchKeys = {
    L"FIXTURES.SEARCH.DESCRIPTION", L"FIXTURES.SEARCH.MANUFACTURER", L"FIXTURES.SEARCH.PRODUCTNAME",
    L"FIXTURES.SEARCH.COMMENTS",    L"FIXTURES.SEARCH.DURATION",
};
constexpr std::array<const char*, FixtureListView::kSearchFieldCount> kSearchNames = {
    "Search.description", "Search.manufacturer", "Search.productName",
    "Search.comments",    "Search.duration",
};

bool isNumberColumn(int column)
{
    return column == 3 || column == 4;
}

QVariant cell(const Fixture& fixture, int column)
{
    switch (column) {
        case 0: return QString::fromStdWString(fixture.getDescription());
        case 1: return QString::fromStdWString(fixture.getManufacturer());
        case 2: return QString::fromStdWString(fixture.getProductName());
        case 3: return fixture.getChannelCount();
        case 4: return fixture.getDuration();
        default: return QString::fromStdWString(fixture.getComments());
    }
}

bool readNumber(const QString& typed, int low, int high, int& value)
{
    bool ok = false;
    const QString text = typed.trimmed();
    value = text.toInt(&ok);
    return ok && !text.startsWith(u'+') && value >= low && value <= high;
}

}  // namespace

// The fixtures of the fixture list in the shown order. Rebuilt after every operation; a
// preset list is a rig's worth of rows.
class FixtureTableModel : public QAbstractTableModel {
public:
    explicit FixtureTableModel(const Project::FixtureList& list) : list_(list) { refresh(); }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : kColumnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const Fixture* fixture = fixtureAt(index.row());
        if (fixture == nullptr) {
            return {};
        }
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            return cell(*fixture, index.column());
        }
        if (role == Qt::TextAlignmentRole) {
            return isNumberColumn(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                  : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < kColumnCount) {
            return QString::fromStdWString(
                Config::tr(kColumnKeys[static_cast<std::size_t>(section)]));
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        return role == Qt::EditRole && editor &&
               editor(index.row(), index.column(), value.toString());
    }
    void sort(int column, Qt::SortOrder order) override
    {
        sortColumn_ = column;
        sortOrder_ = order;
        beginResetModel();
        sortRows();
        endResetModel();
    }

    Fixture* fixtureAt(int row) const
    {
        return row >= 0 && row < static_cast<int>(rows_.size())
                   ? rows_[static_cast<std::size_t>(row)]
                   : nullptr;
    }

    void refresh()
    {
        std::vector<Fixture*> rows;
        for (Fixture* fixture : list_) {
            rows.push_back(fixture);
        }
        std::vector<Fixture*> sortedNow = rows_;
        std::sort(sortedNow.begin(), sortedNow.end());
        std::vector<Fixture*> sortedNew = rows;
        std::sort(sortedNew.begin(), sortedNew.end());
        if (sortedNow == sortedNew) {
            if (!rows_.empty()) {
                sortRows();
                emit dataChanged(index(0, 0), index(rowCount({}) - 1, kColumnCount - 1));
            }
            return;
        }
        beginResetModel();
        rows_ = std::move(rows);
        sortRows();
        endResetModel();
    }

    std::function<bool(int, int, const QString&)> editor;

private:
    void sortRows()
    {
        if (sortColumn_ < 0) {
            return;
        }
        const int column = sortColumn_;
        const bool descending = sortOrder_ == Qt::DescendingOrder;
        std::stable_sort(rows_.begin(), rows_.end(), [column, descending](Fixture* a, Fixture* b) {
            const Fixture* x = descending ? b : a;
            const Fixture* y = descending ? a : b;
            if (isNumberColumn(column)) {
                return cell(*x, column).toInt() < cell(*y, column).toInt();
            }
            return cell(*x, column)
                       .toString()
                       .compare(cell(*y, column).toString(), Qt::CaseInsensitive) < 0;
        });
    }

    const Project::FixtureList& list_;
    std::vector<Fixture*> rows_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

FixtureListView::FixtureListView(Project::ProjectData& data, Hooks hooks, QWidget* parent)
    : QWidget(parent),
      data_(data),
      hooks_(std::move(hooks)),
      model_(std::make_unique<FixtureTableModel>(data.getFixtureList()))
{
    setObjectName(QStringLiteral("FixtureListView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* searchRow = new QHBoxLayout();
    searchRow->setSpacing(2);
    for (int f = 0; f < kSearchFieldCount; ++f) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(kSearchNames[static_cast<std::size_t>(f)]));
        field->setPlaceholderText(
            QString::fromStdWString(Config::tr(kSearchKeys[static_cast<std::size_t>(f)])));
        field->setClearButtonEnabled(true);
        connect(field, &QLineEdit::textChanged, this, [this] { submitSearch(); });
        searchRow->addWidget(field, f == kDuration ? 1 : 2);
        searchFields_[static_cast<std::size_t>(f)] = field;
    }
    layout->addLayout(searchRow);

    auto* table = new LibraryTable(this);
    table->onDelete = hooks_.deleteRequested;
    table->setUp(model_.get(), QStringLiteral("Fixtures"), QStringLiteral("FixtureRows"));
    table_ = table;
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    for (int c = 0; c < kColumnCount; ++c) {
        table_->setColumnWidth(c, kColumnWidths[static_cast<std::size_t>(c)]);
    }
    connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                model_->sort(column, order);
                syncSelection();
            });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { submitViewSelection(); });
    model_->editor = [this](int row, int column, const QString& text) {
        return editCell(row, column, text);
    };
    layout->addWidget(table_, 1);
    syncSelection();
}

FixtureListView::~FixtureListView()
{
    delete table_;
    table_ = nullptr;
}

void FixtureListView::refresh()
{
    model_->refresh();
    syncSelection();
}

QLineEdit* FixtureListView::searchField(SearchField field) const
{
    return searchFields_[static_cast<std::size_t>(field)];
}

int FixtureListView::visibleCount() const
{
    return model_->rowCount({});
}

Fixture* FixtureListView::fixtureAt(int row) const
{
    return model_->fixtureAt(row);
}

std::vector<LibraryListEntry> FixtureListView::shownOrder() const
{
    std::vector<LibraryListEntry> order;
    for (int row = 0; row < visibleCount(); ++row) {
        const Fixture* fixture = model_->fixtureAt(row);
        order.push_back({fixture->getId(), fixture->isSelected()});
    }
    return order;
}

void FixtureListView::submitSearch()
{
    Project::FixtureSearchCriteria criteria;
    criteria.description = searchFields_[kDescription]->text().toStdWString();
    criteria.manufacturer = searchFields_[kManufacturer]->text().toStdWString();
    criteria.productName = searchFields_[kProductName]->text().toStdWString();
    criteria.comments = searchFields_[kComments]->text().toStdWString();
    criteria.duration = searchFields_[kDuration]->text().toStdWString();
    hooks_.submit(std::make_unique<Project::OperationFilterFixtures>(criteria));
}

bool FixtureListView::editCell(int row, int column, const QString& text)
{
    Fixture* target = model_->fixtureAt(row);
    if (target == nullptr || column < 0 || column >= kColumnCount) {
        return false;
    }
    const int field = kFieldOfColumn[static_cast<std::size_t>(column)];
    std::unique_ptr<Project::IOperation> operation;
    if (isNumberColumn(column)) {
        int value = 0;
        const bool channels = column == 3;
        if (!readNumber(text, channels ? 1 : 0, channels ? 512 : 3600000, value)) {
            hooks_.refuse(channels ? L"FIXTURES.EDIT.CHANNEL_COUNT" : L"FIXTURES.EDIT.DURATION");
            return false;
        }
        if (value == cell(*target, column).toInt()) {
            return true;
        }
        operation = std::make_unique<OperationSetFixtureValue>(field, value);
    } else {
        if (text == cell(*target, column).toString()) {
            return true;
        }
        operation = std::make_unique<OperationSetFixtureValue>(field, text.toStdWString());
    }
    // The edit operation acts on the selected fixtures: make the edited one the only one.
    std::map<int32_t, bool> flags;
    for (const Fixture* fixture : data_.getFixtureList()) {
        if (fixture->isSelected() != (fixture == target)) {
            flags[fixture->getId()] = fixture == target;
        }
    }
    if (!flags.empty()) {
        hooks_.submit(std::make_unique<Project::OperationSelectionFixture>(std::move(flags)));
    }
    return hooks_.submit(std::move(operation));
}

void FixtureListView::submitViewSelection()
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
        const Fixture* fixture = model_->fixtureAt(row);
        const bool selected = table_->selectionModel()->isRowSelected(row, QModelIndex());
        if (selected != fixture->isSelected()) {
            flags[fixture->getId()] = selected;
        }
    }
    if (!flags.empty()) {
        hooks_.submit(std::make_unique<Project::OperationSelectionFixture>(std::move(flags)));
    }
}

void FixtureListView::syncSelection()
{
    QItemSelection wanted;
    int first = -1;
    for (int row = 0; row < visibleCount(); ++row) {
        if (model_->fixtureAt(row)->isSelected()) {
            wanted.select(model_->index(row, 0), model_->index(row, kColumnCount - 1));
            first = first < 0 ? row : first;
        }
    }
    syncing_ = true;
    QItemSelectionModel* selection = table_->selectionModel();
    bool same = true;
    for (int row = 0; row < visibleCount() && same; ++row) {
        same = selection->isRowSelected(row, QModelIndex()) == model_->fixtureAt(row)->isSelected();
    }
    if (!same) {
        selection->select(wanted, QItemSelectionModel::ClearAndSelect);
        if (first >= 0 && !selection->isRowSelected(table_->currentIndex().row(), QModelIndex())) {
            selection->setCurrentIndex(model_->index(first, 0), QItemSelectionModel::NoUpdate);
            table_->scrollTo(model_->index(first, 0));
        }
    }
    syncing_ = false;
}

}  // namespace GUIMain
