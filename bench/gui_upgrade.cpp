// vidarkon-bench-gui FOLDER: the whole upgrade of FOLDER through the real
// window, Start pressed and every notice answered with its first button;
// prints the seconds it took.

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>

#include <cstdio>

#include "app/main_window.h"
#include "app/xp_button.h"
#include "ui/MyMessage/dialog_answerer.h"
#include "ui/MyMessage/message_window.h"

namespace {

class PressFirstButton : public MyMessage::DialogAnswerer {
public:
    void Answer(QDialog& dialog) override
    {
        if (auto* window = qobject_cast<MyMessage::TOknoKomunikatu*>(&dialog))
            window->cmdBtn1->click();
        else
            dialog.accept();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vidarkon-bench-gui FOLDER\n");
        return 2;
    }
    PressFirstButton answerer;
    TfmGlowny window(&answerer, QString::fromLocal8Bit(argv[1]));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(window.findChild<app::TXPButton*>(QStringLiteral("cmdStart")), Qt::LeftButton);
    std::printf("%.3f\n", static_cast<double>(timer.nsecsElapsed()) / 1e9);
    return 0;
}
