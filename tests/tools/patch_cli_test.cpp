// The command-line runner as support staff and scripts use it: its output,
// its exit status, and the files it leaves.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "app/cli/cli_options.h"
#include "app/cli/polish_count.h"
#include "patch/failure_cause.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/command_run.h"
#include "tests/support/sqlite_file.h"
#include "tools/sample/sample_catalogue.h"

namespace {

using patch_test::CatalogueFolder;
using patch_test::FileBytes;
using sample::Level;

test_support::CommandResult RunCli(const std::string& arguments)
{
    return test_support::RunCommand(std::string(VK_PATCH_CLI) + " " + arguments);
}

std::string Quoted(const std::string& path)
{
    return test_support::ShellQuoted(path);
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
    EXPECT_NE(
        result.output.find("d.mdb: nie daje się otworzyć: to nie jest plik bazy danych: przenieś go z tego folderu\n"),
        std::string::npos);
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(FileBytes(paths[i]), before[i]);
}

TEST(PatchCli, CheckNamesWhatIsWrongWithADamagedFilmsTable)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 5, 2);
    test_support::ExecuteSql(path, "ALTER TABLE FILMY RENAME COLUMN JEST TO JEST_OLD");
    const auto before = FileBytes(path);
    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    EXPECT_EQ(check.status, 1);
    const std::string cause = "tabela FILMY nie ma pola JEST: plik zmienił inny program; odtwórz go z kopii zapasowej";
    EXPECT_EQ(check.output, "a.mdb: tabela FILMY nie daje się uaktualnić: " + cause + "\n");
    // The run agrees, and tells the same cause after the window's message.
    const auto run = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("  Wystąpił nieznany błąd konwersji dla bazy: a.mdb tabela: FILMY\n"
                              "  -> błąd konwersji, baza pozostała bez zmian: " +
                              cause + "\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(FileBytes(path), before);
}

TEST(PatchCli, EveryFileThatIsLeftAloneGetsItsCauseInPolish)
{
    CatalogueFolder folder;
    folder.Add("a-dobra.mdb", Level::ReadyYesNo, 5, 2);
    // Another tool's index on a field the upgrade deletes.
    test_support::ExecuteSql(folder.Add("b-indeks.mdb", Level::ReadyYesNo, 5, 2),
                             "CREATE INDEX moj_indeks ON FILMY(OCENA)");
    {
        std::string jet("\x00\x01\x00\x00Standard ACE DB\x00", 20);
        jet.resize(2048, '\x41');
        std::ofstream(folder.PathOf("c-access.mdb"), std::ios::binary) << jet;
    }
    const auto locked = folder.Add("d-zablokowana.mdb", Level::ReadyYesNo, 5, 2);
    // A name of 254 bytes: its journal's would be too long, but the file is
    // written anew beside it under a short name and renamed, with no journal.
    const std::string longName = std::string(250, 'e') + ".mdb";
    std::filesystem::rename(folder.Add("e.mdb", Level::ReadyYesNo, 5, 2), folder.PathOf(longName));
    const auto lineBreak = folder.Add("f-nowa\nlinia.mdb", Level::ReadyYesNo, 5, 2);
    const auto lineBreakBefore = FileBytes(lineBreak);

    // A write lock on d, as another program would hold it.
    test_support::SqliteFile lock(locked, test_support::SqliteFile::Mode::ReadWrite);
    lock.exec("BEGIN EXCLUSIVE");
    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    const auto run = RunCli(Quoted(folder.Folder()));

    EXPECT_EQ(check.status, 1);
    for (const std::string& line : std::vector<std::string>{
             "c-access.mdb: nie daje się otworzyć: plik Access 2007 lub nowszy (format ACE), którego ten program nie "
             "przenosi\n",
             "d-zablokowana.mdb: nie daje się otworzyć: plik jest zablokowany przez inny program: zamknij go i uruchom "
             "program ponownie\n",
             longName + ": wymaga uaktualnienia\n",
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
             "c-access.mdb\n" + failed + "plik Access 2007 lub nowszy (format ACE), którego ten program nie przenosi\n",
             failed + "plik jest zablokowany przez inny program: zamknij go i uruchom program ponownie\n",
             longName + "\n  FILMY: 1/5\n",
             "f-nowa\\nlinia.mdb\n  -> pominięta: nazwa pliku zawiera znak końca wiersza",
             "Podsumowanie: 6 baz: 2 uaktualnione lub już uaktualnione, 0 bez tabeli FILMY, 4 zgłoszone lub "
             "nieudane\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
    EXPECT_EQ(FileBytes(lineBreak), lineBreakBefore);
}

// The lines that tell a file's end: the run's "  -> ..." and the check's "name: ...".
std::vector<std::string> OutcomeLines(const std::string& output)
{
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  -> ", 0) == 0)
            lines.push_back(line.substr(5));
        else if (const auto colon = line.find(".mdb: "); colon != std::string::npos && line.rfind("  ", 0) != 0)
            lines.push_back(line.substr(colon + 6));
    }
    return lines;
}

// The cause the check gives a file, and the cause the run gives it.
std::string CheckCause(const std::string& output, const std::string& name)
{
    const std::string prefix = name + ": wymaga uaktualnienia, którego nie da się wykonać: ";
    const auto at = output.find(prefix);
    if (at == std::string::npos) return "(no refusal foreseen)";
    const auto from = at + prefix.size();
    return output.substr(from, output.find('\n', from) - from);
}

std::string RunCause(const std::string& output, const std::string& name)
{
    const auto block = output.find(name + "\n");
    const std::string prefix = "  -> błąd konwersji, baza pozostała bez zmian: ";
    const auto at = block == std::string::npos ? block : output.find(prefix, block);
    if (at == std::string::npos) return "(not refused)";
    const auto from = at + prefix.size();
    return output.substr(from, output.find('\n', from) - from);
}

// Every refusal the file's own structure causes, the check foresees with the
// run's own cause; neither changes the file.
TEST(PatchCli, CheckForeseesEveryRefusalOfTheFilesOwnStructure)
{
    CatalogueFolder folder;
    struct Case {
        const char* name;
        const char* sql;
        std::string cause;
    };
    const Case cases[] = {
        {"indeks.mdb", "CREATE INDEX moj_indeks ON FILMY(OCENA)",
         "indeks „moj_indeks” na polu OCENA, założony poza tym programem, nie pozwala usunąć pola z tabeli FILMY; "
         "usuń ten indeks i uruchom program ponownie"},
        {"widok.mdb", "ALTER TABLE FILMY ADD COLUMN MOJE TEXT(50); CREATE VIEW V2 AS SELECT T_ORG, MOJE FROM FILMY",
         "widok V2 odwołuje się do pola MOJE, którego nowa struktura nie ma: usuń lub popraw widok"},
        {"wyzwalacz.mdb",
         "CREATE TABLE LOG(W TEXT); CREATE TRIGGER T1 AFTER UPDATE ON WYPOZYCZ BEGIN INSERT INTO LOG "
         "VALUES(new.KASUJ + old.ID_OSOBY); END; CREATE TRIGGER T2 AFTER DELETE ON WYPOZYCZ BEGIN "
         "INSERT INTO LOG VALUES(old.UWAGI); END; ALTER TABLE WYPOZYCZ ADD COLUMN UWAGI TEXT",
         ""},
        {"pole.mdb", "ALTER TABLE FILMY ADD COLUMN MOJE TEXT(50); UPDATE FILMY SET MOJE = 'moje ' || rowid",
         patch::UncarriedFieldCause("FILMY", "MOJE")},
    };
    std::vector<std::string> before;
    for (const auto& c : cases) {
        const auto path = folder.Add(c.name, Level::ReadyYesNo, 8, 3);
        test_support::ExecuteSql(path, c.sql);
        before.push_back(FileBytes(path));
    }
    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    const auto run = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(run.status, 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const auto foreseen = CheckCause(check.output, c.name);
        EXPECT_EQ(foreseen, RunCause(run.output, c.name)) << c.name << "\n" << check.output << run.output;
        if (!c.cause.empty()) {
            EXPECT_EQ(foreseen, c.cause) << c.name;
        }
        EXPECT_EQ(FileBytes(folder.PathOf(c.name)), before[i]) << c.name;
    }
    EXPECT_EQ(CheckCause(check.output, "wyzwalacz.mdb"),
              "wyzwalacz T2 odwołuje się do pola UWAGI, którego nowa struktura nie ma: usuń lub popraw wyzwalacz");
}

// Words of English that a sentence of it cannot do without; Polish has none of them.
bool HasEnglish(const std::string& text, std::string& word)
{
    static const std::set<std::string> english = {
        "the",    "is",     "are",        "was",       "not",   "cannot",  "could",   "such",   "file",   "directory",
        "error",  "failed", "unable",     "database",  "disk",  "full",    "locked",  "denied", "view",   "trigger",
        "column", "table",  "longer",     "works",     "with",  "of",      "for",     "and",    "or",     "from",
        "has",    "have",   "into",       "this",      "that",  "which",   "read",    "only",   "write",  "open",
        "found",  "no",     "permission", "operation", "value", "invalid", "unknown", "out",    "memory", "busy"};
    std::string plain;
    int depth = 0;
    for (const char c : text) {
        if (c == '(') ++depth;
        if (depth == 0) plain += c;
        if (c == ')' && depth > 0) --depth;
    }
    std::istringstream in(plain);
    for (std::string token; in >> token;) {
        if (token.find('/') != std::string::npos) continue;  // a path
        std::string letters;
        for (const char c : token + " ") {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                letters += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            } else if (!letters.empty()) {
                if (english.contains(letters)) {
                    word = letters;
                    return true;
                }
                letters.clear();
            }
        }
    }
    return false;
}

TEST(PatchCli, HasEnglishFindsASentenceOfItOutsideTheParentheses)
{
    std::string word;
    EXPECT_TRUE(HasEnglish("błąd: The view 'V2' no longer works", word));
    EXPECT_TRUE(HasEnglish("Nie można utworzyć folderu /tmp/x: No such file or directory", word));
    EXPECT_FALSE(HasEnglish("błąd silnika (komunikat silnika: no such column: X (nested))", word));
    EXPECT_FALSE(HasEnglish("plik bazy Access/Jet, nie katalog w formacie SQLite tego programu", word));
}

// Every failure of a file the suite knows, in one folder: every cause that the
// run and the check print is Polish outside its parenthesised detail.
TEST(PatchCli, NoCauseHasEnglishOutsideItsParentheses)
{
    CatalogueFolder folder;
    const auto add = [&](const std::string& name, Level level, const std::string& sql) {
        const auto path = folder.Add(name, level, 8, 3);
        if (!sql.empty()) test_support::ExecuteSql(path, sql);
        return path;
    };
    add("a-indeks.mdb", Level::ReadyYesNo, "CREATE INDEX moj_indeks ON FILMY(OCENA)");
    add("b-dwa-indeksy.mdb", Level::ReadyYesNo,
        "CREATE INDEX i1 ON FILMY(OCENA); CREATE INDEX i2 ON FILMY(KRAJ, ROK_PROD)");
    add("c-widok.mdb", Level::ReadyYesNo,
        "ALTER TABLE FILMY ADD COLUMN MOJE TEXT; CREATE VIEW V2 AS SELECT MOJE FROM FILMY");
    add("d-wyzwalacz.mdb", Level::ReadyLong,
        "CREATE TABLE LOG(W TEXT); ALTER TABLE WYPOZYCZ ADD COLUMN UWAGI TEXT; CREATE TRIGGER T1 AFTER DELETE ON "
        "WYPOZYCZ BEGIN INSERT INTO LOG VALUES(old.UWAGI); END");
    add("e-pole.mdb", Level::ReadyLong, "ALTER TABLE WYPOZYCZ ADD COLUMN UWAGI TEXT; UPDATE WYPOZYCZ SET UWAGI = 'x'");
    add("f-bajty.mdb", Level::ReadyYesNo, "UPDATE FILMY SET T_ORG = CAST(X'C328414243' AS TEXT) WHERE rowid = 3");
    add("g-dlugi.mdb", Level::ReadyYesNo, "UPDATE FILMY SET CZAS = '12345678901234' WHERE rowid = 2");
    add("h-jest.mdb", Level::ReadyYesNo, "UPDATE FILMY SET JEST = NULL WHERE rowid = 4");
    add("i-bez-jest.mdb", Level::ReadyYesNo, "ALTER TABLE FILMY RENAME COLUMN JEST TO JEST_OLD");
    add("j-patch.mdb", Level::NoSubtype, "");
    add("k-bez-wypozycz.mdb", Level::NoLoans, "");
    add("l-widok-wypozycz.mdb", Level::NoLoans,
        "CREATE VIEW WYPOZYCZ AS SELECT abs(-9223372036854775807 - 1) AS FILM_ID");
    add("m-liczba.mdb", Level::ReadyYesNo, "UPDATE FILMY SET ROK_PROD = 99999999999 WHERE rowid = 5");
    {
        std::string jet("\x00\x01\x00\x00Standard Jet DB\x00", 20);
        jet.resize(2048, '\x41');
        std::ofstream(folder.PathOf("n-access.mdb"), std::ios::binary) << jet;
        std::ofstream(folder.PathOf("o-tekst.mdb"), std::ios::binary) << std::string(4096, 'x');
    }
    const auto damaged = add("p-uszkodzona.mdb", Level::ReadyYesNo, "");
    {
        std::fstream file(damaged, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096 + 100);
        file << std::string(3000, '\x7F');
    }
    const auto readOnly = add("r-tylko-do-odczytu.mdb", Level::ReadyYesNo, "");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const auto locked = add("s-zablokowana.mdb", Level::ReadyYesNo, "");
    std::filesystem::rename(add("t.mdb", Level::ReadyYesNo, ""), folder.PathOf(std::string(250, 't') + ".mdb"));
    add("u-nowa\nlinia.mdb", Level::ReadyYesNo, "");

    // A write lock on d, as another program would hold it.
    test_support::SqliteFile lock(locked, test_support::SqliteFile::Mode::ReadWrite);
    lock.exec("BEGIN EXCLUSIVE");
    for (const auto& arguments : {"--check " + Quoted(folder.Folder()), Quoted(folder.Folder())}) {
        const auto result = RunCli(arguments);
        const auto lines = OutcomeLines(result.output);
        EXPECT_GE(lines.size(), 19u) << result.output;
        for (const auto& line : lines) {
            std::string word;
            EXPECT_FALSE(HasEnglish(line, word)) << "„" << word << "” in: " << line;
        }
    }
}

// A folder that holds only a name the run cannot list: the count, the file's
// line and the summary agree, and no "nothing found" contradicts them.
TEST(PatchCli, FolderWithOnlyANameWithALineBreakIsCountedOnce)
{
    CatalogueFolder folder;
    folder.Add("nowa\nlinia.mdb", Level::ReadyYesNo, 3, 1);
    const auto run = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(": 1 baza\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("nowa\\nlinia.mdb\n  -> pominięta: nazwa pliku zawiera znak końca wiersza"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Nie odnaleziono"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Podsumowanie: 1 baza: 0 uaktualnionych lub już uaktualnionych, 0 bez tabeli FILMY, "
                              "1 zgłoszona lub nieudana\n"),
              std::string::npos)
        << run.output;
    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.output.find("Nie odnaleziono"), std::string::npos) << check.output;
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

// --check reads an Access catalogue's level and changes nothing; the run then
// names the kept original in its closing line.
TEST(PatchCli, AccessCataloguesAreCheckedThenMovedWithTheirOriginalNamed)
{
    CatalogueFolder folder;
    const auto ready = folder.AddAccess("a.mdb", Level::ReadyYesNo, 10, 4);
    const auto lacking = folder.AddAccess("b.mdb", Level::NoSubtype, 5, 2);
    folder.AddAccess("c.mdb", Level::Upgraded, 5, 2);
    folder.AddAccess("d.mdb", Level::NoFilms, 5, 0);
    const auto taken = folder.AddAccess("e.mdb", Level::ReadyLong, 5, 2);
    std::ofstream(taken + ".oryginal-access") << "inny plik";
    std::map<std::string, std::string> before;
    for (const char* name : {"a.mdb", "b.mdb", "c.mdb", "d.mdb", "e.mdb"})
        before[name] = FileBytes(folder.PathOf(name));

    const auto check = RunCli("--check " + Quoted(folder.Folder()));
    EXPECT_EQ(check.status, 1);
    const std::string moved =
        "plik w formacie Access: zostanie przeniesiony do formatu tego programu, a oryginał "
        "zachowany jako ";
    for (const std::string& line : std::vector<std::string>{
             "a.mdb: wymaga uaktualnienia: " + moved + "a.mdb.oryginal-access\n",
             "b.mdb: brak wcześniejszego patcha: Tabela FILMY wymaga patcha qlt_1.2.2.6-01_v.\n",
             "c.mdb: już uaktualniona: " + moved + "c.mdb.oryginal-access\n",
             "d.mdb: nie jest katalogiem (brak tabeli FILMY): plik w formacie Access\n",
             "e.mdb: wymaga uaktualnienia, którego nie da się wykonać: plik w formacie Access, a nazwa "
             "e.mdb.oryginal-access"})
        EXPECT_NE(check.output.find(line), std::string::npos) << line << "\n" << check.output;
    for (const auto& [name, bytes] : before) EXPECT_TRUE(FileBytes(folder.PathOf(name)) == bytes) << name;
    EXPECT_FALSE(std::filesystem::exists(ready + ".oryginal-access"));

    const auto run = RunCli(Quoted(folder.Folder()));
    EXPECT_EQ(run.status, 1);
    for (const std::string& line : std::vector<std::string>{
             "a.mdb\n  przenoszenie z formatu Access: ",
             "  -> przeniesiona z formatu Access i uaktualniona; oryginał w formacie Access zachowany jako "
             "a.mdb.oryginal-access\n",
             "  -> przeniesiona z formatu Access; była już uaktualniona; oryginał w formacie Access zachowany jako "
             "c.mdb.oryginal-access\n",
             "e.mdb\n  Wystąpił nieznany błąd konwersji dla bazy: e.mdb tabela: FILMY\n  -> błąd konwersji, baza "
             "pozostała bez zmian: nazwa e.mdb.oryginal-access, pod którą program zachowuje oryginał"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
    EXPECT_TRUE(FileBytes(ready + ".oryginal-access") == before["a.mdb"]);
    EXPECT_TRUE(FileBytes(lacking) == before["b.mdb"]);
    EXPECT_TRUE(FileBytes(taken) == before["e.mdb"]);
    EXPECT_EQ(test_support::IntegrityCheck(ready), "ok");
}

TEST(PatchCli, OptionOffGivesZeroIdCd)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 10, 5);
    EXPECT_EQ(RunCli("--nie-zachowuj-id-cd " + Quoted(folder.Folder())).status, 0);
    EXPECT_EQ(test_support::QueryRows(path, "SELECT count(*) FROM FILMY WHERE ID_CD <> 0")[0][0], "0");
    EXPECT_EQ(test_support::QueryRows(path, "SELECT count(*) FROM WYPOZYCZ WHERE ID_CD <> 0")[0][0], "0");
}

}  // namespace
