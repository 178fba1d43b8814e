#include "GUIMain/LibraryWindow.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "Config/Settings.h"

namespace GUIMain::LibraryWindow {

QString text(const std::wstring& key)
{
    return QString::fromStdWString(Config::tr(key));
}

QPushButton* makeButton(QWidget* parent, const char* name, const std::wstring& key,
                        std::function<void()> action)
{
    auto* button = new QPushButton(text(key), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, parent,
                     [action = std::move(action)] { action(); });
    return button;
}

QPushButton* makeCloseButton(QWidget* window, const std::wstring& key)
{
    return makeButton(window, "Close", key,
                      [window] { QTimer::singleShot(0, window, [window] { window->close(); }); });
}

QVBoxLayout* layOut(QWidget* window, const std::wstring& headingKey)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 175, 190));
    window->setPalette(palette);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    auto* heading = new QLabel(text(headingKey), window);
    heading->setObjectName(QStringLiteral("Heading"));
    heading->setWordWrap(true);
    layout->addWidget(heading);
    return layout;
}

void present(QWidget* window, const QWidget* owner)
{
    window->setMinimumSize(800, 480);
    window->setGeometry(owner->geometry());
    window->show();
    raise(window);
}

void raise(QWidget* window)
{
    window->raise();
    window->activateWindow();
}

}  // namespace GUIMain::LibraryWindow
