// The dataset: statement, parameters, rows, edit, insert and post.
#include "NotesError.h"
#include "NotesFixture.h"

#include <gtest/gtest.h>

using namespace tavlo;
using notes::Dataset;
using notes::NotesError;

TEST(Dataset, WalksRowsAndWritesEditedAndInsertedRowsBack) {
    test::NotesFixture f;
    Dataset& q = f.dm->qryData;
    q.setSQL(" select * from UserCon where conIndex >= :from order by conIndex ");
    q.setParam(":from", QStringLiteral("2"));
    q.Open();
    EXPECT_EQ(q.RecordCount(), 0);
    EXPECT_TRUE(q.Eof());

    for (const char* key : {"20200101", "20200102"}) {
        q.Insert();
        EXPECT_EQ(q.state(), Dataset::State::Insert);
        q.setValue("conIndex", QString::fromLatin1(key));
        q.setValue("data", QByteArray("note ") + key);
        q.Post();
    }
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.state(), Dataset::State::Browse);

    q.Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.fieldNames(), (QStringList{"conIndex", "data"}));
    q.Next();
    EXPECT_EQ(q.RecNo(), 1);
    q.Edit();
    q.setValue("data", QByteArray("changed"));
    EXPECT_EQ(q.blob("data"), "changed");
    q.Post();
    EXPECT_EQ(f.sql("select data from UserCon where conIndex = '20200102'"), "changed");
    EXPECT_EQ(f.sql("select data from UserCon where conIndex = '20200101'"), "note 20200101");

    // Cancel drops the pending change.
    q.Edit();
    q.setValue("data", QByteArray("dropped"));
    q.Cancel();
    EXPECT_EQ(q.blob("data"), "changed");
}

TEST(Dataset, ValuesAreBoundNeverSplicedIntoTheStatement) {
    test::NotesFixture f;
    Dataset& q = f.dm->qryData;
    q.setSQL("select * from UserCon where conIndex = :key");
    q.setParam(":key", QStringLiteral("x' or '1'='1"));
    q.Open();
    q.Insert();
    q.setValue("conIndex", QStringLiteral("it's; drop table UserCon; --"));
    q.setValue("data", QByteArray("a\0b", 3));
    q.Post();

    q.Open();
    EXPECT_EQ(q.RecordCount(), 0) << "the quote matched more than its own text";
    q.setParam(":key", QStringLiteral("it's; drop table UserCon; --"));
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.blob("data"), QByteArray("a\0b", 3));
}

TEST(Dataset, EmptyBytesAreStoredAsAnEmptyBlobNotNull) {
    test::NotesFixture f;
    Dataset& q = f.dm->qryData;
    q.setSQL("select * from tb_A where ID = 1");
    q.Open();
    q.Edit();
    q.setValue("MondayCon", QByteArray());
    q.Post();
    EXPECT_EQ(f.sql("select typeof(MondayCon) from tb_A"), "blob");
    EXPECT_EQ(f.sql("select typeof(TuesdayCon) from tb_A"), "null");
}

TEST(Dataset, MisuseIsAnErrorNotAWrongWrite) {
    test::NotesFixture f;
    Dataset& q = f.dm->qryData;
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"a parameter the statement lacks",
         [&] {
             q.setSQL("select * from tb_A");
             q.clearParams();
             q.setParam(":nothing", 1);
             q.Open();
         }},
        {"editing a result that is not one table's rows",
         [&] {
             q.clearParams();
             q.setSQL("select count(*) from UserCon");
             q.Open();
             q.Edit();
         }},
        {"setting a value while browsing",
         [&] {
             q.setSQL("select * from tb_A");
             q.Open();
             q.setValue("MondayCon", QByteArray("x"));
         }},
        {"an unknown column",
         [&] {
             q.setSQL("select * from tb_A");
             q.Open();
             (void)q.value("SundayCon");
         }},
        {"editing past the last row",
         [&] {
             q.setSQL("select * from tb_A where ID = 7");
             q.Open();
             q.Edit();
         }},
        {"a statement SQLite rejects",
         [&] {
             q.setSQL("select * from tb_Z");
             q.Open();
         }},
        {"reading a closed query",
         [&] {
             q.Close();
             (void)q.blob("MondayCon");
         }},
    };
    for (const auto& [what, action] : cases) EXPECT_THROW(action(), NotesError) << what;
}

TEST(Dataset, PostingARowThatAnotherConnectionDeletedFails) {
    test::NotesFixture f;
    Dataset& q = f.dm->qryData;
    q.setSQL("select * from tb_C where ID = 1");
    q.Open();
    q.Edit();
    q.setValue("FridayCon", QByteArray("late"));
    f.sql("delete from tb_C");
    EXPECT_THROW(q.Post(), NotesError);
    EXPECT_EQ(f.sql("select count(*) from tb_C"), "0");
}
