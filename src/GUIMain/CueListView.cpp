#include "GUIMain/CueListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <array>
#include <map>

#include "Config/Settings.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/CueListDelegate.h"
#include "GUIMain/CueListModel.h"
#include "Platform/Assert.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationSelection.h"

namespace GUIMain {

namespace {

struct FixedColumn {
    const wchar_t* titleKey;
    int width;
};

constexpr std::array<FixedColumn, kFirstMetadataColumn> kFixedColumns{{
    {L"CUELIST.NUMBER", 50},
    {L"CUELIST.STATUS", 60},
    {L"CUELIST.TIMECODE", 90},
    {L"CUELIST.PREFIRE", 70},
    {L"CUELIST.DURATION", 70},
    {L"CUELIST.COMMAND", 200},
    {L"CUELIST.GROUP", 100},
    {L"CUELIST.QTY", 60},
}};

struct ReservedColumn {
    const wchar_t* key;
    const wchar_t* titleKey;
    int width;
};

constexpr std::array<ReservedColumn, 6> kReservedColumns{{
    {L"~TYPE", L"CUELIST.TYPE", 100},
    {L"~ARTNR", L"CUELIST.ARTICLENR", 100},
    {L"~POS", L"CUELIST.POSITION", 100},
    {L"~ANGLE", L"CUELIST.ANGLE", 100},
    {L"~PRICE", L"CUELIST.PRICE", 100},
    {L"~DESC", L"CUELIST.DESCRIPTION", 200},
}};

constexpr int kUserColumnWidth = 200;
const QColor kViewBackground(225, 245, 255);

QString colorName(const QColor& color)
{
    return color.name(QColor::HexRgb);
}

}  // namespace

// The item view: it keeps no selection of its own and hands the user's gestures to the
// cue list view, which turns them into selection operations.
class CueListTable : public QTableView {
public:
    CueListTable(CueListView& view, QWidget* parent) : QTableView(parent), view_(view) {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        setFocus(Qt::MouseFocusReason);
        const int row = rowAt(event->position().toPoint().y());
        if (row < 0) {
            return;
        }
        if (event->button() == Qt::LeftButton) {
            view_.clickRow(row, event->modifiers());
        } else if (event->button() == Qt::RightButton) {
            view_.rightClickRow(row);
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        const int row = rowAt(event->position().toPoint().y());
        if (row < 0) {
            return;
        }
        if (event->button() == Qt::LeftButton) {
            view_.doubleClickRow(row);
        } else if (event->button() == Qt::RightButton) {
            view_.rightClickRow(row);
        }
    }
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
    void keyPressEvent(QKeyEvent* event) override
    {
        // The arrows and page keys are the main window's cue keys; Home and End stay here.
        if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
            view_.selectOnly(0);
        } else if (event->key() == Qt::Key_End && event->modifiers() == Qt::NoModifier) {
            view_.selectOnly(view_.getRowCount() - 1);
        } else {
            QTableView::keyPressEvent(event);
        }
    }

private:
    CueListView& view_;
};

CueListView::CueListView(Project::Project* project) : project_(project) {}

CueListView::~CueListView()
{
    if (listening_) {
        onDestroy();
    }
}

QWidget* CueListView::createSystemControl(QWidget* parentWindow)
{
    auto* table = new CueListTable(*this, parentWindow);
    table_ = table;
    model_ = new CueListModel(*this);
    model_->setParent(table);
    table->setModel(model_);
    table->setItemDelegate(new CueListDelegate(*this, table));
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setCornerButtonEnabled(false);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    QHeaderView* header = table->horizontalHeader();
    header->setObjectName(QStringLiteral("Header"));
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->viewport()->setObjectName(QStringLiteral("Rows"));
    QPalette palette = table->palette();
    palette.setColor(QPalette::Base, kViewBackground);
    table->setPalette(palette);
    QObject::connect(header, &QHeaderView::sectionClicked, table,
                     [this](int column) { sortByColumn(column); });
    return table;
}

void CueListView::onCreate()
{
    if (project_ == nullptr) {
        project_ = Project::Project::getInstance();
    }
    // A tab stop, whatever style the creator gave.
    table_->setFocusPolicy(Qt::StrongFocus);
    for (const ReservedColumn& column : kReservedColumns) {
        keys_.emplace_back(column.key);
        keySet_.insert(column.key);
    }
    model_->publish(0, getColumnCount());
    for (int column = 0; column < getColumnCount(); ++column) {
        table_->horizontalHeader()->resizeSection(column, getColumnWidth(column));
    }
    if (project_ != nullptr) {
        project_->addListener(this);
        project_->addCueListListener(this);
        project_->getProjectState().addListener(this);
        listening_ = true;
        showModeSeen_ = project_->isShowMode();
        const Project::CueList& cues = project_->getProjectData().getCueList();
        for (const auto* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
            cueAdded(const_cast<Project::CueList::CueItem*>(cue));
        }
    }
    sortByColumn(kColumnTimecode);
    flush();
    setRowsProvider(this, [this](int first, int count) { return describeRows(first, count); });
}

void CueListView::onDestroy()
{
    clearRowsProvider(this);
    if (listening_ && project_ != nullptr) {
        project_->removeListener(this);
        project_->removeCueListListener(this);
        project_->getProjectState().removeListener(this);
    }
    listening_ = false;
    table_ = nullptr;
    model_ = nullptr;
}

std::vector<int> CueListView::getCueIdsInViewOrder() const
{
    std::vector<int> ids;
    ids.reserve(static_cast<std::size_t>(order_.size()));
    order_.forEach(0, -1, [&ids](int, Project::Cue* cue) { ids.push_back(cue->getId()); });
    return ids;
}

QString CueListView::getColumnTitle(int column) const
{
    if (column >= 0 && column < kFirstMetadataColumn) {
        return QString::fromStdWString(
            Config::tr(kFixedColumns[static_cast<std::size_t>(column)].titleKey));
    }
    const std::size_t index = static_cast<std::size_t>(column - kFirstMetadataColumn);
    if (column < 0 || index >= keys_.size()) {
        return {};
    }
    if (index < kReservedColumns.size()) {
        return QString::fromStdWString(Config::tr(kReservedColumns[index].titleKey));
    }
    return QString::fromStdWString(keys_[index]);
}

int CueListView::getColumnWidth(int column) const
{
    if (column >= 0 && column < kFirstMetadataColumn) {
        return kFixedColumns[static_cast<std::size_t>(column)].width;
    }
    const std::size_t index = static_cast<std::size_t>(column - kFirstMetadataColumn);
    if (index < kReservedColumns.size()) {
        return kReservedColumns[index].width;
    }
    return kUserColumnWidth;
}

Qt::Alignment CueListView::getColumnAlignment(int column) const
{
    return column == kColumnNumber ? Qt::AlignRight : Qt::AlignLeft;
}

int CueListView::getRowOf(const Project::Cue* cue) const
{
    const int row = order_.rowOf(cue);
    if (row >= 0) {
        SKY_ASSERT_TEXT(order_.at(row) == cue, "sortedCueList[cueIndex] == cue", "CueListView");
    }
    return row;
}

Project::Cue* CueListView::checkedCueAt(int row) const
{
    Project::Cue* cue = order_.at(row);
    if (cue != nullptr) {
        SKY_ASSERT_TEXT(order_.rowOf(cue) == row, "cueToIndexMap[cue] == cueIndex", "CueListView");
    }
    return cue;
}

QString CueListView::getCellText(int row, int column) const
{
    const Project::Cue* cue = order_.at(row);
    if (cue == nullptr) {
        return {};
    }
    CueCellContext context;
    context.format = project_ != nullptr ? project_->getProjectData().getFormat()
                                         : cue->getTimecode().getFormat();
    context.metadataKeys = &keys_;
    context.showMode = showModeSeen_;
    return cueCellText(*cue, column, context);
}

std::optional<CueRowColors> CueListView::getRowColors(int row) const
{
    const Project::Cue* cue = order_.at(row);
    if (cue == nullptr) {
        return std::nullopt;
    }
    if (row != coloredRow_) {
        const QPalette palette = table_ != nullptr ? table_->palette() : QApplication::palette();
        rowColors_ = cueRowColors(*cue, showModeSeen_, palette.color(QPalette::Highlight),
                                  palette.color(QPalette::HighlightedText));
        coloredRow_ = row;
    }
    return rowColors_;
}

void CueListView::sortByColumn(int column)
{
    if (column < kColumnCondition || column >= getColumnCount()) {
        return;
    }
    if (column == sortColumn_) {
        ascending_ = !ascending_;
    } else {
        sortColumn_ = column;
        ascending_ = true;
    }
    CueComparison comparison;
    comparison.column = column;
    if (column >= kFirstMetadataColumn) {
        comparison.metadataKey = keys_[static_cast<std::size_t>(column - kFirstMetadataColumn)];
    }
    std::vector<Project::Cue*> cues = order_.toVector();
    sortCues(cues, comparison, ascending_);
    order_.setComparison(comparison, ascending_);
    order_.assign(cues);
    if (table_ != nullptr) {
        // Qt draws the ascending order with the down mark, the descending with the up mark.
        table_->horizontalHeader()->setSortIndicator(
            column, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    if (!redrawSuspended_ && model_ != nullptr) {
        model_->publish(order_.size(), getColumnCount());
    }
    repaintAll();
}

void CueListView::suspendRedraw()
{
    if (redrawSuspended_) {
        return;
    }
    redrawSuspended_ = true;
    if (table_ != nullptr) {
        table_->setUpdatesEnabled(false);
    }
    // Changes outside an operation get no end-of-operation notice: the event loop ends them.
    scheduleFlush();
}

void CueListView::scheduleFlush()
{
    if (flushQueued_ || table_ == nullptr) {
        return;
    }
    flushQueued_ = true;
    QTimer::singleShot(0, table_, [this] {
        flushQueued_ = false;
        flush();
    });
}

void CueListView::flush()
{
    coloredRow_ = -1;
    if (table_ == nullptr) {
        return;
    }
    model_->publish(order_.size(), getColumnCount());
    if (redrawSuspended_) {
        redrawSuspended_ = false;
        table_->setUpdatesEnabled(true);
        table_->viewport()->update();
    }
    if (scrollToCueId_ >= 0) {
        const int id = scrollToCueId_;
        scrollToCueId_ = -1;
        Project::Cue* target = nullptr;
        order_.forEach(0, -1, [&](int, Project::Cue* cue) {
            if (target == nullptr && cue->getId() == id) {
                target = cue;
            }
        });
        const int row = getRowOf(target);
        if (row >= 0 && target->isSelected()) {
            table_->scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
        }
    }
}

void CueListView::repaintRow(int row)
{
    coloredRow_ = -1;
    if (table_ == nullptr || redrawSuspended_ || row < 0 || row >= model_->rowCount()) {
        return;
    }
    QWidget* viewport = table_->viewport();
    const int top = table_->rowViewportPosition(row);
    const int height = table_->rowHeight(row);
    if (top + height < 0 || top > viewport->height()) {
        return;
    }
    viewport->update(QRect(0, top, viewport->width(), height));
}

void CueListView::repaintAll()
{
    coloredRow_ = -1;
    if (table_ != nullptr && !redrawSuspended_) {
        table_->viewport()->update();
    }
}

void CueListView::addColumnIfNew(const std::wstring& key)
{
    if (key.empty() || key[0] == L'~' || keySet_.count(key) > 0) {
        return;
    }
    keySet_.insert(key);
    keys_.push_back(key);
    if (model_ != nullptr) {
        model_->publish(model_->rowCount(), getColumnCount());
        table_->horizontalHeader()->resizeSection(getColumnCount() - 1, kUserColumnWidth);
    }
}

void CueListView::addColumnsOf(const Project::Cue& cue)
{
    const Project::KeyValueList& metadata = cue.getMetadata();
    for (int i = 0; i < metadata.size(); ++i) {
        if (const std::wstring* key = metadata.keyAt(i)) {
            addColumnIfNew(*key);
        }
    }
}

void CueListView::cueAdded(Project::Cue* cue)
{
    suspendRedraw();
    coloredRow_ = -1;
    if (!order_.contains(cue)) {
        order_.insert(cue);
    }
    addColumnsOf(*cue);
}

void CueListView::cueRemoved(Project::Cue* cue)
{
    suspendRedraw();
    coloredRow_ = -1;
    order_.remove(cue);
    if (anchorRow_ >= order_.size()) {
        anchorRow_ = -1;
    }
}

void CueListView::valueChanged(Project::Cue* cue)
{
    if (!order_.contains(cue)) {
        return;
    }
    bool moved = false;
    const int row = order_.reposition(cue, &moved);
    if (moved) {
        repaintAll();
    } else {
        repaintRow(row);
    }
}

void CueListView::cueSelectionChanged(Project::Cue* cue)
{
    valueChanged(cue);
    if (cue->isSelected() && order_.contains(cue)) {
        scrollToCueId_ = cue->getId();
        scheduleFlush();
    }
}

void CueListView::cueMetadataInserted(Project::Cue* cue, int, const std::wstring& key,
                                      const std::wstring&)
{
    addColumnIfNew(key);
    valueChanged(cue);
}

void CueListView::cueMetadataValueChanged(Project::Cue* cue, int, const std::wstring&,
                                          const std::wstring&)
{
    valueChanged(cue);
}

void CueListView::cueMetadataRemoved(Project::Cue* cue, int, const std::wstring&)
{
    valueChanged(cue);
}

void CueListView::cueMetadataChanged(Project::Cue* cue)
{
    // A key given a new name arrives as a change of the whole list.
    valueChanged(cue);
    addColumnsOf(*cue);
}

void CueListView::projectUpdated()
{
    flush();
}

void CueListView::onModeChanged()
{
    if (project_ != nullptr && project_->isShowMode() != showModeSeen_) {
        showModeSeen_ = project_->isShowMode();
        repaintAll();
    }
}

void CueListView::executeSelection(std::map<int, bool> changes, bool evenWhenEmpty)
{
    if (project_ == nullptr || selectionGuard_ || (changes.empty() && !evenWhenEmpty)) {
        return;
    }
    selectionGuard_ = true;
    project_->submit(new Project::OperationSelection(std::move(changes)));
    selectionGuard_ = false;
}

void CueListView::clickRow(int row, Qt::KeyboardModifiers modifiers)
{
    const Project::Cue* clicked = checkedCueAt(row);
    if (clicked == nullptr) {
        return;
    }
    const bool control = (modifiers & Qt::ControlModifier) != 0;
    const bool shift = (modifiers & Qt::ShiftModifier) != 0;
    std::map<int, bool> changes;
    if (control && !shift) {
        changes.emplace(clicked->getId(), !clicked->isSelected());
        anchorRow_ = row;
    } else {
        // A plain click selects the row alone; Shift selects from the anchor to the row,
        // alone or (with Ctrl) besides the selection there is.
        const int anchor = shift && anchorRow_ >= 0 ? anchorRow_ : row;
        const int low = std::min(anchor, row);
        const int high = std::max(anchor, row);
        order_.forEach(0, -1, [&](int r, Project::Cue* cue) {
            const bool wanted = (r >= low && r <= high) || (control && cue->isSelected());
            if (wanted != cue->isSelected()) {
                changes.emplace(cue->getId(), wanted);
            }
        });
        if (!shift) {
            anchorRow_ = row;
        }
    }
    executeSelection(std::move(changes), false);
}

void CueListView::doubleClickRow(int row)
{
    const Project::Cue* clicked = checkedCueAt(row);
    if (clicked == nullptr || project_ == nullptr) {
        return;
    }
    // Every cue at the clicked cue's timecode alone; only the flags that change are listed,
    // and the operation runs even when none does.
    const SMPTE timecode = clicked->getTimecode();
    std::map<int, bool> changes;
    const Project::CueList& cues = project_->getProjectData().getCueList();
    for (const auto* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const bool wanted = cue->getTimecode().compare(timecode) == 0;
        if (wanted != cue->isSelected()) {
            changes.emplace(cue->getId(), wanted);
        }
    }
    anchorRow_ = row;
    executeSelection(std::move(changes), true);
}

void CueListView::rightClickRow(int row)
{
    const Project::Cue* clicked = checkedCueAt(row);
    if (clicked == nullptr || project_ == nullptr) {
        return;
    }
    project_->getProjectState().setPosition(clicked->getTimecode());
}

void CueListView::selectOnly(int row)
{
    if (checkedCueAt(row) == nullptr) {
        return;
    }
    clickRow(row, Qt::NoModifier);
    if (table_ != nullptr) {
        table_->scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
    }
}

nlohmann::json CueListView::describeRows(int first, int count) const
{
    nlohmann::json rows = nlohmann::json::array();
    nlohmann::json titles = nlohmann::json::array();
    for (int column = 0; column < getColumnCount(); ++column) {
        titles.push_back(getColumnTitle(column).toStdString());
    }
    rows.push_back({{"columns", titles}, {"sortColumn", sortColumn_}, {"ascending", ascending_}});
    order_.forEach(first, count, [&](int row, Project::Cue* cue) {
        nlohmann::json cells = nlohmann::json::array();
        for (int column = 0; column < getColumnCount(); ++column) {
            cells.push_back(getCellText(row, column).toStdString());
        }
        const CueRowColors colors = *getRowColors(row);
        rows.push_back({{"row", row},
                        {"id", cue->getId()},
                        {"number", cue->getNumber()},
                        {"cells", cells},
                        {"background", colorName(colors.background).toStdString()},
                        {"text", colorName(colors.text).toStdString()},
                        {"selected", cue->isSelected()}});
    });
    return rows;
}

}  // namespace GUIMain
