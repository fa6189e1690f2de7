// A new file whose pages are read back through mapped windows while it is
// written: the same bytes as the file written with the system's calls alone.

#include "db/engine/mapped_reads.h"
#include "db/engine/sqlite_handle.h"
#include "engine_test_support.h"

#include <fstream>
#include <sstream>

using engine::detail::execSql;
using engine::detail::SqliteHandle;
using engine::detail::Statement;
using engine::detail::StatementUse;

namespace {

bool mappedNow(const std::string& path)
{
    std::ifstream maps("/proc/self/maps");
    std::stringstream text;
    text << maps.rdbuf();
    return text.str().find(path) != std::string::npos;
}

// Many pages more than the windows hold and than the page cache keeps, so that
// pages written earlier are read again through windows mapped while the file
// was shorter; indexes built after the rows, rows deleted, the freed pages
// used again. Whether the file was mapped while it was read is told by seen.
std::string writeFile(const std::string& path, const char* vfs, bool& seen)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs);
    SqliteHandle db(raw);
    EXPECT_EQ(rc, SQLITE_OK);
    // The system's VFS would map the file whole if asked to.
    execSql(db.get(), vfs ? "PRAGMA mmap_size=1073741824" : "PRAGMA mmap_size=0");
    execSql(db.get(),
            "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
            "PRAGMA cache_size=-256; BEGIN;"
            "CREATE TABLE t(a INTEGER, b TEXT, c BLOB);"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000) "
            "INSERT INTO t SELECT i, printf('%08d', i * 7919 % 12007), zeroblob(300 + i % 500) FROM n;"
            "CREATE INDEX tb ON t(b); CREATE INDEX tc ON t(length(c), a);"
            "DELETE FROM t WHERE a % 3 = 0;"
            "INSERT INTO t SELECT a + 20000, b || 'x', c FROM t WHERE a % 5 = 0;");
    {
        Statement scan(db.get(), "SELECT sum(length(c)) FROM t INDEXED BY tb WHERE b > ''");
        StatementUse use(scan);
        EXPECT_TRUE(scan.step());
        seen = mappedNow(path);
    }
    execSql(db.get(), "COMMIT");
    Statement check(db.get(), "PRAGMA integrity_check");
    StatementUse use(check);
    EXPECT_TRUE(check.step());
    return check.columnString(0);
}

}  // namespace

TEST(MappedReads, FileWrittenWhileReadThroughWindowsIsTheFileWrittenWithoutThem)
{
    engine_test::TempDir dir;
    const std::string mapped = dir.file("mapped.db");
    const std::string plain = dir.file("plain.db");
    bool mappedSeen = false;
    bool plainSeen = false;
    EXPECT_EQ(writeFile(mapped, engine::detail::mappedReadsVfs(), mappedSeen), "ok");
    EXPECT_EQ(writeFile(plain, nullptr, plainSeen), "ok");
    EXPECT_TRUE(mappedSeen) << "the file was not read through a mapping";
    EXPECT_FALSE(plainSeen);
    EXPECT_FALSE(mappedNow(mapped)) << "a window outlived its file";
    EXPECT_EQ(test_support::FileBytes(mapped), test_support::FileBytes(plain));
}
