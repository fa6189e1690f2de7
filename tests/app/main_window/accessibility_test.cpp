// What a screen reader finds in the main window.
#include "main_window_fixture.h"

#include "app/check_list.h"
#include "app/header_close_button.h"
#include "app/header_strip.h"
#include "app/xp_button.h"
#include "ui/TovaskTabControl/tovask_page_control.h"

#include <QAccessible>
#include <QCheckBox>
#include <QProgressBar>
#include <QTabBar>

namespace {

QAccessibleInterface* Readable(QObject* object)
{
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(object);
    if (!readable) throw std::logic_error("nothing for assistive technology");
    return readable;
}

QString NameOf(QObject* object)
{
    return Readable(object)->text(QAccessible::Name);
}

}  // namespace

TEST_F(MainWindowTest, EveryControlHasANameAScreenReaderCanRead)
{
    EXPECT_EQ(NameOf(Part<app::TXPButton>(*window, "cmdStart")), QStringLiteral("Start"));
    EXPECT_EQ(NameOf(Part<app::TXPButton>(*window, "cmdCloseProgram")), QStringLiteral("Zakończ"));
    EXPECT_EQ(NameOf(Part<app::TXPButton>(*window, "JvXPButton2")), QStringLiteral("Zakończ"));
    EXPECT_EQ(NameOf(Part<QCheckBox>(*window, "cbID_CD")), QStringLiteral("Zachowaj zawartość pola ID_CD"));

    QAccessibleInterface* list = Readable(Part<app::TCheckList>(*window, "lbBase"));
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Bazy do uaktualnienia"));
    EXPECT_TRUE(list->text(QAccessible::Description).contains(folder.path())) << "the folder worked on";
    EXPECT_FALSE(NameOf(Part<QProgressBar>(*window, "Pozycja")).isEmpty());

    QAccessibleInterface* close = Readable(Part<app::THeaderCloseButton>(*window, "cmdlClose"));
    EXPECT_EQ(close->role(), QAccessible::Button);
    EXPECT_EQ(close->text(QAccessible::Name), QStringLiteral("Zakończ program"));

    QAccessibleInterface* tabs =
        Readable(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->tabBar());
    QStringList tabNames;
    for (int i = 0; i < tabs->childCount(); ++i)
        if (tabs->child(i)->role() == QAccessible::PageTab) tabNames << tabs->child(i)->text(QAccessible::Name);
    EXPECT_EQ(tabNames, (QStringList{QStringLiteral("Patch"), QStringLiteral("Opis patcha")}));
}

TEST_F(MainWindowTest, TheWindowReadsAsAWindowNamedByItsTitle)
{
    // Not a filler: a screen reader announces a window (a frame) by its name.
    QAccessibleInterface* readable = Readable(window.get());
    EXPECT_EQ(readable->role(), QAccessible::Window);
    EXPECT_EQ(readable->text(QAccessible::Name), kWindowTitle);
    EXPECT_EQ(readable->text(QAccessible::Name), window->windowTitle());
    EXPECT_GT(readable->childCount(), 0) << "its controls are still found inside it";
}

TEST_F(MainWindowTest, HandPaintedTextsReadAsTheTextTheyShow)
{
    QAccessibleInterface* title = Readable(Part<app::THeaderStrip>(*window, "cntHeader"));
    EXPECT_EQ(title->role(), QAccessible::StaticText);
    EXPECT_EQ(title->text(QAccessible::Name), kWindowTitle);

    QAccessibleInterface* hint = Readable(Part<app::TMarkupLabel>(*window, "JvHTLabel14"));
    EXPECT_EQ(hint->role(), QAccessible::StaticText);
    EXPECT_EQ(hint->text(QAccessible::Name),
              QStringLiteral("przeznaczone do uaktualnienia i naciskamy przycisk START."));
    // Without the markup and the indent of non-breaking blanks.
    const auto lines = DescriptionLines(*window);
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(NameOf(lines[1]), QStringLiteral("1. Zmianę w tabeli FILMY pola ID_CD na FILM_ID, zmianę pola"));
    EXPECT_EQ(NameOf(lines[4]), QStringLiteral("- ID_CD - przechowuje nr CD,"));
}
