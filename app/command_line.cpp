#include "app/command_line.h"

#include "app/files/folder_check.h"
#include "app/folder_dialog.h"
#include "app/plain_message.h"

#include <QFileInfo>

#include <ostream>

namespace app {

namespace {

const QString kChooseFolderOption = QStringLiteral("--choose-folder");
constexpr int kUsageError = 2;

constexpr char kUsage[] =
    "Użycie: vidarkon-patch [FOLDER]\n"
    "        vidarkon-patch --choose-folder [FOLDER]\n"
    "Uaktualnia bazy *.mdb w podanym folderze, a bez niego w folderze programu.\n"
    "--choose-folder bez folderu najpierw pyta, w którym folderze szukać.\n";

WindowStart End(int exitCode)
{
    return {false, QString(), exitCode};
}

WindowStart Search(const QString& folder, std::ostream& errors, bool fromDesktop, MyMessage::DialogAnswerer* answerer)
{
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (const auto problem = utils::FolderProblem(absolute.toStdString())) {
        errors << *problem << '\n';
        if (fromDesktop) ShowPlainMessage(QString::fromStdString(*problem), answerer, QMessageBox::Warning);
        return End(kUsageError);
    }
    return {true, absolute, 0};
}

}  // namespace

WindowStart ReadCommandLine(const QStringList& arguments, std::ostream& errors, MyMessage::DialogAnswerer* answerer)
{
    const bool choose = !arguments.isEmpty() && arguments.front() == kChooseFolderOption;
    const QStringList folders = choose ? arguments.mid(1) : arguments;
    const bool folderLooksRight =
        folders.isEmpty() || (folders.size() == 1 && !folders.front().isEmpty() && !folders.front().startsWith(u'-'));
    if (!folderLooksRight) {
        errors << kUsage;
        return End(kUsageError);
    }
    if (!folders.isEmpty()) return Search(folders.front(), errors, choose, answerer);
    if (!choose) return {true, QString(), 0};

    const QString chosen = ChooseFolder(answerer);
    // Cancelled: the program ends with nothing opened.
    if (chosen.isEmpty()) return End(0);
    return Search(chosen, errors, true, answerer);
}

}  // namespace app
