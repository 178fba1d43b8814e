#pragma once

#include <functional>
#include <string>

namespace Project {

// A message from an operation that succeeded: a library file chosen by the user was loaded,
// a project was opened without its soundtrack. The operations run in the project layer,
// which shows no windows: the application installs a handler that shows a message box (OK)
// with the localized texts. Without a handler nothing is shown. Main thread only.
class OperationLoadNotice {
public:
    // Localization keys of the title and the message.
    using Handler =
        std::function<void(const std::wstring& titleKey, const std::wstring& messageKey)>;

    // Installs a handler and returns the previous one; an empty handler shows nothing.
    static Handler setHandler(Handler handler);
    static void show(const std::wstring& titleKey, const std::wstring& messageKey);
};

}  // namespace Project
