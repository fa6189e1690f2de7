#include "db/engine/connection_string.h"

#include <gtest/gtest.h>

using engine::dataSourceOf;
using engine::quoteDataSource;

TEST(ConnectionString, PlainValueRunsToSemicolonOrEnd)
{
    EXPECT_EQ(dataSourceOf("Provider=X;Mode=ReadWrite;Data Source=/data/filmy.mdb"), "/data/filmy.mdb");
    EXPECT_EQ(dataSourceOf("Data Source=/a b/c.mdb;Persist Security Info=False"), "/a b/c.mdb");
    EXPECT_EQ(dataSourceOf("Data Source=/one;Data Source=/two"), "/one");
    EXPECT_EQ(dataSourceOf("Data Source="), "");
    EXPECT_EQ(dataSourceOf("Provider=X;data source=/x.mdb"), std::nullopt);  // exact case only
    EXPECT_EQ(dataSourceOf(""), std::nullopt);
}

TEST(ConnectionString, QuotedValueKeepsSemicolonsAndDoubledQuotes)
{
    EXPECT_EQ(dataSourceOf(R"(Provider=X;Data Source="/k;1/f.mdb";Mode=Read)"), "/k;1/f.mdb");
    EXPECT_EQ(dataSourceOf(R"(Data Source="/say ""hi"".mdb")"), R"(/say "hi".mdb)");
    EXPECT_EQ(dataSourceOf(R"(Data Source="/unclosed;x)"), "/unclosed;x");
}

TEST(ConnectionString, QuotesOnlyWhenNeededAndRoundTrips)
{
    EXPECT_EQ(quoteDataSource("/plain/path with \"quote\".mdb"), "/plain/path with \"quote\".mdb");
    EXPECT_EQ(quoteDataSource("/a;b.mdb"), "\"/a;b.mdb\"");
    EXPECT_EQ(quoteDataSource("\"lead.mdb"), "\"\"\"lead.mdb\"");
    for (const std::string path : {"/a;b/\"c\";.mdb", "\"x\"", "/normal.mdb", "/x;"})
        EXPECT_EQ(dataSourceOf("Provider=P;Data Source=" + quoteDataSource(path) + ";Mode=ReadWrite"), path) << path;
}
