// Ending the message window: Enter, Esc, the close button, the private close
// event and the buttons' accelerator letters.

#include "scripted_answerer.h"
#include "ui/MyMessage/show_message_window.h"

#include <QCoreApplication>
#include <QToolButton>

using namespace MyMessage;

namespace {

int Answer(const std::vector<std::uint8_t>& buttons, ScriptedAnswerer::Script script)
{
    ScriptedAnswerer answerer(std::move(script));
    const int result = ShowMessageWindow(PictureQuestion, QStringLiteral("Pytanie"), QStringLiteral("Czy kontynuować?"),
                                         buttons, {}, true, nullptr, &answerer);
    EXPECT_EQ(answerer.calls, 1);
    return result;
}

ScriptedAnswerer::Script Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return [=](TOknoKomunikatu& w) { QTest::keyClick(&w, key, modifiers); };
}

const std::vector<std::uint8_t> YesNo = {ButtonYes, ButtonNo};

}  // namespace

TEST(MessageWindowKeys, EnterPressesTheFirstButtonAndEscCloseOrCloseEventGive2)
{
    EXPECT_EQ(Answer(YesNo, Key(Qt::Key_Return)), 6);
    EXPECT_EQ(Answer(YesNo, Key(Qt::Key_Enter)), 6);
    EXPECT_EQ(Answer(YesNo, Key(Qt::Key_Escape)), 2);
    EXPECT_EQ(Answer(YesNo, [](TOknoKomunikatu& w) { w.close(); }), 2);
    EXPECT_EQ(Answer(YesNo,
                     [](TOknoKomunikatu& w) {
                         QEvent close(CloseMessageEventType());
                         QCoreApplication::sendEvent(&w, &close);
                     }),
              2);
    // A first button that gives no result keeps the window open on Enter.
    EXPECT_EQ(Answer({ButtonClose, ButtonOk},
                     [](TOknoKomunikatu& w) {
                         QTest::keyClick(&w, Qt::Key_Return);
                         EXPECT_TRUE(w.isVisible());
                         QTest::mouseClick(w.cmdBtn2, Qt::LeftButton);
                     }),
              1);
}

TEST(MessageWindowKeys, HelpAloneLeavesOnlyByEscOrTheCloseButton)
{
    for (const bool byEsc : {true, false}) {
        const int result = Answer({ButtonHelp}, [&](TOknoKomunikatu& w) {
            QTest::mouseClick(w.cmdBtn1, Qt::LeftButton);
            QTest::keyClick(&w, Qt::Key_Return);
            QTest::keyClick(&w, Qt::Key_P, Qt::AltModifier);
            EXPECT_TRUE(w.isVisible());
            byEsc ? QTest::keyClick(&w, Qt::Key_Escape) : void(w.close());
        });
        EXPECT_EQ(result, 2);
    }
}

TEST(MessageWindowKeys, AcceleratorLetterWithOrWithoutAltPressesTheFirstMatchingButton)
{
    EXPECT_EQ(Answer(YesNo, Key(Qt::Key_N)), 7);
    EXPECT_EQ(Answer(YesNo, Key(Qt::Key_T, Qt::AltModifier)), 6);
    EXPECT_EQ(Answer(YesNo, Key(Qt::Key_N, Qt::ShiftModifier)), 7);
    EXPECT_EQ(Answer({ButtonRetry, ButtonOk}, Key(Qt::Key_O)), 4);  // both marked "O"

    const int result = Answer({ButtonAbort, ButtonYes}, [](TOknoKomunikatu& w) {
        // The kind's "Przerwij" carries no mark; the hidden third slot keeps
        // "&Przerwij" but has no kind.
        QTest::keyClick(&w, Qt::Key_P);
        QTest::keyClick(&w, Qt::Key_X);
        QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier);
        EXPECT_TRUE(w.isVisible());
        QTest::keyClick(&w, Qt::Key_T);
    });
    EXPECT_EQ(result, 6);
}
