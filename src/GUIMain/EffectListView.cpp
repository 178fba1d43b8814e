#include "GUIMain/EffectListView.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cwctype>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "Config/Settings.h"
#include "GUIMain/LibraryTable.h"
#include "Project/EffectSearch.h"
#include "Project/NumberText.h"
#include "Project/Operations/EffectCsv.h"
#include "Project/Operations/OperationSelectionEffect.h"
#include "Project/Operations/OperationSetEffectValue.h"

namespace GUIMain {

using Project::Effect;
using Project::EffectField;
using Project::EffectFieldKind;
using Project::EffectList;

namespace {

constexpr std::array<int, Project::kEffectFieldCount> kColumnWidths = {
    230, 100, 80, 90, 80, 130, 90, 80, 100, 100, 70, 90, 110, 80, 130};

QString fromWide(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

std::wstring columnKey(int field)
{
    return L"EFFECTS.COLUMN." + Project::OperationSetEffectValue::fieldName(field);
}

// The cell text: texts as stored, numbers plain (the unit is in the column head), the price
// with two decimals; -1, the mark of a number that could not be read, as "?".
QString cellText(const Effect& effect, EffectField field)
{
    switch (Project::effectFieldKind(field)) {
        case EffectFieldKind::WHOLE_NUMBER: {
            const int32_t value = effect.getWholeNumberField(field);
            return value < 0 ? QStringLiteral("?") : QString::number(value);
        }
        case EffectFieldKind::REAL:
            return effect.getPrice() < 0.0 ? QStringLiteral("?")
                                           : QString::number(effect.getPrice(), 'f', 2);
        case EffectFieldKind::TEXT: break;
    }
    return fromWide(effect.getFieldText(field));
}

std::wstring lowered(std::wstring text)
{
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return text;
}

// A typed whole number: digits only (blanks around them allowed), 0 or more; empty is 0.
bool readWholeNumber(const std::wstring& typed, int32_t& value)
{
    const std::string text = QString::fromStdWString(typed).trimmed().toStdString();
    if (text.empty()) {
        value = 0;
        return true;
    }
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// A typed price: digits with at most one decimal point or comma; empty is 0.
bool readPrice(const std::wstring& typed, double& value)
{
    const QString text = QString::fromStdWString(typed).trimmed();
    if (text.isEmpty()) {
        value = 0.0;
        return true;
    }
    int digits = 0;
    int separators = 0;
    for (QChar c : text) {
        if (c.isDigit() && c.unicode() < 128) {
            ++digits;
        } else if (c == u'.' || c == u',') {
            ++separators;
        } else {
            return false;
        }
    }
    if (digits == 0 || digits > 12 || separators > 1) {
        return false;
    }
    value = Project::parseDecimalNumber(text.toStdWString());
    return value >= 0.0;
}

// Whether two selections cover the same rows (their ranges may be cut differently).
bool sameRows(const QItemSelection& a, const QItemSelection& b, int rows)
{
    auto mark = [rows](const QItemSelection& selection) {
        std::vector<bool> marked(static_cast<std::size_t>(rows), false);
        for (const QItemSelectionRange& range : selection) {
            for (int row = std::max(0, range.top()); row <= range.bottom() && row < rows; ++row) {
                marked[static_cast<std::size_t>(row)] = true;
            }
        }
        return marked;
    };
    return mark(a) == mark(b);
}

}  // namespace

// The rows the table shows: the library's effects that meet the search, in the chosen
// order. The library's own notifications keep the cells current; rows are rebuilt when
// effects come or go (refresh) and when the search or the order changes.
class EffectTableModel : public QAbstractTableModel, public EffectList::Listener {
public:
    explicit EffectTableModel(EffectList& library) : library_(library)
    {
        library_.addListener(this);
        for (EffectList::EffectItem* effect : library_) {
            all_.push_back(effect);
        }
        rebuild();
    }
    ~EffectTableModel() override { library_.removeListener(this); }
    EffectTableModel(const EffectTableModel&) = delete;
    EffectTableModel& operator=(const EffectTableModel&) = delete;

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(shown_.size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : Project::kEffectFieldCount;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const Effect* effect = effectAt(index.row());
        if (effect == nullptr) {
            return {};
        }
        const auto field = static_cast<EffectField>(index.column());
        const bool number = Project::effectFieldKind(field) != EffectFieldKind::TEXT;
        switch (role) {
            case Qt::DisplayRole: return cellText(*effect, field);
            case Qt::EditRole: {
                const QString text = cellText(*effect, field);
                return text == QStringLiteral("?") ? QString() : text;
            }
            case Qt::TextAlignmentRole:
                return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                              : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
            default: return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            return fromWide(Config::tr(columnKey(section)));
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !editor_) {
            return false;
        }
        return editor_(index.row(), static_cast<EffectField>(index.column()), value.toString());
    }

    void sort(int column, Qt::SortOrder order) override
    {
        sortColumn_ = column;
        sortOrder_ = order;
        rebuild();
    }

    void setCriterion(EffectField field, const std::wstring& text)
    {
        criteria_[static_cast<std::size_t>(field)] = text;
        pinned_.clear();
        rebuild();
    }
    const Project::EffectTexts& criteria() const { return criteria_; }
    bool isSearching() const
    {
        return std::any_of(criteria_.begin(), criteria_.end(),
                           [](const std::wstring& c) { return !c.empty(); });
    }

    const EffectList::EffectItem* effectAt(int row) const
    {
        return row >= 0 && row < static_cast<int>(shown_.size())
                   ? shown_[static_cast<std::size_t>(row)]
                   : nullptr;
    }
    int rowOf(const Effect* effect) const
    {
        const auto found = rowOf_.find(effect);
        return found == rowOf_.end() ? -1 : found->second;
    }

    // Applies added and removed effects; true when the rows were rebuilt.
    bool refresh()
    {
        if (!dirty_) {
            return false;
        }
        rebuild();
        return true;
    }

    void setEditor(std::function<bool(int, EffectField, const QString&)> editor)
    {
        editor_ = std::move(editor);
    }

    // EffectList::Listener
    void effectAdded(EffectList::EffectItem* effect) override
    {
        indexInAll_[effect] = all_.size();
        all_.push_back(effect);
        if (isSearching()) {
            pinned_.insert(effect);  // what the user adds stays in view
        }
        dirty_ = true;
    }
    void effectRemoved(EffectList::EffectItem* effect) override
    {
        // The item is destroyed right after this call: forget it now, tidy up in refresh().
        if (indexInAll_.empty() && !all_.empty()) {
            indexAll();
        }
        if (const auto found = indexInAll_.find(effect); found != indexInAll_.end()) {
            all_[found->second] = nullptr;
            indexInAll_.erase(found);
        }
        if (const auto found = rowOf_.find(effect); found != rowOf_.end()) {
            shown_[static_cast<std::size_t>(found->second)] = nullptr;
            rowOf_.erase(found);
        }
        pinned_.erase(effect);
        dirty_ = true;
    }
    void effectsCleared() override
    {
        all_.clear();
        indexInAll_.clear();
        pinned_.clear();
        rebuild();
    }
    void descriptionChanged(Effect* e) override { changed(e, EffectField::DESCRIPTION); }
    void articleNumberChanged(Effect* e) override { changed(e, EffectField::ARTICLE_NUMBER); }
    void durationChanged(Effect* e) override { changed(e, EffectField::DURATION); }
    void priceChanged(Effect* e) override { changed(e, EffectField::PRICE); }
    void caliberChanged(Effect* e) override { changed(e, EffectField::CALIBER); }
    void manufacturerChanged(Effect* e) override { changed(e, EffectField::MANUFACTURER); }
    void prefireChanged(Effect* e) override { changed(e, EffectField::PREFIRE); }
    void heightChanged(Effect* e) override { changed(e, EffectField::HEIGHT); }
    void colorChanged(Effect* e) override { changed(e, EffectField::COLOR); }
    void typeChanged(Effect* e) override { changed(e, EffectField::TYPE); }
    void angleChanged(Effect* e) override { changed(e, EffectField::ANGLE); }
    void vanShapeChanged(Effect* e) override { changed(e, EffectField::VAN_SHAPE); }
    void classificationChanged(Effect* e) override { changed(e, EffectField::CLASSIFICATION); }
    void weightChanged(Effect* e) override { changed(e, EffectField::WEIGHT); }
    void distanceChanged(Effect* e) override { changed(e, EffectField::DISTANCE); }

private:
    void changed(Effect* effect, EffectField field)
    {
        const int row = rowOf(effect);
        if (row >= 0) {
            const QModelIndex cell = index(row, static_cast<int>(field));
            emit dataChanged(cell, cell);
        }
    }

    void indexAll()
    {
        indexInAll_.clear();
        for (std::size_t i = 0; i < all_.size(); ++i) {
            if (all_[i] != nullptr) {
                indexInAll_[all_[i]] = i;
            }
        }
    }

    bool matches(const Effect& effect) const
    {
        for (int f = 0; f < Project::kEffectFieldCount; ++f) {
            const std::wstring& criterion = criteria_[static_cast<std::size_t>(f)];
            if (!criterion.empty() &&
                !Project::matchesEffectCriterion(effect, static_cast<EffectField>(f), criterion)) {
                return false;
            }
        }
        return true;
    }

    void sortShown()
    {
        if (sortColumn_ < 0 || sortColumn_ >= Project::kEffectFieldCount) {
            return;
        }
        const auto field = static_cast<EffectField>(sortColumn_);
        const bool descending = sortOrder_ == Qt::DescendingOrder;
        // Keys are taken once per row, so a sort of many thousand rows stays quick.
        switch (Project::effectFieldKind(field)) {
            case EffectFieldKind::TEXT: {
                std::vector<std::pair<std::wstring, EffectList::EffectItem*>> keyed;
                keyed.reserve(shown_.size());
                for (EffectList::EffectItem* effect : shown_) {
                    keyed.emplace_back(lowered(effect->getFieldText(field)), effect);
                }
                std::stable_sort(keyed.begin(), keyed.end(),
                                 [descending](const auto& a, const auto& b) {
                                     return descending ? b.first < a.first : a.first < b.first;
                                 });
                for (std::size_t i = 0; i < keyed.size(); ++i) {
                    shown_[i] = keyed[i].second;
                }
                break;
            }
            case EffectFieldKind::WHOLE_NUMBER:
            case EffectFieldKind::REAL: {
                std::vector<std::pair<double, EffectList::EffectItem*>> keyed;
                keyed.reserve(shown_.size());
                for (EffectList::EffectItem* effect : shown_) {
                    const double key = field == EffectField::PRICE
                                           ? effect->getPrice()
                                           : effect->getWholeNumberField(field);
                    keyed.emplace_back(key, effect);
                }
                std::stable_sort(keyed.begin(), keyed.end(),
                                 [descending](const auto& a, const auto& b) {
                                     return descending ? b.first < a.first : a.first < b.first;
                                 });
                for (std::size_t i = 0; i < keyed.size(); ++i) {
                    shown_[i] = keyed[i].second;
                }
                break;
            }
        }
    }

    void rebuild()
    {
        beginResetModel();
        all_.erase(std::remove(all_.begin(), all_.end(), nullptr), all_.end());
        indexInAll_.clear();  // rebuilt when a removal needs it
        shown_.clear();
        const bool searching = isSearching();
        for (EffectList::EffectItem* effect : all_) {
            if (!searching || pinned_.count(effect) != 0 || matches(*effect)) {
                shown_.push_back(effect);
            }
        }
        sortShown();
        rowOf_.clear();
        rowOf_.reserve(shown_.size());
        for (std::size_t i = 0; i < shown_.size(); ++i) {
            rowOf_[shown_[i]] = static_cast<int>(i);
        }
        dirty_ = false;
        endResetModel();
    }

    EffectList& library_;
    std::vector<EffectList::EffectItem*> all_;  // library order; null for a removed effect
    std::unordered_map<const Effect*, std::size_t> indexInAll_;
    std::vector<EffectList::EffectItem*> shown_;
    std::unordered_map<const Effect*, int> rowOf_;
    std::unordered_set<const Effect*> pinned_;
    Project::EffectTexts criteria_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool dirty_ = false;
    std::function<bool(int, EffectField, const QString&)> editor_;
};

EffectListView::EffectListView(Project::EffectList& library, Hooks hooks, QWidget* parent)
    : QWidget(parent),
      library_(library),
      hooks_(std::move(hooks)),
      model_(std::make_unique<EffectTableModel>(library))
{
    setObjectName(QStringLiteral("EffectListView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    searchRow_ = new QWidget(this);
    searchRow_->setObjectName(QStringLiteral("SearchRow"));
    auto* table = new LibraryTable(this);
    table->setUp(model_.get(), QStringLiteral("Effects"), QStringLiteral("EffectRows"));
    table_ = table;
    if (hooks_.activated) {
        table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    table_->setSortingEnabled(false);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    for (int c = 0; c < Project::kEffectFieldCount; ++c) {
        // Wide enough for the column head with its unit.
        table_->setColumnWidth(c, std::max(kColumnWidths[static_cast<std::size_t>(c)],
                                           table_->horizontalHeader()->sectionSizeHint(c) + 12));
    }
    // Sorting by a header click, without Qt's own sort-on-every-change.
    connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                model_->sort(column, order);
                syncSelectionFromLibrary();
            });

    for (int f = 0; f < Project::kEffectFieldCount; ++f) {
        auto* field = new QLineEdit(searchRow_);
        const std::string_view name = Project::EffectCsv::kColumnNames[static_cast<std::size_t>(f)];
        field->setObjectName(QStringLiteral("Search.") +
                             QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        const bool number =
            Project::effectFieldKind(static_cast<EffectField>(f)) != EffectFieldKind::TEXT;
        field->setPlaceholderText(fromWide(
            Config::tr(number ? L"EFFECTS.SEARCH.NUMBER_HINT" : L"EFFECTS.SEARCH.TEXT_HINT")));
        field->setClearButtonEnabled(true);
        field->setToolTip(fromWide(Config::tr(L"EFFECTS.SEARCH.TOOLTIP")));
        connect(field, &QLineEdit::textChanged, this, [this, f](const QString& text) {
            model_->setCriterion(static_cast<EffectField>(f), text.toStdWString());
            syncSelectionFromLibrary();
            if (hooks_.shownChanged) {
                hooks_.shownChanged();
            }
        });
        searchFields_[static_cast<std::size_t>(f)] = field;
    }
    searchRow_->setFixedHeight(searchFields_[0]->sizeHint().height());

    layout->addWidget(searchRow_);
    layout->addWidget(table_, 1);

    connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { placeSearchFields(); });
    connect(table_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { placeSearchFields(); });
    connect(table_->horizontalHeader(), &QHeaderView::geometriesChanged, this,
            [this] { placeSearchFields(); });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { submitViewSelection(); });
    connect(table_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex&) {
        if (hooks_.activated) {
            hooks_.activated();
        }
    });
    if (hooks_.activated) {
        table->onEnter = hooks_.activated;
    }
    table->onDelete = hooks_.deleteRequested;

    model_->setEditor([this](int row, EffectField field, const QString& text) {
        return editCell(row, field, text);
    });
    syncSelectionFromLibrary();
}

EffectListView::~EffectListView()
{
    // The table goes before the model it shows.
    delete table_;
    table_ = nullptr;
}

void EffectListView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeSearchFields();
}

void EffectListView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    placeSearchFields();
}

void EffectListView::placeSearchFields()
{
    if (table_ == nullptr) {
        return;
    }
    const QHeaderView* header = table_->horizontalHeader();
    const int left = header->mapTo(this, QPoint(0, 0)).x() - searchRow_->x();
    for (int f = 0; f < Project::kEffectFieldCount; ++f) {
        QLineEdit* field = searchFields_[static_cast<std::size_t>(f)];
        const int x = left + header->sectionViewportPosition(f);
        field->setGeometry(x, 0, header->sectionSize(f) + 1, searchRow_->height());
    }
}

void EffectListView::refresh()
{
    if (model_->refresh()) {
        const int scroll = table_->verticalScrollBar()->value();
        table_->verticalScrollBar()->setValue(scroll);
    }
    syncSelectionFromLibrary();
}

void EffectListView::setCriterion(EffectField field, const QString& text)
{
    searchFields_[static_cast<std::size_t>(field)]->setText(text);
}

void EffectListView::clearSearch()
{
    for (QLineEdit* field : searchFields_) {
        field->clear();
    }
}

bool EffectListView::isSearching() const
{
    return model_->isSearching();
}

QLineEdit* EffectListView::searchField(EffectField field) const
{
    return searchFields_[static_cast<std::size_t>(field)];
}

int EffectListView::visibleCount() const
{
    return model_->rowCount(QModelIndex());
}

std::vector<LibraryListEntry> EffectListView::shownOrder() const
{
    std::vector<LibraryListEntry> order;
    const int rows = visibleCount();
    order.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        if (const Effect* effect = model_->effectAt(row)) {
            order.push_back({effect->getId(), effect->isSelected()});
        }
    }
    return order;
}

const Effect* EffectListView::effectAt(int row) const
{
    return model_->effectAt(row);
}

const Effect* EffectListView::chosenEffect() const
{
    if (const Effect* current = model_->effectAt(table_->currentIndex().row());
        current != nullptr && current->isSelected()) {
        return current;
    }
    for (int row = 0; row < visibleCount(); ++row) {
        const Effect* effect = model_->effectAt(row);
        if (effect != nullptr && effect->isSelected()) {
            return effect;
        }
    }
    return nullptr;
}

bool EffectListView::editCell(int row, EffectField field, const QString& typed)
{
    const EffectList::EffectItem* target = model_->effectAt(row);
    if (target == nullptr || !hooks_.submit) {
        return false;
    }
    const std::wstring text = typed.toStdWString();
    Effect edited = *target;  // a detached copy: its changes reach no list
    std::unique_ptr<Project::IOperation> operation;
    const int number = static_cast<int>(field);
    switch (Project::effectFieldKind(field)) {
        case EffectFieldKind::WHOLE_NUMBER: {
            int32_t value = 0;
            if (!readWholeNumber(text, value)) {
                hooks_.refuse(L"EFFECTS.EDIT.WHOLE_NUMBER");
                return false;
            }
            if (value == target->getWholeNumberField(field)) {
                return true;
            }
            edited.setWholeNumberField(field, value);
            operation = std::make_unique<Project::OperationSetEffectValue>(number, value);
            break;
        }
        case EffectFieldKind::REAL: {
            double value = 0.0;
            if (!readPrice(text, value)) {
                hooks_.refuse(L"EFFECTS.EDIT.PRICE");
                return false;
            }
            if (value == target->getPrice()) {
                return true;
            }
            edited.setPrice(value);
            operation = std::make_unique<Project::OperationSetEffectValue>(number, value);
            break;
        }
        case EffectFieldKind::TEXT:
            if (text == target->getFieldText(field)) {
                return true;
            }
            edited.setFieldText(field, text);
            operation = std::make_unique<Project::OperationSetEffectValue>(number, text);
            break;
    }
    // Two effects with the same article data would collapse into one on the next load.
    if (const Effect* equal = library_.findEqual(edited); equal != nullptr && equal != target) {
        hooks_.refuse(L"EFFECTS.EDIT.DUPLICATE");
        return false;
    }
    // The edit operation acts on the selected effects: make the edited one the only one.
    std::map<int32_t, bool> flags;
    for (const EffectList::EffectItem* effect : library_) {
        const bool wanted = effect == target;
        if (effect->isSelected() != wanted) {
            flags[effect->getId()] = wanted;
        }
    }
    if (!flags.empty()) {
        hooks_.submit(std::make_unique<Project::OperationSelectionEffect>(std::move(flags)));
    }
    return hooks_.submit(std::move(operation));
}

void EffectListView::submitViewSelection()
{
    if (syncing_ || !hooks_.submit) {
        return;
    }
    if (!static_cast<LibraryTable*>(table_)->isHandlingUserInput()) {
        syncSelectionFromLibrary();  // Qt's own choice: the library's selection stands
        return;
    }
    std::map<int32_t, bool> flags;
    const QItemSelectionModel* selection = table_->selectionModel();
    for (int row = 0; row < visibleCount(); ++row) {
        const Effect* effect = model_->effectAt(row);
        if (effect == nullptr) {
            continue;
        }
        const bool selected = selection->isRowSelected(row, QModelIndex());
        if (selected != effect->isSelected()) {
            flags[effect->getId()] = selected;
        }
    }
    if (!flags.empty()) {
        hooks_.submit(std::make_unique<Project::OperationSelectionEffect>(std::move(flags)));
    }
}

void EffectListView::syncSelectionFromLibrary()
{
    QItemSelection wanted;
    int firstSelected = -1;
    const int rows = visibleCount();
    const int lastColumn = Project::kEffectFieldCount - 1;
    for (int row = 0; row < rows;) {
        const Effect* effect = model_->effectAt(row);
        if (effect == nullptr || !effect->isSelected()) {
            ++row;
            continue;
        }
        int end = row;
        while (end + 1 < rows && model_->effectAt(end + 1) != nullptr &&
               model_->effectAt(end + 1)->isSelected()) {
            ++end;
        }
        wanted.select(model_->index(row, 0), model_->index(end, lastColumn));
        if (firstSelected < 0) {
            firstSelected = row;
        }
        row = end + 1;
    }
    QItemSelectionModel* selection = table_->selectionModel();
    if (sameRows(selection->selection(), wanted, rows)) {
        return;
    }
    syncing_ = true;
    selection->select(wanted, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current = table_->currentIndex();
    if (firstSelected >= 0 &&
        (!current.isValid() || !selection->isRowSelected(current.row(), QModelIndex()))) {
        const QModelIndex target = model_->index(firstSelected, std::max(0, current.column()));
        selection->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
        table_->scrollTo(target);
    }
    syncing_ = false;
}

}  // namespace GUIMain
