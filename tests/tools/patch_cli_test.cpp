// The command-line runner as support staff and scripts use it: its output,
// its exit status, and the files it leaves.

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "tests/patch/catalogue_folder.h"
#include "tests/patch/file_content.h"
#include "tools/cli/cli_options.h"
#include "tools/cli/polish_count.h"
#include "tools/sample/sample_catalogue.h"

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
    EXPECT_NE(result.output.find(": 3 bazy\n"), std::string::npos);
    EXPECT_NE(result.output.find("Podsumowanie: 3 bazy: 2 uaktualnione lub już uaktualnione, 1 bez tabeli FILMY, "
                                 "0 zgłoszonych lub nieudanych\n"),
              std::string::npos)
        << result.output;

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
    EXPECT_NE(result.output.find("Podsumowanie: 2 bazy: 0 uaktualnionych lub już uaktualnionych, 0 bez tabeli FILMY, "
                                 "2 zgłoszone lub nieudane\n"),
              std::string::npos)
        << result.output;

    // The check says the same of a catalogue without loans as the run does.
    CatalogueFolder noLoans;
    noLoans.Add("a.mdb", Level::NoLoans, 5, 0);
    const auto check = RunCli("--check " + Quoted(noLoans.Folder()));
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.output.find("a.mdb: wymaga uaktualnienia, ale brak tabeli WYPOZYCZ"), std::string::npos)
        << check.output;
    EXPECT_EQ(RunCli(Quoted(noLoans.Folder())).status, 1);

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
    EXPECT_NE(result.output.find("a.mdb: brak wcześniejszego patcha: Tabela FILMY wymaga patcha qlt_1.2.1.0-01_v.\n"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("b.mdb: wymaga uaktualnienia\n"), std::string::npos);
    EXPECT_NE(result.output.find("c.mdb: nie jest katalogiem"), std::string::npos);
    EXPECT_NE(result.output.find("d.mdb: nie daje się otworzyć: to nie jest plik bazy danych\n"), std::string::npos);
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(FileBytes(paths[i]), before[i]);
}

TEST(PatchCli, CheckNamesWhatIsWrongWithADamagedFilmsTable)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 5, 2);
    patch_test::ExecuteSql(path, "ALTER TABLE FILMY RENAME COLUMN JEST TO JEST_OLD");
    const auto before = FileBytes(path);
    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.output, "a.mdb: tabela FILMY nie daje się uaktualnić: tabela FILMY nie ma pola JEST\n");
    // The run agrees, and tells the same cause after the window's message.
    const auto run = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("  Wystąpił nieznany błąd konwersji dla bazy: a.mdb tabela: FILMY\n"
                              "  -> błąd konwersji, baza pozostała bez zmian: tabela FILMY nie ma pola JEST\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(FileBytes(path), before);
}

// Holds a write lock on a catalogue, as another program would.
class HeldLock {
public:
    explicit HeldLock(const std::string& path)
    {
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        EXPECT_EQ(sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~HeldLock() { sqlite3_close_v2(db_); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    sqlite3* db_ = nullptr;
};

TEST(PatchCli, EveryFileThatIsLeftAloneGetsItsCauseInPolish)
{
    CatalogueFolder folder;
    folder.Add("a-dobra.mdb", Level::ReadyYesNo, 5, 2);
    // Another tool's index on a field the upgrade deletes.
    patch_test::ExecuteSql(folder.Add("b-indeks.mdb", Level::ReadyYesNo, 5, 2),
                           "CREATE INDEX moj_indeks ON FILMY(OCENA)");
    {
        std::string jet("\x00\x01\x00\x00Standard ACE DB\x00", 20);
        jet.resize(2048, '\x41');
        std::ofstream(folder.PathOf("c-access.mdb"), std::ios::binary) << jet;
    }
    const auto locked = folder.Add("d-zablokowana.mdb", Level::ReadyYesNo, 5, 2);
    // SQLite's journal would get a name of 262 bytes.
    const std::string longName = std::string(250, 'e') + ".mdb";
    std::filesystem::rename(folder.Add("e.mdb", Level::ReadyYesNo, 5, 2), folder.PathOf(longName));
    const auto lineBreak = folder.Add("f-nowa\nlinia.mdb", Level::ReadyYesNo, 5, 2);
    const auto lineBreakBefore = FileBytes(lineBreak);

    const HeldLock lock(locked);
    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    const auto run = RunCli(Quoted(folder.Folder()));

    EXPECT_EQ(check.status, 1);
    for (const char* line :
         {"c-access.mdb: nie daje się otworzyć: plik bazy Access/Jet, nie katalog w formacie SQLite tego programu\n",
          "d-zablokowana.mdb: nie daje się otworzyć: plik jest zablokowany przez inny program\n",
          ": wymaga uaktualnienia, którego nie da się wykonać: nazwa pliku jest za długa",
          "f-nowa\\nlinia.mdb: pominięta: nazwa pliku zawiera znak końca wiersza"})
        EXPECT_NE(check.output.find(line), std::string::npos) << line << "\n" << check.output;

    EXPECT_EQ(run.status, 1);
    const std::string failed = "  -> nie udało się otworzyć lub zapisać bazy, pozostała bez zmian: ";
    const std::string conversion = "  -> błąd konwersji, baza pozostała bez zmian: ";
    for (const std::string& line : std::vector<std::string>{
             "  -> uaktualniona\n",
             conversion +
                 "indeks „moj_indeks” na polu OCENA, założony poza tym programem, nie pozwala usunąć pola z tabeli "
                 "FILMY; usuń ten indeks i uruchom program ponownie\n",
             failed + "plik bazy Access/Jet, nie katalog w formacie SQLite tego programu\n",
             failed + "plik jest zablokowany przez inny program\n", conversion + "nazwa pliku jest za długa",
             "f-nowa\\nlinia.mdb\n  -> pominięta: nazwa pliku zawiera znak końca wiersza",
             "Podsumowanie: 6 baz: 1 uaktualniona lub już uaktualniona, 0 bez tabeli FILMY, 5 zgłoszonych lub "
             "nieudanych\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
    EXPECT_EQ(FileBytes(lineBreak), lineBreakBefore);
}

TEST(PatchCli, FolderThatCannotBeSearchedIsAUsageError)
{
    CatalogueFolder folder;
    const std::string missing = folder.PathOf("brak");
    auto result = RunCli(Quoted(missing));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.output, "Folder „" + missing + "” nie istnieje.\n");

    const auto file = folder.Add("a.mdb", Level::ReadyYesNo, 3, 1);
    result = RunCli("--check " + Quoted(file));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.output, "„" + file + "” nie jest folderem.\n");
}

TEST(PolishCount, AgreesWithItsNumber)
{
    const cli::PolishForms bases{"baza", "bazy", "baz"};
    const std::pair<long long, const char*> expected[] = {
        {0, "0 baz"},     {1, "1 baza"},     {2, "2 bazy"},    {4, "4 bazy"},    {5, "5 baz"},    {11, "11 baz"},
        {12, "12 baz"},   {14, "14 baz"},    {21, "21 baz"},   {22, "22 bazy"},  {24, "24 bazy"}, {25, "25 baz"},
        {101, "101 baz"}, {102, "102 bazy"}, {112, "112 baz"}, {122, "122 bazy"}};
    for (const auto& [number, text] : expected) EXPECT_EQ(cli::PolishCount(number, bases), text);
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

TEST(PatchCli, AccessFileOptionTakesTheAccessFileThenTheNewOneAndNothingElse)
{
    std::string error;
    auto options = cli::ParseOptions({"--przenies-z-access", "stary.mdb", "nowy.mdb"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->accessFile, "stary.mdb");
    EXPECT_EQ(options->newFile, "nowy.mdb");
    EXPECT_FALSE(cli::ParseOptions({"--przenies-z-access", "stary.mdb"}, error));
    EXPECT_FALSE(cli::ParseOptions({"--przenies-z-access", "a.mdb", "b.mdb", "folder"}, error));
    EXPECT_FALSE(cli::ParseOptions({"--check", "--przenies-z-access", "a.mdb", "b.mdb"}, error));
    const auto help = RunCli("--help").output;
    const auto line = help.find("--przenies-z-access PLIK_ACCESS NOWY_PLIK\n");
    ASSERT_NE(line, std::string::npos);
    EXPECT_NE(help.find("Access", line + 20), std::string::npos);
}

TEST(PatchCli, CarriesAnAccessCatalogueIntoANewFileThatItUpgradesThen)
{
    CatalogueFolder folder;
    const auto access = folder.Folder() + "stary.access";
    sample::SampleOptions options;
    options.films = 30;
    options.loans = 10;
    options.format = sample::FileFormat::Access;
    sample::WriteSampleCatalogue(access, options);
    const auto before = FileBytes(access);

    const auto target = folder.Folder() + "nowy.mdb";
    auto result = RunCli("--przenies-z-access " + Quoted(access) + " " + Quoted(target));
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("-> przeniesiony: 3 tabele, 45 wierszy"), std::string::npos) << result.output;
    EXPECT_EQ(FileBytes(access), before);  // only read

    // Never over a file, not even its own result.
    result = RunCli("--przenies-z-access " + Quoted(access) + " " + Quoted(target));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("-> nieprzeniesiony: plik " + target + " już istnieje"), std::string::npos)
        << result.output;

    result = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("-> uaktualniona"), std::string::npos) << result.output;

    result = RunCli("--przenies-z-access " + Quoted(target) + " " + Quoted(folder.Folder() + "x.mdb"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("-> nieprzeniesiony: to nie jest plik bazy Access"), std::string::npos);
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
