#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "GUI/Component.h"
#include "GUIMain/CueListCells.h"
#include "GUIMain/CueListOrder.h"
#include "GUIMain/CueListSorting.h"
#include "Project/CueList.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"

class QTableView;

namespace GUIMain {

class CueListModel;

// The table of all cues under the header: one row a cue, fixed columns for timing and
// command, a column for each metadata key, rows coloured by cue type and show-time state and
// kept sorted by the column the user picked. It changes no cue itself: the user's selection
// gestures become selection operations, and the selection follows the cues' flags, whoever
// changed them.
//
// It wraps an item view whose model asks it for every cell. Insertions and removals suspend
// the view's painting until the operation that caused them ends, so that opening a large
// show repaints once.
class CueListView : public GUI::Component,
                    public Project::CueList::Listener,
                    public Project::Project::Listener,
                    public Project::ProjectState::Listener {
public:
    // The project to show; none: the process-wide one, when the window is created.
    explicit CueListView(Project::Project* project = nullptr);
    ~CueListView() override;

    std::wstring getWindowClassName() const override { return L"CueList"; }
    std::optional<GUI::WindowClass> getWindowClassDescription() const override
    {
        return std::nullopt;
    }
    QWidget* createSystemControl(QWidget* parentWindow) override;
    void onCreate() override;
    void onDestroy() override;

    // The ids of the cues in the order the view shows them.
    virtual std::vector<int> getCueIdsInViewOrder() const;

    // Columns: the eight fixed ones, then one a metadata key.
    int getColumnCount() const { return kFirstMetadataColumn + static_cast<int>(keys_.size()); }
    QString getColumnTitle(int column) const;
    int getColumnWidth(int column) const;
    Qt::Alignment getColumnAlignment(int column) const;
    const std::vector<std::wstring>& getMetadataKeys() const { return keys_; }

    int getRowCount() const { return order_.size(); }
    Project::Cue* getCueAt(int row) const { return order_.at(row); }
    // The row of a listed cue; -1 for any other.
    int getRowOf(const Project::Cue* cue) const;
    QString getCellText(int row, int column) const;
    // None for a row that does not exist.
    std::optional<CueRowColors> getRowColors(int row) const;

    int getSortColumn() const { return sortColumn_; }
    bool isSortAscending() const { return ascending_; }
    // A click on a column header: the sort column reverses, another column sorts ascending.
    void sortByColumn(int column);

    bool isRedrawSuspended() const { return redrawSuspended_; }
    QTableView* getTable() const { return table_; }

    // The user's gestures on a row, as the table reports them.
    void clickRow(int row, Qt::KeyboardModifiers modifiers);
    void doubleClickRow(int row);
    void rightClickRow(int row);
    // Home and End: the first or the last row alone.
    void selectOnly(int row);

    // The automation's `rows` answer: a head with the column titles and the sort, then one
    // object a row from `first` (count < 0: to the end).
    nlohmann::json describeRows(int first, int count) const;

    // The cue list's events.
    void cueAdded(Project::Cue* cue) override;
    void cueRemoved(Project::Cue* cue) override;
    void cueNumberChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueTimecodeChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cuePrefireTimeChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueCommandChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueDurationChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cuePyroTypeChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueReminderTextChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueGroupNameChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueGroupChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueQuantityChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueStateChanged(Project::Cue* cue) override { valueChanged(cue); }
    void cueSelectionChanged(Project::Cue* cue) override;
    void cueMetadataInserted(Project::Cue* cue, int index, const std::wstring& key,
                             const std::wstring& value) override;
    void cueMetadataValueChanged(Project::Cue* cue, int index, const std::wstring& key,
                                 const std::wstring& value) override;
    void cueMetadataRemoved(Project::Cue* cue, int index, const std::wstring& key) override;
    void cueMetadataChanged(Project::Cue* cue) override;
    // The project's: the end of every operation.
    void projectUpdated() override;
    // The show state's: show mode may have changed.
    void onModeChanged() override;

private:
    void valueChanged(Project::Cue* cue);
    void addColumnIfNew(const std::wstring& key);
    void addColumnsOf(const Project::Cue& cue);
    void suspendRedraw();
    // Publishes the counts, resumes painting and scrolls to the last selected cue.
    void flush();
    void scheduleFlush();
    void repaintRow(int row);
    void repaintAll();
    void executeSelection(std::map<int, bool> changes, bool evenWhenEmpty);
    Project::Cue* checkedCueAt(int row) const;

    Project::Project* project_;
    bool listening_ = false;
    QTableView* table_ = nullptr;
    CueListModel* model_ = nullptr;
    CueListOrder order_;
    std::vector<std::wstring> keys_;
    std::unordered_set<std::wstring> keySet_;
    int sortColumn_ = -1;
    bool ascending_ = true;
    bool selectionGuard_ = false;
    bool redrawSuspended_ = false;
    bool flushQueued_ = false;
    bool showModeSeen_ = false;
    int anchorRow_ = -1;
    // The cue whose row is brought into view at the next flush (it was selected).
    int scrollToCueId_ = -1;
    // The colours of the row painted last: a row's cells are painted one after another.
    mutable int coloredRow_ = -1;
    mutable CueRowColors rowColors_;
};

}  // namespace GUIMain
