// The layout arithmetic on its own: text position, word wrapping and colours.

#include "ui/MyMessage/message_layout.h"

#include <gtest/gtest.h>

using namespace MyMessage;

namespace {

// Ten pixels per character makes the expected breaks easy to read.
TextBlock Wrap(const QString& text)
{
    return WrapMessageText(text, 13, [](const QString& line) { return int(line.size()) * 10; });
}

}  // namespace

TEST(TextPosition, DivisionsTruncateTowardZero)
{
    EXPECT_EQ(TextPosition(235, 13), QPoint(53, 32));
    EXPECT_EQ(TextPosition(0, 114).y(), -1);   // -4 / 3, not -2
    EXPECT_EQ(TextPosition(-3, 13).x(), 171);  // -3 / 2 is -1
}

TEST(WrapMessageText, TextThatFitsKeepsItsLinesAndEveryBreakFormStartsALine)
{
    const TextBlock block = Wrap(QStringLiteral("a\r\nbbbb\ncc\rd"));
    EXPECT_EQ(block.Lines, (QStringList{"a", "bbbb", "cc", "d"}));
    EXPECT_EQ(block.Width, 40);
    EXPECT_EQ(block.Height, 52);

    const TextBlock empty = Wrap(QString());
    EXPECT_EQ(empty.Lines, QStringList{QString()});
    EXPECT_EQ(empty.Height, 13);
}

TEST(WrapMessageText, LongLinesBreakAtWordsWithin235)
{
    // 23 characters (230 px) fit, 24 do not; blanks at a break are dropped.
    const TextBlock block = Wrap(QStringLiteral("x y\r\naaaaaaaaaa bbbbbbbbbbbb cccccccccc  dddddddddd eeeee"));
    EXPECT_EQ(block.Lines, (QStringList{"x y", "aaaaaaaaaa bbbbbbbbbbbb", "cccccccccc  dddddddddd", "eeeee"}));
    EXPECT_EQ(block.Width, 230);
    EXPECT_EQ(block.Height, 52);
}

TEST(WrapMessageText, WordWiderThan235StaysWholeAndWidensTheBlock)
{
    const QString longWord(30, u'x');
    const TextBlock block = Wrap(QStringLiteral("ab ") + longWord + QStringLiteral(" cd"));
    EXPECT_EQ(block.Lines, (QStringList{"ab", longWord, "cd"}));
    EXPECT_EQ(block.Width, 300);
}

TEST(ColorFromValue, RedIsTheLowByteAndMinusOneKeepsTheDesign)
{
    EXPECT_FALSE(ColorFromValue(-1).has_value());
    EXPECT_EQ(ColorFromValue(0xFFD9B3), QColor(179, 217, 255));
    EXPECT_EQ(ColorFromValue(0xFFB871), QColor(113, 184, 255));
    EXPECT_EQ(ColorFromValue(0x000080), QColor(128, 0, 0));
}
