#include "app/folder_dialog.h"

#include "ui/MyMessage/dialog_answerer.h"

#include <QDir>
#include <QFileDialog>

namespace app {

QString ChooseFolder(MyMessage::DialogAnswerer* answerer)
{
    QFileDialog dialog(nullptr, kChooseFolderTitle, QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (MyMessage::ExecDialog(dialog, answerer) != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

}  // namespace app
