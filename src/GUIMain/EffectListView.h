#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GUIMain/LibraryScreens.h"
#include "Project/Effect.h"
#include "Project/EffectList.h"

class QLineEdit;
class QTableView;

namespace Project {
class IOperation;
}

namespace GUIMain {

class EffectTableModel;

// The effect library as a table: one column per field with its unit, sortable by any column,
// edited in place, with a row of search fields above the columns that narrows the table as
// the user types ("<" and ">" in number fields). Only the visible cells are drawn.
//
// The search narrows what the table shows with the library's own matching rules and leaves
// the library whole, so effect numbers, selections and the undo history stay valid while a
// search is active; an effect edited or added during a search stays in view until the
// search changes. Every change of the library goes through an operation handed to `submit`.
class EffectListView : public QWidget {
public:
    struct Hooks {
        // Hands an operation to the project; false when it failed.
        std::function<bool(std::unique_ptr<Project::IOperation>)> submit;
        // Explains a refused value: the localization key of the reason.
        std::function<void(const std::wstring& key)> refuse;
        // A row was activated (double click, Enter); when set, the table is not edited.
        std::function<void()> activated;
        // The search changed what is shown.
        std::function<void()> shownChanged;
        // The Delete key in the table.
        std::function<void()> deleteRequested;
    };

    EffectListView(Project::EffectList& library, Hooks hooks, QWidget* parent);
    ~EffectListView() override;

    // After every operation: applies what changed in the library to the table (rows added
    // and removed, selection flags).
    void refresh();

    // The search: one criterion per field, as typed in the search fields.
    void setCriterion(Project::EffectField field, const QString& text);
    void clearSearch();
    bool isSearching() const;

    // Edits one cell as the table's editor does: the value is checked, the effect becomes
    // the only selected one and the field is set by the library's edit operation. False when
    // the value was refused (and explained) or the edit failed.
    bool editCell(int row, Project::EffectField field, const QString& text);

    int visibleCount() const;
    // The shown effects in the shown order, with their selection flags.
    std::vector<LibraryListEntry> shownOrder() const;
    // The effect of a shown row, or null.
    const Project::Effect* effectAt(int row) const;
    // The effect the user points at: the current row when it is selected, else the first
    // selected one in the shown order; null when none is selected.
    const Project::Effect* chosenEffect() const;

    QTableView* table() const { return table_; }
    QLineEdit* searchField(Project::EffectField field) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placeSearchFields();
    void syncSelectionFromLibrary();
    void submitViewSelection();

    Project::EffectList& library_;
    Hooks hooks_;
    std::unique_ptr<EffectTableModel> model_;
    QTableView* table_ = nullptr;
    QWidget* searchRow_ = nullptr;
    std::array<QLineEdit*, Project::kEffectFieldCount> searchFields_{};
    bool syncing_ = false;
};

}  // namespace GUIMain
