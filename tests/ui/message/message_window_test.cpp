// The real message window, shown modally and answered by a script: its fixed
// design, the text layout with the installed font, colours, button kinds and
// placement, Display false and the window's lifetime.

#include "scripted_answerer.h"
#include "ui/MyMessage/message_label.h"
#include "ui/MyMessage/show_message_window.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QToolButton>

#include <memory>

using namespace MyMessage;

namespace {

const std::vector<std::int32_t> PatchColors = {0xFFD9B3, 0xFFB871, 0x000080};

int Show(const QString& text, const std::vector<std::uint8_t>& buttons, ScriptedAnswerer::Script script,
         const std::vector<std::int32_t>& colors = {}, std::uint8_t picture = PictureInformation,
         QWidget* parent = nullptr)
{
    ScriptedAnswerer answerer(std::move(script));
    const int result =
        ShowMessageWindow(picture, QStringLiteral("Tytuł"), text, buttons, colors, true, parent, &answerer);
    EXPECT_EQ(answerer.calls, 1);
    return result;
}

void Close(TOknoKomunikatu& w)
{
    w.reject();
}

}  // namespace

TEST(MessageWindowDesign, FixedFrameStripPictureAndFlatButtons)
{
    Show(QStringLiteral("Tekst"), {ButtonOk}, [](TOknoKomunikatu& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Tytuł"));
        EXPECT_EQ(w.size(), QSize(292, 123));
        EXPECT_EQ(w.minimumSize(), w.maximumSize());
        EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
        EXPECT_EQ(w.Image->geometry(), QRect(3, 15, 48, 48));
        EXPECT_EQ(w.PANEL->geometry(), QRect(0, 82, 292, 41));
        for (QToolButton* button : {w.cmdBtn1, w.cmdBtn2, w.cmdBtn3}) {
            EXPECT_EQ(button->size(), QSize(75, 25));
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
            EXPECT_TRUE(button->autoRaise());
        }
        // The bevel lies over the buttons' top edge and must not swallow clicks.
        EXPECT_EQ(w.PANEL->childAt(w.cmdBtn1->x() + 30, 11), w.cmdBtn1);
        w.reject();
    });
}

TEST(MessageWindowDesign, PictureKinds0To3ShowATransparentPictureOthersNone)
{
    for (std::uint8_t kind : {0, 1, 2, 3, 4, 255}) {
        QImage picture;
        Show(
            QStringLiteral("x"), {ButtonOk},
            [&](TOknoKomunikatu& w) { picture = w.Image->pixmap().toImage(), w.reject(); }, {}, kind);
        EXPECT_EQ(picture.isNull(), kind > 3) << int(kind);
        if (!picture.isNull()) {
            EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << int(kind);
        }
    }
}

TEST(MessageWindowDesign, CentredOverItsParent)
{
    QWidget parent;
    parent.setGeometry(150, 120, 600, 400);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const auto checkCentre = [&](TOknoKomunikatu& w) {
        const QPoint offset = w.frameGeometry().center() - parent.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
        w.reject();
    };
    Show(QStringLiteral("x"), {ButtonOk}, checkCentre, {}, PictureInformation, &parent);
}

TEST(MessageTextLayout, OneLineStandsCentredOnX170AtTop32)
{
    Show(QStringLiteral("&Plik && katalog"), {ButtonOk}, [](TOknoKomunikatu& w) {
        const int lineHeight = QFontMetrics(w.Text->font()).height();
        if (lineHeight != 13) {
            w.reject();
            GTEST_SKIP() << "the stand-in for MS Sans Serif gives " << lineHeight
                         << "-pixel lines, not the design's 13; the layout is checked with the measured lines below";
        }
        EXPECT_EQ(w.Text->height(), 13);
        EXPECT_EQ(w.Text->pos(), QPoint(170 - w.Text->width() / 2, 32));
        w.reject();
    });
}

TEST(MessageTextLayout, OneLineIsPlacedByItsMeasuredSize)
{
    Show(QStringLiteral("&Plik && katalog"), {ButtonOk}, [](TOknoKomunikatu& w) {
        const QFontMetrics metrics(w.Text->font());
        // "&" marks an accelerator and is not shown; "&&" shows one "&".
        EXPECT_EQ(w.Text->width(), metrics.horizontalAdvance(QStringLiteral("Plik & katalog")));
        EXPECT_EQ(w.Text->height(), metrics.height());
        EXPECT_EQ(w.Text->pos(), QPoint(170 - w.Text->width() / 2, (110 - metrics.height()) / 3));
        w.reject();
    });
}

TEST(MessageTextLayout, LongLineWrapsIntoLinesAtMost235Wide)
{
    const QString words = QStringLiteral(
        "Przed uruchomieniem patcha zabezpiecz swoje dane, ponieważ pliki baz danych są "
        "zmieniane w miejscu.");
    Show(words, {ButtonOk}, [&](TOknoKomunikatu& w) {
        const QStringList lines = w.Text->Lines();
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines.join(u' '), words) << "no word may be lost at a break";
        int widest = 0;
        for (const QString& line : lines) widest = std::max(widest, w.Text->LineWidth(line));
        EXPECT_LE(widest, 235);
        const int height = static_cast<int>(lines.size()) * QFontMetrics(w.Text->font()).height();
        EXPECT_EQ(w.Text->geometry(), QRect(170 - widest / 2, (110 - height) / 3, widest, height));
        w.reject();
    });
}

TEST(MessageTextLayout, TopFollowsTheLineCountAndTallTextRunsUnderTheStrip)
{
    for (int count : {2, 3, 5, 6}) {
        QStringList lines;
        for (int i = 1; i <= count; ++i) lines << QStringLiteral("Linia %1").arg(i);
        Show(lines.join(QStringLiteral("\r\n")), {ButtonOk}, [&](TOknoKomunikatu& w) {
            // With the design's 13-pixel lines: 28, 23, 15 and 10.
            const int height = count * QFontMetrics(w.Text->font()).height();
            const int top = (110 - height) / 3;
            EXPECT_EQ(w.Text->geometry().top(), top) << count << " lines";
            EXPECT_EQ(w.Text->height(), height);
            EXPECT_EQ(w.size(), QSize(292, 123));
            // Below the strip's top edge the strip covers the text.
            EXPECT_EQ(w.childAt(170, top + 5), w.Text);
            if (w.Text->geometry().bottom() >= 82) {
                EXPECT_EQ(w.childAt(170, 86), w.PANEL);
            }
            w.reject();
        });
    }
}

TEST(MessageWindowAccessibility, AScreenReaderGetsTheMessageItsPictureAndItsButtons)
{
    auto name = [](QObject* object) {
        QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(object);
        return readable ? readable->text(QAccessible::Name) : QStringLiteral("<nothing>");
    };
    Show(
        QStringLiteral("Plik && katalog:\r\n&brak bazy"), {ButtonYes, ButtonNo},
        [&](TOknoKomunikatu& w) {
            const QString message = QStringLiteral("Plik & katalog:\r\nbrak bazy");
            QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Tytuł"));
            EXPECT_EQ(window->text(QAccessible::Description), message);
            QAccessibleInterface* text = QAccessible::queryAccessibleInterface(w.Text);
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->role(), QAccessible::StaticText);
            EXPECT_EQ(text->text(QAccessible::Name), message);
            EXPECT_EQ(name(w.Image), QStringLiteral("Ostrzeżenie"));
            EXPECT_EQ(name(w.cmdBtn1), QStringLiteral("Tak"));
            EXPECT_EQ(name(w.cmdBtn2), QStringLiteral("Nie"));
            w.reject();
        },
        {}, PictureWarning);
}

TEST(MessageWindowColors, PatchColoursAndMinusOneKeepingTheDesign)
{
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    struct Case {
        std::vector<std::int32_t> colors;
        QColor window, strip, text;
    };
    const Case cases[] = {
        {PatchColors, QColor(179, 217, 255), QColor(113, 184, 255), QColor(128, 0, 0)},
        {{-1, -1, -1}, face, QColor(0xC0, 0xC0, 0xC0), windowText},
        {{}, face, QColor(0xC0, 0xC0, 0xC0), windowText},
    };
    for (const Case& c : cases) {
        Show(
            QStringLiteral("Błąd"), {ButtonOk},
            [&](TOknoKomunikatu& w) {
                const QImage image = w.grab().toImage();
                EXPECT_EQ(QColor(image.pixel(285, 5)), c.window);
                EXPECT_EQ(QColor(image.pixel(5, 118)), c.strip);
                EXPECT_EQ(w.TextColor(), c.text);
                bool textPainted = false;  // bold stems reach the full colour
                const QRect text = w.Text->geometry();
                for (int y = text.top(); y <= text.bottom(); ++y)
                    for (int x = text.left(); x <= text.right(); ++x)
                        textPainted |= QColor(image.pixel(x, y)) == c.text;
                EXPECT_TRUE(textPainted);
                w.reject();
            },
            c.colors);
    }
}

TEST(MessageButtons, EveryKindHasItsCaptionGlyphAndResult)
{
    const std::pair<const char16_t*, int> kinds[] = {
        {u"&Ok", 1},      {u"&Anuluj", 2},  {u"&Pomoc", 0}, {u"&Tak", 6},     {u"&Nie", 7},
        {u"&Zamknij", 0}, {u"Przerwij", 3}, {u"P&onów", 4}, {u"&Ignoruj", 5}, {u"&Wszystko", 8},
    };
    for (std::uint8_t kind = 0; kind < 10; ++kind) {
        const auto [caption, expected] = kinds[kind];
        const int result = Show(QStringLiteral("x"), {kind}, [&](TOknoKomunikatu& w) {
            EXPECT_EQ(w.cmdBtn1->text(), QString::fromUtf16(caption));
            EXPECT_FALSE(w.cmdBtn1->icon().isNull()) << int(kind);
            QTest::mouseClick(w.cmdBtn1, Qt::LeftButton);
            if (expected == 0) {
                EXPECT_TRUE(w.isVisible()) << "kind " << int(kind) << " must keep it open";
                QTest::keyClick(&w, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(result, expected == 0 ? 2 : expected) << "kind " << int(kind);
    }
}

TEST(MessageButtons, KindAbove9KeepsDesignCaptionHasNoGlyphAndDoesNothing)
{
    const int result = Show(QStringLiteral("x"), {10, 200, 255}, [](TOknoKomunikatu& w) {
        EXPECT_EQ(w.cmdBtn1->text(), QStringLiteral("&Ok"));
        EXPECT_EQ(w.cmdBtn3->text(), QStringLiteral("&Przerwij"));
        for (QToolButton* button : {w.cmdBtn1, w.cmdBtn2, w.cmdBtn3}) {
            EXPECT_TRUE(button->icon().isNull());
            QTest::mouseClick(button, Qt::LeftButton);
        }
        EXPECT_TRUE(w.isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_EQ(result, 2);
}

TEST(MessageButtons, PlacementFollowsTheNumberOfButtons)
{
    const std::pair<std::vector<std::uint8_t>, std::array<int, 3>> cases[] = {
        {{}, {105, 500, 500}},
        {{ButtonOk}, {105, 500, 500}},
        {{ButtonYes, ButtonNo}, {52, 168, 500}},
        {{ButtonAbort, ButtonRetry, ButtonIgnore}, {17, 109, 201}},
    };
    for (const auto& [buttons, lefts] : cases) {
        Show(QStringLiteral("x"), buttons, [&](TOknoKomunikatu& w) {
            const QToolButton* placed[] = {w.cmdBtn1, w.cmdBtn2, w.cmdBtn3};
            for (int slot = 0; slot < 3; ++slot) {
                EXPECT_EQ(placed[slot]->pos(), QPoint(lefts[slot], 10)) << buttons.size() << " buttons";
                EXPECT_EQ(w.PANEL->rect().intersects(placed[slot]->geometry()), lefts[slot] != 500);
            }
            w.reject();
        });
    }
}

TEST(DisplayFalse, ReturnsTheFirstButtonsResultWithoutAWindow)
{
    const std::pair<std::vector<std::uint8_t>, int> cases[] = {
        {{ButtonYes, ButtonNo}, 6},
        {{ButtonAbort, ButtonOk}, 3},
        {{ButtonHelp, ButtonOk}, 0},
        {{ButtonClose}, 0},
        {{12}, 0},
        {{}, 0},
    };
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    for (const auto& [buttons, expected] : cases) {
        ScriptedAnswerer answerer(Close);
        EXPECT_EQ(ShowMessageWindow(PictureQuestion, QStringLiteral("t"), QStringLiteral("m"), buttons, PatchColors,
                                    false, nullptr, &answerer),
                  expected);
        EXPECT_EQ(answerer.calls, 0);
    }
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

TEST(MessageWindowLifetime, WindowExistsOnlyDuringTheCall)
{
    QPointer<TOknoKomunikatu> shown;
    Show(QStringLiteral("x"), {ButtonOk}, [&](TOknoKomunikatu& w) {
        shown = &w;
        EXPECT_EQ(OknoKomunikatu, &w);
        w.reject();
    });
    EXPECT_TRUE(shown.isNull()) << "the window must be destroyed before the call returns";
    EXPECT_EQ(OknoKomunikatu, nullptr);

    // A parent destroyed while the window is open takes the window with it.
    auto parent = std::make_unique<QWidget>();
    parent->show();
    EXPECT_EQ(Show(
                  QStringLiteral("x"), {ButtonOk}, [&](TOknoKomunikatu&) { parent.reset(); }, {}, PictureInformation,
                  parent.get()),
              2);
    EXPECT_EQ(OknoKomunikatu, nullptr);
}
