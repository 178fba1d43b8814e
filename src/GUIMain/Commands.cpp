#include "GUIMain/Commands.h"

#include <QPointer>
#include <QWidget>

#include "GUI/Component.h"

namespace GUIMain {

namespace {
QPointer<QWidget>& commandTarget()
{
    static QPointer<QWidget> target;
    return target;
}

GUI::Message commandMessage(int code, std::uint64_t argument)
{
    GUI::Message message;
    message.code = kCommandMessage;
    message.wParam = argument;
    message.lParam = code;
    return message;
}
}  // namespace

void setCommandTarget(QWidget* window)
{
    commandTarget() = window;
}

QWidget* getCommandTarget()
{
    return commandTarget().data();
}

std::intptr_t sendCommand(int code, std::uint64_t argument)
{
    QWidget* target = getCommandTarget();
    if (target == nullptr) {
        return 0;
    }
    GUI::Message message = commandMessage(code, argument);
    return GUI::Component::send(target, message);
}

void postCommand(int code, std::uint64_t argument)
{
    if (QWidget* target = getCommandTarget()) {
        GUI::Component::post(target, commandMessage(code, argument));
    }
}

}  // namespace GUIMain
