#include "app/markup_label.h"

#include <gtest/gtest.h>

using app::MarkupRun;
using app::ParseMarkup;

namespace {

const QString kNbsp(QChar(0x00A0));

}  // namespace

TEST(ParseMarkup, SplitsBoldAndItalicRuns)
{
    const std::vector<MarkupRun> runs =
        ParseMarkup(QStringLiteral("1. Zmianę w tabeli <B>FILMY</B> pola <I>ID_CD</I>."));
    const std::vector<MarkupRun> expected{
        {QStringLiteral("1. Zmianę w tabeli "), false, false},
        {QStringLiteral("FILMY"), true, false},
        {QStringLiteral(" pola "), false, false},
        {QStringLiteral("ID_CD"), false, true},
        {QStringLiteral("."), false, false},
    };
    EXPECT_EQ(runs, expected);
}

TEST(ParseMarkup, NbspIsANonBreakingBlank)
{
    const std::vector<MarkupRun> runs = ParseMarkup(QStringLiteral("&nbsp;&nbsp;- <I>URL</I>"));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, kNbsp + kNbsp + QStringLiteral("- "));
    EXPECT_EQ(runs[1], (MarkupRun{QStringLiteral("URL"), false, true}));
}

TEST(ParseMarkup, TagsIgnoreLetterCaseAndNest)
{
    const std::vector<MarkupRun> runs = ParseMarkup(QStringLiteral("<b>a<i>b</B>c</i>"));
    const std::vector<MarkupRun> expected{
        {QStringLiteral("a"), true, false},
        {QStringLiteral("b"), true, true},
        {QStringLiteral("c"), false, true},
    };
    EXPECT_EQ(runs, expected);
}

TEST(ParseMarkup, AnythingElseIsPlainText)
{
    const QString text = QStringLiteral("a < b & c <U>x</U> &amp; <B");
    const std::vector<MarkupRun> runs = ParseMarkup(text);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, text);
    EXPECT_TRUE(ParseMarkup(QString()).empty());
    EXPECT_TRUE(ParseMarkup(QStringLiteral("<B></B>")).empty());
}
