#include "GUI/QtMessageBox.h"

#include <QMessageBox>
#include <QWidget>

namespace GUI {

QtMessageBox::Answer QtMessageBox::ask(const Request& request)
{
    QMessageBox box(static_cast<QWidget*>(request.owner));
    box.setWindowTitle(QString::fromStdWString(request.caption));
    box.setText(QString::fromStdWString(request.text));
    switch (request.icon) {
        case Icon::kNone: box.setIcon(QMessageBox::NoIcon); break;
        case Icon::kInformation: box.setIcon(QMessageBox::Information); break;
        case Icon::kQuestion: box.setIcon(QMessageBox::Question); break;
        case Icon::kWarning: box.setIcon(QMessageBox::Warning); break;
        case Icon::kError: box.setIcon(QMessageBox::Critical); break;
    }
    QMessageBox::StandardButtons buttons;
    switch (request.buttons) {
        case Buttons::kOk: buttons = QMessageBox::Ok; break;
        case Buttons::kOkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
        case Buttons::kYesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
        case Buttons::kYesNoCancel:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
    }
    box.setStandardButtons(buttons);
    switch (box.exec()) {
        case QMessageBox::Ok: return Answer::kOk;
        case QMessageBox::Yes: return Answer::kYes;
        case QMessageBox::No: return Answer::kNo;
        default: return safeAnswer(request.buttons);  // closed with Escape or the title bar
    }
}

}  // namespace GUI
