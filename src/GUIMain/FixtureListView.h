#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GUIMain/LibraryScreens.h"

class QLineEdit;
class QTableView;

namespace Project {
class Fixture;
class IOperation;
class ProjectData;
}  // namespace Project

namespace GUIMain {

class FixtureTableModel;

// The fixture presets of the fixture list as a table (description, manufacturer, product,
// channel count, duration in ms, comments), sortable by any column and edited in place, with
// the fixture search above it. The search and every change go through the library's
// operations, handed to `submit`.
class FixtureListView : public QWidget {
public:
    struct Hooks {
        std::function<bool(std::unique_ptr<Project::IOperation>)> submit;
        std::function<void(const std::wstring& key)> refuse;
        std::function<void()> deleteRequested;
    };
    // The search fields, in the order of the fixture search's criteria.
    enum SearchField { kDescription, kManufacturer, kProductName, kComments, kDuration };
    static constexpr int kSearchFieldCount = 5;

    FixtureListView(Project::ProjectData& data, Hooks hooks, QWidget* parent);
    ~FixtureListView() override;

    // After every operation: rows and selection as the fixture list has them now.
    void refresh();
    // Edits a cell as the table's editor does; false when refused (and explained).
    bool editCell(int row, int column, const QString& text);

    int visibleCount() const;
    std::vector<LibraryListEntry> shownOrder() const;
    Project::Fixture* fixtureAt(int row) const;
    QTableView* table() const { return table_; }
    QLineEdit* searchField(SearchField field) const;

private:
    void submitSearch();
    void submitViewSelection();
    void syncSelection();

    Project::ProjectData& data_;
    Hooks hooks_;
    std::unique_ptr<FixtureTableModel> model_;
    QTableView* table_ = nullptr;
    std::array<QLineEdit*, kSearchFieldCount> searchFields_{};
    bool syncing_ = false;
};

}  // namespace GUIMain
