#include "GUIMain/HeaderLook.h"

#include <QString>

#include "Config/Settings.h"

namespace GUIMain::HeaderLook {

QImage loadProgramImage(const std::wstring& fileName)
{
    const Config::Settings* settings = Config::Settings::getInstance();
    if (settings == nullptr) {
        return {};
    }
    std::wstring folder = settings->getProgramFolder();
    if (!folder.empty() && folder.back() != L'/' && folder.back() != L'\\') {
        folder += L'/';
    }
    return QImage(QString::fromStdWString(folder + L"images/" + fileName));
}

}  // namespace GUIMain::HeaderLook
