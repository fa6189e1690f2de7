// vidarkon-patch: shows the main window and runs until it closes.
#include "app/main_window.h"
#include "app/plain_message.h"
#include "db/TovaskADODB/clipboard_format.h"

#include <QApplication>

#include <exception>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    TovaskADODB::RegisterCfUczFormat();

    std::unique_ptr<TfmGlowny> fmGlowny;
    try {
        fmGlowny = std::make_unique<TfmGlowny>();
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
