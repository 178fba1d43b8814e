#include "GUI/FileChooser.h"

#include <QFileDialog>

namespace GUI {

namespace {

QStringList run(QFileDialog::FileMode mode, QFileDialog::AcceptMode accept,
                const std::wstring& filter, QWidget* owner)
{
    QFileDialog dialog(owner);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    dialog.setNameFilter(QString::fromStdWString(filter));
    // The overwrite question and the extension are the caller's rules.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

}  // namespace

std::wstring QtFileChooser::chooseOpen(const std::wstring& filter, QWidget* owner)
{
    const QStringList files =
        run(QFileDialog::ExistingFile, QFileDialog::AcceptOpen, filter, owner);
    return files.isEmpty() ? std::wstring() : files.front().toStdWString();
}

std::vector<std::wstring> QtFileChooser::chooseOpenSeveral(const std::wstring& filter,
                                                           QWidget* owner)
{
    std::vector<std::wstring> paths;
    for (const QString& file :
         run(QFileDialog::ExistingFiles, QFileDialog::AcceptOpen, filter, owner)) {
        paths.push_back(file.toStdWString());
    }
    return paths;
}

std::wstring QtFileChooser::chooseSave(const std::wstring& filter, QWidget* owner)
{
    const QStringList files = run(QFileDialog::AnyFile, QFileDialog::AcceptSave, filter, owner);
    return files.isEmpty() ? std::wstring() : files.front().toStdWString();
}

}  // namespace GUI
