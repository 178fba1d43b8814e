#include "GUIMain/ExternalLinks.h"

#include <QDesktopServices>
#include <utility>

namespace GUIMain {

namespace {
ExternalOpener& opener()
{
    static ExternalOpener instance;
    return instance;
}
}  // namespace

void openExternal(const QUrl& url)
{
    if (opener()) {
        opener()(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

ExternalOpener setExternalOpener(ExternalOpener replacement)
{
    return std::exchange(opener(), std::move(replacement));
}

}  // namespace GUIMain
