// SQLite rolls a transaction back by itself after some I/O errors. The writes
// that follow must not then commit one by one, or a failed upgrade would keep
// its second half.

#include <gtest/gtest.h>

#include "db/engine/database_file.h"
#include "tests/reliability/fault_vfs.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/sqlite_file.h"

namespace {

TEST(DroppedTransaction, LaterWritesAreRefusedAndNothingIsKept)
{
    reliability::FaultVfs vfs;
    patch_test::CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", sample::Level::ReadyYesNo, 10, 5);
    const auto before = test_support::DumpContent(path);
    {
        const auto file = engine::DatabaseFile::open(path);
        file->beginTransaction();
        vfs.Arm({1, reliability::FaultKind::IoError});  // the first journal write
        EXPECT_ANY_THROW(file->execute("DELETE FROM \"WYPOZYCZ\""));
        vfs.Disarm();
        ASSERT_EQ(vfs.Faults(), 1);
        EXPECT_ANY_THROW(file->execute("DELETE FROM \"FILMY\""));
        EXPECT_TRUE(file->inTransaction()) << "the caller still has a transaction to roll back";
        EXPECT_NO_THROW(file->rollbackTransaction());
        EXPECT_FALSE(file->inTransaction());
    }
    EXPECT_EQ(test_support::DumpContent(path), before);
}

}  // namespace
