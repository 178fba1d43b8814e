#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GUIMain/LibraryScreens.h"

class QTableView;
class QLabel;

namespace Project {
class Fixture;
class IOperation;
}  // namespace Project

namespace GUIMain {

class ChannelTableModel;

// The channel values of one fixture preset: channel within the device, level 0..255 and the
// dynamic, safety and slow-safety marks, edited in place through the library's operations.
// Shows nothing while no single fixture is chosen.
class DmxChannelValueListView : public QWidget {
public:
    struct Hooks {
        std::function<bool(std::unique_ptr<Project::IOperation>)> submit;
        std::function<void(const std::wstring& key)> refuse;
        std::function<void()> deleteRequested;
    };
    enum Column { kChannel, kValue, kDynamic, kSafety, kSlowSafety };
    static constexpr int kColumnCount = 5;

    DmxChannelValueListView(Hooks hooks, QWidget* parent);
    ~DmxChannelValueListView() override;

    // The fixture whose channels are shown (null: none), and its current channels.
    void showFixture(Project::Fixture* fixture);
    Project::Fixture* getFixture() const;

    // Edits a cell as the editor (or the check box) does; false when refused (and explained).
    bool editCell(int row, Column column, const QString& text);

    int visibleCount() const;
    std::vector<LibraryListEntry> shownOrder() const;
    QTableView* table() const { return table_; }

private:
    void submitViewSelection();
    void syncSelection();

    Hooks hooks_;
    std::unique_ptr<ChannelTableModel> model_;
    QTableView* table_ = nullptr;
    QLabel* caption_ = nullptr;
    bool syncing_ = false;
};

}  // namespace GUIMain
