// Writes PNG pictures of the message window with one, two and three buttons
// (and one with a long, wrapped text) into the folder given on the command line.
//   render-message-windows <folder>
// Works on the offscreen platform: QT_QPA_PLATFORM=offscreen.

#include "ui/MyMessage/message_window.h"
#include "ui/MyMessage/show_message_window.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

using namespace MyMessage;

// Takes a picture of the window as soon as it is shown, then closes it.
class Snapshot : public DialogAnswerer {
public:
    explicit Snapshot(QString path) : path_(std::move(path)) {}
    void Answer(QDialog& dialog) override
    {
        saved_ = dialog.grab().save(path_, "PNG");
        dialog.reject();
    }
    bool Saved() const { return saved_; }

private:
    QString path_;
    bool saved_ = false;
};

struct Sample {
    const char* file;
    std::uint8_t picture;
    QString title;
    QString text;
    std::vector<std::uint8_t> buttons;
    std::vector<std::int32_t> colors;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render-message-windows <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const std::vector<Sample> samples = {
        {"message_1_button.png",
         PictureInformation,
         QStringLiteral("Informacja"),
         QStringLiteral("Błąd podczas aktualizacji pliku: FILMY.MDB"),
         {ButtonOk},
         {0xFFD9B3, 0xFFB871, 0x000080}},
        {"message_2_buttons.png",
         PictureQuestion,
         QStringLiteral("Pytanie"),
         QStringLiteral("Czy zaktualizować bazę danych?\r\nZrób &wcześniej kopię && sprawdź ją."),
         {ButtonYes, ButtonNo},
         {}},
        {"message_3_buttons.png",
         PictureError,
         QStringLiteral("Błąd"),
         QStringLiteral("Nie można otworzyć pliku bazy danych."),
         {ButtonAbort, ButtonRetry, ButtonIgnore},
         {-1, -1, -1}},
        {"message_wrapped_text.png",
         PictureWarning,
         QStringLiteral("Uwaga"),
         QStringLiteral("Przed uruchomieniem patcha zabezpiecz swoje dane, ponieważ pliki "
                        "baz danych są zmieniane w miejscu i nie jest tworzona ich kopia."),
         {ButtonOk, ButtonCancel, ButtonHelp},
         {0xE0F0FF, -1, -1}},
    };

    int failures = 0;
    for (const Sample& sample : samples) {
        const QString path = folder.filePath(QString::fromLatin1(sample.file));
        Snapshot snapshot(path);
        ShowMessageWindow(sample.picture, sample.title, sample.text, sample.buttons, sample.colors, true, nullptr,
                          &snapshot);
        if (snapshot.Saved()) {
            std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
        } else {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
