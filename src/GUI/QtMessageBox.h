#pragma once

#include "Platform/MessageBoxService.h"

namespace GUI {

// Answers the core's questions with Qt's message box, modal to the request's owner (a
// QWidget) or to the whole application when there is none.
class QtMessageBox : public Platform::MessageBoxService {
public:
    Answer ask(const Request& request) override;
};

}  // namespace GUI
