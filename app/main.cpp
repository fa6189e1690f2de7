// vidarkon-patch [FOLDER | --choose-folder [FOLDER]]: shows the main window on
// a folder of catalogues and runs until it closes.
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/plain_message.h"
#include "db/TovaskADODB/clipboard_format.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>
#include <iostream>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Qt's own dialogs (the folder dialog) speak Polish like the rest of the
    // program, where Qt's translations are installed.
    QTranslator qtInPolish;
    if (qtInPolish.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtInPolish);
    const app::WindowStart start = app::ReadCommandLine(QCoreApplication::arguments().mid(1), std::cerr);
    if (!start.openWindow) return start.exitCode;
    TovaskADODB::RegisterCfUczFormat();

    std::unique_ptr<TfmGlowny> fmGlowny;
    try {
        fmGlowny = std::make_unique<TfmGlowny>(nullptr, start.folder);
    } catch (const std::exception& error) {
        // The window could not be built (its database components refuse to
        // start without an engine): say why instead of vanishing.
        app::ShowPlainMessage(QString::fromUtf8(error.what()), nullptr, QMessageBox::Critical);
        return 1;
    }
    fmGlowny->show();
    QApplication::exec();
    return 0;
}
