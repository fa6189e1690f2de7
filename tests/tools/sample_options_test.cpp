// What the generator refuses, the options that change the file's shape, and
// the command line.

#include <gtest/gtest.h>

#include <fstream>

#include "sample_file_reader.h"
#include "tools/sample/command_line.h"
#include "tools/sample/sample_catalogue.h"

using namespace sample_test;
using sample::SampleError;
using sample::SampleOptions;

namespace {

SampleOptions small()
{
    SampleOptions options;
    options.films = 20;
    options.loans = 10;
    return options;
}

void writeText(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream(file) << text;
}

std::string readText(const std::filesystem::path& file)
{
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

sample::CommandLine parse(std::initializer_list<std::string_view> arguments)
{
    const std::vector<std::string_view> list(arguments);
    return sample::ParseCommandLine(list);
}

}  // namespace

TEST(SampleOptions, ExistingFileIsReplacedOnlyWhenAskedFor)
{
    const TempFolder folder;
    const auto file = folder / "a.mdb";
    writeText(file, "not a catalogue");
    EXPECT_THROW(sample::WriteSampleCatalogue(file, small()), SampleError);
    EXPECT_EQ(readText(file), "not a catalogue");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"a.mdb"});

    SampleOptions overwrite = small();
    overwrite.overwrite = true;
    sample::WriteSampleCatalogue(file, overwrite);
    EXPECT_EQ(CatalogueReader(file).integer("SELECT COUNT(*) FROM FILMY"), 20);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"a.mdb"});
}

TEST(SampleOptions, RefusedOptionsLeaveNothingBehind)
{
    const TempFolder folder;
    std::vector<SampleOptions> refused(6, small());
    refused[0].films = 0;  // loans without films
    refused[1].tableNames.films = "FILMY.OLD";
    refused[2].tableNames.loans = "MSysLoans";
    refused[3].tableNames.loans = "filmy";
    refused[4].films = -1;
    refused[5].people = 0;
    for (std::size_t i = 0; i < refused.size(); ++i)
        EXPECT_THROW(sample::WriteSampleCatalogue(folder / "a.mdb", refused[i]), SampleError) << i;
    EXPECT_TRUE(folder.entries().empty());

    writeText(folder / "upgraded.mdb", "x");
    EXPECT_THROW(sample::WriteEveryLevel(folder.path(), small()), SampleError);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"upgraded.mdb"});
}

TEST(SampleOptions, StoredTableNamesCarryIntoIndexesAndProperties)
{
    const TempFolder folder;
    SampleOptions options = small();
    options.tableNames.films = "Filmy";
    options.tableNames.loans = "Wypozycz";
    sample::WriteSampleCatalogue(folder / "a.mdb", options);
    const CatalogueReader file(folder / "a.mdb");
    EXPECT_EQ(file.tables(), (std::vector<std::string>{"Filmy", "MSysFields", "MSysIndexes", "OSOBY", "Wypozycz"}));
    EXPECT_EQ(file.texts("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Filmy' ORDER BY name"),
              (std::vector<std::string>{"Filmy.GATUNEK", "Filmy.PrimaryKey", "Filmy.T_ORG", "Filmy.T_PL"}));
    EXPECT_EQ(file.integer("SELECT COUNT(*) FROM MSysFields WHERE TableName = 'Filmy'"), 37);
    EXPECT_EQ(file.text("SELECT TableName FROM MSysIndexes WHERE IndexName = 'PrimaryKey' AND TableName <> 'OSOBY'"),
              "Filmy");
}

TEST(SampleOptions, PlainFileHasNoPropertyTables)
{
    const TempFolder folder;
    SampleOptions options = small();
    options.fieldProperties = false;
    sample::WriteSampleCatalogue(folder / "a.mdb", options);
    const CatalogueReader file(folder / "a.mdb");
    EXPECT_EQ(file.tables(), (std::vector<std::string>{"FILMY", "OSOBY", "WYPOZYCZ"}));
    EXPECT_EQ(file.integer("SELECT COUNT(*) FROM FILMY"), 20);
}

TEST(SampleCommandLine, ReadsOptionsInBothSpellings)
{
    const auto command = parse({"--level=upgraded", "-n", "1000", "--loans=30", "--seed", "18446744073709551615",
                                "--films-table", "Filmy", "--plain", "--heavy", "-f", "out.mdb"});
    EXPECT_EQ(command.action, sample::CommandLine::Action::WriteFile);
    EXPECT_EQ(command.target, "out.mdb");
    EXPECT_EQ(command.options.level, sample::Level::Upgraded);
    EXPECT_EQ(command.options.films, 1000);
    EXPECT_EQ(command.options.loans, 30);
    EXPECT_EQ(command.options.seed, 18446744073709551615ull);
    EXPECT_EQ(command.options.tableNames.films, "Filmy");
    EXPECT_FALSE(command.options.fieldProperties);
    EXPECT_EQ(command.options.shape, sample::FilmShape::Heavy);
    EXPECT_TRUE(command.options.overwrite);

    EXPECT_EQ(parse({"--all", "demo"}).action, sample::CommandLine::Action::WriteEveryLevel);
    EXPECT_EQ(parse({"--", "-odd.mdb"}).target, "-odd.mdb");
    EXPECT_EQ(parse({"x.mdb", "--help"}).action, sample::CommandLine::Action::Help);
}

TEST(SampleCommandLine, RejectsBadUsage)
{
    const std::vector<std::vector<std::string_view>> bad = {
        {},
        {"a.mdb", "b.mdb"},
        {"--all", "demo", "a.mdb"},
        {"--level", "old", "a.mdb"},
        {"-n", "12a", "a.mdb"},
        {"-n", "-", "a.mdb"},
        {"--films=", "a.mdb"},
        {"--seed"},
        {"--force=yes", "a.mdb"},
        {"--heavy=1", "a.mdb"},
        {"--colour", "a.mdb"},
        {"-m", "-1", "a.mdb"},
    };
    for (const auto& arguments : bad)
        EXPECT_THROW(sample::ParseCommandLine(arguments), sample::UsageError) << arguments.size();
}
