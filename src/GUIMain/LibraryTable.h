#pragma once

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <functional>

namespace GUIMain {

// The table of the library views. It tells whether a selection change comes from the user
// (a click or a key in the table) or from Qt itself (after rows were replaced Qt may pick a
// row on its own): only the user's selections reach the library. Enter and Delete go to the
// view's own actions.
class LibraryTable : public QTableView {
public:
    using QTableView::QTableView;

    std::function<void()> onEnter;
    std::function<void()> onDelete;

    bool isHandlingUserInput() const { return userInput_ > 0; }

    // What every library table is: rows of 22 pixels selected whole, several at a time,
    // edited in place by a double click or by typing, in alternating colours, the last column
    // stretched. `name` names the table and `rowsName` its viewport, where scripts click rows.
    void setUp(QAbstractItemModel* model, const QString& name, const QString& rowsName)
    {
        setObjectName(name);
        viewport()->setObjectName(rowsName);
        setModel(model);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
        verticalHeader()->hide();
        verticalHeader()->setDefaultSectionSize(22);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        setAlternatingRowColors(true);
        setWordWrap(false);
        horizontalHeader()->setStretchLastSection(true);
        horizontalHeader()->setHighlightSections(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (state() != EditingState) {
            if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onEnter) {
                onEnter();
                return;
            }
            if (event->key() == Qt::Key_Delete && onDelete) {
                onDelete();
                return;
            }
        }
        const Scope scope(userInput_);
        QTableView::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const Scope scope(userInput_);
        QTableView::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const Scope scope(userInput_);
        QTableView::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const Scope scope(userInput_);
        QTableView::mouseReleaseEvent(event);
    }

private:
    struct Scope {
        explicit Scope(int& depth) : depth_(depth) { ++depth_; }
        ~Scope() { --depth_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        int& depth_;
    };
    int userInput_ = 0;
};

}  // namespace GUIMain
