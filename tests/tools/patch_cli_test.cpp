// The command-line runner as support staff and scripts use it: its output,
// its exit status, and the files it leaves.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>

#include "tests/patch/catalogue_folder.h"
#include "tests/patch/file_content.h"
#include "tools/cli/cli_options.h"

namespace {

using patch_test::CatalogueFolder;
using patch_test::FileBytes;
using sample::Level;

struct Result {
    int status;
    std::string output;
};

Result RunCli(const std::string& arguments)
{
    const std::string command = std::string(VK_PATCH_CLI) + " " + arguments + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    Result result{-1, {}};
    std::array<char, 4096> buffer{};
    while (const auto read = fread(buffer.data(), 1, buffer.size(), pipe.get()))
        result.output.append(buffer.data(), read);
    const int status = pclose(pipe.release());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

TEST(PatchCli, UpgradesAFolderAndSaysWhatHappenedToEachFile)
{
    CatalogueFolder folder;
    folder.Add("a.mdb", Level::ReadyYesNo, 30, 10);
    folder.Add("b.mdb", Level::Upgraded, 5, 2);
    folder.Add("c.mdb", Level::NoFilms, 5, 0);
    const auto result = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("a.mdb\n"), std::string::npos);
    EXPECT_NE(result.output.find("-> uaktualniona"), std::string::npos);
    EXPECT_NE(result.output.find("-> już uaktualniona"), std::string::npos);
    EXPECT_NE(result.output.find("FILMY: 30/30"), std::string::npos) << "plain progress lines off a terminal";
    EXPECT_NE(result.output.find("Podsumowanie: 3 baz"), std::string::npos);

    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    EXPECT_EQ(check.status, 0);
    EXPECT_NE(check.output.find("a.mdb: już uaktualniona"), std::string::npos) << check.output;
}

TEST(PatchCli, ReportsFilesItCannotFinishWithStatusOne)
{
    CatalogueFolder folder;
    folder.Add("a.mdb", Level::NoSubtype, 5, 2);
    folder.Add("b.mdb", Level::NoLoans, 5, 0);
    const auto result = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("Tabela FILMY wymaga patcha qlt_1.2.2.6-01_v."), std::string::npos);
    EXPECT_NE(result.output.find("brak tabeli WYPOZYCZ"), std::string::npos);

    CatalogueFolder empty;
    const auto none = RunCli(Quoted(empty.Folder()));
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.output.find("Nie odnaleziono żadnej bazy *.mdb do konwersji."), std::string::npos);
}

TEST(PatchCli, CheckChangesNothingAndNamesEachLevel)
{
    CatalogueFolder folder;
    const std::string paths[] = {folder.Add("a.mdb", Level::NoAka, 5, 2), folder.Add("b.mdb", Level::ReadyLong, 5, 2),
                                 folder.Add("c.mdb", Level::NoFilms, 5, 0)};
    {
        std::unique_ptr<FILE, int (*)(FILE*)> text(fopen(folder.PathOf("d.mdb").c_str(), "w"), fclose);
        fputs("no database", text.get());
    }
    std::vector<std::string> before;
    for (const auto& path : paths) before.push_back(FileBytes(path));

    const auto result = RunCli("--check " + Quoted(folder.Folder()));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("a.mdb: brak wcześniejszego patcha (Tabela FILMY wymaga patcha qlt_1.2.1.0-01_v.)"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("b.mdb: wymaga uaktualnienia"), std::string::npos);
    EXPECT_NE(result.output.find("c.mdb: nie jest katalogiem"), std::string::npos);
    EXPECT_NE(result.output.find("d.mdb: nie daje się otworzyć"), std::string::npos);
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(FileBytes(paths[i]), before[i]);
}

TEST(PatchCli, OptionParsing)
{
    std::string error;
    auto options = cli::ParseOptions({"--nie-zachowuj-id-cd", "some/folder"}, error);
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->keepIdCd);
    EXPECT_EQ(options->folder, "some/folder/");
    options = cli::ParseOptions({}, error);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->keepIdCd);
    EXPECT_EQ(options->folder, "./");
    EXPECT_FALSE(cli::ParseOptions({"a", "b"}, error));
    EXPECT_FALSE(cli::ParseOptions({"--bogus"}, error));
    EXPECT_EQ(RunCli("--bogus").status, 2);
    EXPECT_EQ(RunCli("--help").status, 0);
}

TEST(PatchCli, OptionOffGivesZeroIdCd)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 10, 5);
    EXPECT_EQ(RunCli("--nie-zachowuj-id-cd " + Quoted(folder.Folder())).status, 0);
    EXPECT_EQ(patch_test::QueryRows(path, "SELECT count(*) FROM FILMY WHERE ID_CD <> 0")[0][0], "0");
    EXPECT_EQ(patch_test::QueryRows(path, "SELECT count(*) FROM WYPOZYCZ WHERE ID_CD <> 0")[0][0], "0");
}

}  // namespace
