// The program's command line: which folder the window works on, and when the
// program ends without a window.
#include "app/command_line.h"
#include "answerers.h"
#include "app/check_list.h"
#include "app/files/folder_check.h"
#include "app/folder_dialog.h"
#include "app/main_window.h"
#include "app/xp_button.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/sqlite_file.h"
#include "window_parts.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sstream>

namespace {

using patch_test::CatalogueFolder;
using sample::Level;
using test_support::QueryRows;

// Stands in front of the folder dialog: notes where it opened, then picks a
// folder or, with none given, cancels. Any other dialog is noted and accepted.
class FolderAnswerer : public MyMessage::DialogAnswerer {
public:
    QString pick;
    QStringList titles;
    QString openedIn;
    QStringList plainTexts;

    void Answer(QDialog& dialog) override
    {
        titles << dialog.windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) plainTexts << box->text();
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files) {
            dialog.accept();
            return;
        }
        openedIn = files->directory().absolutePath();
        if (pick.isEmpty()) {
            dialog.reject();
            return;
        }
        files->setDirectory(pick);
        dialog.accept();
    }
};

app::WindowStart Read(const QStringList& arguments, std::string& errors, MyMessage::DialogAnswerer* answerer = nullptr)
{
    std::ostringstream stream;
    const app::WindowStart start = app::ReadCommandLine(arguments, stream, answerer);
    errors = stream.str();
    return start;
}

}  // namespace

TEST(CommandLine, NoArgumentSearchesTheProgramsOwnFolderAnythingElseIsAUsageError)
{
    std::string errors;
    const app::WindowStart own = Read({}, errors);
    EXPECT_TRUE(own.openWindow);
    EXPECT_TRUE(own.folder.isEmpty());
    EXPECT_TRUE(errors.empty());

    const QList<QStringList> wrong{{"--help"}, {"a", "b"}, {"--choose-folder", "a", "b"},
                                   {"-x"},     {""},       {"a", "--choose-folder"}};
    for (const QStringList& arguments : wrong) {
        const app::WindowStart start = Read(arguments, errors);
        EXPECT_FALSE(start.openWindow) << arguments.join(u' ').toStdString();
        EXPECT_EQ(start.exitCode, 2);
        EXPECT_NE(errors.find("Użycie: vidarkon-patch [FOLDER]"), std::string::npos) << errors;
    }
}

TEST(CommandLine, AFolderThatCannotBeSearchedEndsTheProgramWithTwoAndSaysWhy)
{
    QTemporaryDir root;
    const QString missing = root.filePath(QStringLiteral("brak"));
    const QString file = root.filePath(QStringLiteral("plik.mdb"));
    QFile(file).open(QIODevice::WriteOnly);

    for (const QString& folder : {missing, file}) {
        std::string errors;
        const app::WindowStart start = Read({folder}, errors);
        EXPECT_FALSE(start.openWindow);
        EXPECT_EQ(start.exitCode, 2);
        EXPECT_EQ(errors, *utils::FolderProblem(folder.toStdString()) + "\n");
    }

    // Started from the desktop there is no terminal: the reason is shown too.
    FolderAnswerer answerer;
    std::string errors;
    const app::WindowStart start = Read({"--choose-folder", missing}, errors, &answerer);
    EXPECT_EQ(start.exitCode, 2);
    EXPECT_EQ(answerer.plainTexts, QStringList{QString::fromStdString(*utils::FolderProblem(missing.toStdString()))});
}

TEST(CommandLine, TheWindowOnAFolderGivenAsArgumentUpgradesThatFolder)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 20, 10);
    std::string errors;
    const app::WindowStart start = Read({QString::fromStdString(folder.Folder())}, errors);
    ASSERT_TRUE(start.openWindow) << errors;

    RecordingAnswerer answerer;
    TfmGlowny window(&answerer, start.folder);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* list = Part<app::TCheckList>(window, "lbBase");
    EXPECT_TRUE(list->PlaceholderText().contains(QDir::cleanPath(QString::fromStdString(folder.Folder()))))
        << "the window says which folder it works on";
    EXPECT_EQ(list->toolTip(), list->PlaceholderText());

    QTest::mouseClick(Part<app::TXPButton>(window, "cmdStart"), Qt::LeftButton);

    EXPECT_TRUE(answerer.notices.empty());
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY WHERE ID_CD = FILM_ID")[0][0], "20");
}

TEST(CommandLine, ChooseFolderAsksFromTheHomeFolderAndCancellingEndsQuietly)
{
    QTemporaryDir chosen;
    FolderAnswerer answerer;
    answerer.pick = chosen.path();
    std::string errors;
    const app::WindowStart start = Read({"--choose-folder"}, errors, &answerer);
    EXPECT_TRUE(start.openWindow);
    EXPECT_EQ(start.folder, QDir(chosen.path()).absolutePath());
    EXPECT_EQ(answerer.titles, QStringList{app::kChooseFolderTitle});
    EXPECT_EQ(answerer.openedIn, QDir::homePath());

    FolderAnswerer cancelling;
    const app::WindowStart cancelled = Read({"--choose-folder"}, errors, &cancelling);
    EXPECT_FALSE(cancelled.openWindow);
    EXPECT_EQ(cancelled.exitCode, 0);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(cancelling.titles.size(), 1);

    // A folder given with the option is taken without asking.
    FolderAnswerer unasked;
    const app::WindowStart given = Read({"--choose-folder", chosen.path()}, errors, &unasked);
    EXPECT_TRUE(given.openWindow);
    EXPECT_TRUE(unasked.titles.isEmpty());
}
