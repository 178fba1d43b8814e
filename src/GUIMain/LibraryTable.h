#pragma once

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
