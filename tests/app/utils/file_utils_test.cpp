#include "app/files/file_utils.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/files/file_mask.h"
#include "app/files/folder_check.h"

namespace fs = std::filesystem;

namespace {

// A temporary folder with shorthands for the entries the listing tests need.
class TempFolder : public test_support::TempFolder {
public:
    std::string Folder() const { return folder(); }
    fs::path Path(const std::string& name) const { return *this / name; }
    void File(const std::string& name) const { std::ofstream(Path(name)) << "x"; }
    void Folder(const std::string& name) const { fs::create_directory(Path(name)); }
};

}  // namespace

TEST(ListFiles, ListsHiddenAndReadOnlyEntriesButNotPlainFolders)
{
    TempFolder dir;
    dir.File("filmy.mdb");
    dir.File(".kopia.mdb");
    dir.File("ro.mdb");
    fs::permissions(dir.Path("ro.mdb"), fs::perms::owner_read);
    dir.Folder("x.mdb");
    dir.Folder(".ukryty.mdb");
    dir.Folder("ro-dir.mdb");
    fs::permissions(dir.Path("ro-dir.mdb"), fs::perms::owner_read | fs::perms::owner_exec);
    dir.File("notatki.txt");
    dir.File("filmy.mdb.bak");

    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), "filmy.mdb"), 32u);
    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), ".kopia.mdb"), 34u);
    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), "ro.mdb"), 33u);
    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), "x.mdb"), 16u);
    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), ".ukryty.mdb"), 18u);
    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), "ro-dir.mdb"), 17u);
    // Only a folder with no further bit is left out.
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "*.mdb", false),
              ".kopia.mdb\r\n.ukryty.mdb\r\nfilmy.mdb\r\nro-dir.mdb\r\nro.mdb\r\n");
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "*.mdb", true), ".kopia\r\n.ukryty\r\nfilmy\r\nro-dir\r\nro\r\n");
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "*.xls", false), "");
}

TEST(ListFiles, SymbolicLinksCountAsWhatTheyPointToAndSpecialFilesAreLeftOut)
{
    TempFolder dir;
    dir.File("target.dat");
    dir.Folder("folder");
    fs::create_symlink(dir.Path("target.dat"), dir.Path("plik.mdb"));
    fs::create_symlink(dir.Path("folder"), dir.Path("katalog.mdb"));
    fs::create_symlink(dir.Path("missing"), dir.Path("zerwany.mdb"));
    ASSERT_EQ(mkfifo(dir.Path("potok.mdb").c_str(), 0644), 0);

    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), "katalog.mdb"), 16u);
    EXPECT_EQ(utils::FileAttributeWord(dir.Folder(), "potok.mdb"), 0u);
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "*.mdb", false), "plik.mdb\r\nzerwany.mdb\r\n");
}

TEST(ListFiles, MatchesAndOrdersIgnoringLetterCase)
{
    TempFolder dir;
    dir.File("FILMY.MDB");
    dir.File("Zeta.mdb");
    dir.File("alfa.Mdb");
    dir.File("a_b.mdb");
    dir.File("ab.mdb");
    dir.File("ŻÓŁW.MDB");

    // Compared upper-cased, as NTFS keeps names: 'B' and 'L' sort before '_'.
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "*.mdb", false),
              "ab.mdb\r\nalfa.Mdb\r\na_b.mdb\r\nFILMY.MDB\r\nZeta.mdb\r\nŻÓŁW.MDB\r\n");
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "żółw.*", true), "ŻÓŁW\r\n");
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "filmy.mdb", false), "FILMY.MDB\r\n");
}

TEST(ListFiles, MissingOrNonFolderGivesEmptyText)
{
    TempFolder dir;
    dir.File("plik.mdb");
    EXPECT_EQ(utils::ListFiles(dir.Folder() + "brak/", "*.mdb", false), "");
    EXPECT_EQ(utils::ListFiles(dir.Folder() + "plik.mdb/", "*", false), "");
    // The mask may name a sub-folder, as the joined pattern would on Windows.
    dir.Folder("sub");
    dir.File("sub/w.mdb");
    EXPECT_EQ(utils::ListFiles(dir.Folder(), "sub/*.mdb", false), "w.mdb\r\n");
}

TEST(ListFiles, UnreadableFolderGivesEmptyText)
{
    if (geteuid() == 0) GTEST_SKIP() << "root reads any folder";
    TempFolder dir;
    dir.Folder("zamkniety");
    dir.File("zamkniety/a.mdb");
    fs::permissions(dir.Path("zamkniety"), fs::perms::none);
    EXPECT_EQ(utils::ListFiles(dir.Folder() + "zamkniety/", "*.mdb", false), "");
    fs::permissions(dir.Path("zamkniety"), fs::perms::owner_all);
}

TEST(FileMask, StarAndQuestionMark)
{
    EXPECT_TRUE(utils::MatchesFileMask("filmy.mdb", "film?.mdb"));
    EXPECT_FALSE(utils::MatchesFileMask("filmyy.mdb", "film?.mdb"));
    EXPECT_FALSE(utils::MatchesFileMask("film.mdb", "film?.mdb"));
    EXPECT_FALSE(utils::MatchesFileMask("a.mdbx", "*.mdb"));
    EXPECT_TRUE(utils::MatchesFileMask("aXbYaZb", "*a*b"));
    // A pathological mask must not take exponential time.
    EXPECT_FALSE(utils::MatchesFileMask(std::string(200, 'a'), "*a*a*a*a*a*a*a*a*b"));
}

TEST(RemoveFileExt, CutsAtTheLastDot)
{
    EXPECT_EQ(utils::RemoveFileExt("filmy.mdb"), "filmy");
    EXPECT_EQ(utils::RemoveFileExt("a.b.mdb"), "a.b");
    EXPECT_EQ(utils::RemoveFileExt("name."), "name");
    EXPECT_EQ(utils::RemoveFileExt(".mdb"), "");
    EXPECT_EQ(utils::RemoveFileExt("bez"), "bez");
    EXPECT_EQ(utils::RemoveFileExt(""), "");
}

TEST(FolderProblem, NamesTheFolderThatCannotBeSearched)
{
    TempFolder dir;
    dir.File("plik.mdb");
    EXPECT_EQ(utils::FolderProblem(dir.Folder()), std::nullopt);
    EXPECT_EQ(utils::FolderProblem(dir.Path("brak").string()),
              "Folder „" + dir.Path("brak").string() + "” nie istnieje.");
    EXPECT_EQ(utils::FolderProblem(dir.Path("plik.mdb").string()),
              "„" + dir.Path("plik.mdb").string() + "” nie jest folderem.");
    EXPECT_NE(utils::FolderProblem(""), std::nullopt);
    if (::geteuid() != 0) {
        dir.Folder("zamkniety");
        fs::permissions(dir.Path("zamkniety"), fs::perms::owner_write);
        EXPECT_EQ(utils::FolderProblem(dir.Path("zamkniety").string()),
                  "Brak uprawnień do odczytu folderu „" + dir.Path("zamkniety").string() + "”.");
        fs::permissions(dir.Path("zamkniety"), fs::perms::owner_all);
    }
}
