// Writes pictures of the main window into a folder:
//   render-main-window <folder>
// main_window_patch.png and main_window_opis.png show the two tabs as the
// program starts; main_window_patch_files.png shows the list during a run.
#include "app/artwork.h"
#include "app/main_window.h"
#include "ui/TovaskTabControl/tovask_page_control.h"

#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name)
{
    QApplication::processEvents();
    const QString path = folder.filePath(name);
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool SaveArtwork(const QDir& folder)
{
    bool ok = true;
    for (int size : {16, 32, 48})
        ok = app::RenderArtwork(QStringLiteral("app_icon"), QSize(size, size))
                 .save(folder.filePath(QStringLiteral("icon_%1.png").arg(size)), "PNG") &&
             ok;
    ok = app::StartGlyph().save(folder.filePath(QStringLiteral("glyph_start.png")), "PNG") && ok;
    ok = app::CloseGlyph().save(folder.filePath(QStringLiteral("glyph_close.png")), "PNG") && ok;
    ok = app::HeaderCloseGlyph().save(folder.filePath(QStringLiteral("glyph_header_close.png")), "PNG") && ok;
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    // An empty folder of its own, so that nothing real is ever listed.
    QTemporaryDir empty;
    TfmGlowny window(nullptr, empty.path());
    window.show();

    auto* pages = window.findChild<TovaskTabControl::TTovaskPageControl*>(QStringLiteral("TovaskPageControl1"));
    bool ok = Save(window, folder, QStringLiteral("main_window_patch.png"));
    pages->setCurrentIndex(1);
    ok = Save(window, folder, QStringLiteral("main_window_opis.png")) && ok;

    pages->setCurrentIndex(0);
    window.SetFileList(
        {"filmy.mdb", "kopia.mdb", "archiwum 2004.mdb", "dom.mdb", "praca.mdb", "seriale.mdb", "stare.mdb"});
    window.TickFile(0);
    window.TickFile(1);
    window.SetProgressMaximum(7);
    window.SetProgressPosition(3);
    ok = Save(window, folder, QStringLiteral("main_window_patch_files.png")) && ok;

    ok = SaveArtwork(folder) && ok;
    return ok ? 0 : 1;
}
