#include "storage/SQLiteTable3.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/Paths.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/DatabaseFiles.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::FileIn;
using testing::QueryRows;
using testing::RunScript;
using testing::TempFolder;

// The exception's message, or a failure when none is raised.
template <class Action>
std::string ErrorOf(Action&& action) {
    try {
        action();
    } catch (const ESQLiteException& e) {
        return e.what();
    }
    ADD_FAILURE() << "no ESQLiteException raised";
    return {};
}

class SQLiteLayer : public ::testing::Test {
protected:
    void SetUp() override {
        RunScript(file_,
                  "CREATE TABLE t(i INTEGER, b BOOLEAN, n NUMERIC, f FLOAT, d DOUBLE, r REAL, x BLOB, "
                  "s VARCHAR(20), lb boolean, lf float, u);"
                  "INSERT INTO t VALUES(7, 1, 2.5, -0.25, 1e20, 3, X'00414200', 'text', '42', '1.5', 5);"
                  "INSERT INTO t VALUES(NULL, NULL, NULL, NULL, NULL, NULL, X'', NULL, NULL, NULL, NULL);"
                  "CREATE TABLE nums(v INTEGER);"
                  "INSERT INTO nums VALUES(1),(2),(3);");
    }

    std::unique_ptr<TSQLiteTable> Query(const std::string& sql) { return TSQLiteDatabase(file_).GetTable(sql); }

    TempFolder folder_;
    std::string file_ = FileIn(folder_.Path(), "layer.sqlite");
};

TEST(SQLiteErrorText, KnownAndUnknownCodes) {
    EXPECT_EQ(SQLiteErrorText(0), "Successful result");
    EXPECT_EQ(SQLiteErrorText(5), "The database file is locked");
    EXPECT_EQ(SQLiteErrorText(19), "Abort due to contraint violation");
    EXPECT_EQ(SQLiteErrorText(26), "File opened that is not a database file");
    EXPECT_EQ(SQLiteErrorText(100), "sqlite3_step() has another row ready");
    EXPECT_EQ(SQLiteErrorText(101), "sqlite3_step() has finished executing");
    EXPECT_EQ(SQLiteErrorText(27), "Unknown SQLite Error Code \"27\"");
    EXPECT_EQ(SQLiteErrorText(-1), "Unknown SQLite Error Code \"-1\"");
}

TEST_F(SQLiteLayer, ColumnKindsComeFromTheExactDeclaredType) {
    auto table = Query("SELECT * FROM t");
    ASSERT_EQ(table->ColCount(), 11);
    EXPECT_EQ(table->RowCount(), 2);
    // The last column has no declared type: the first row's value decides.
    const TSQLiteKind expected[] = {skInteger, skInteger, skFloat, skFloat, skFloat,  skFloat,
                                    skBlob,    skText,    skText,  skText,  skInteger};
    for (int c = 0; c < 11; ++c) EXPECT_EQ(table->FieldKind(c), expected[c]) << "column " << c;
    EXPECT_EQ(Query("SELECT u || '' AS e FROM t")->FieldKind(0), skText);
}

TEST_F(SQLiteLayer, CellsOfTheFirstRow) {
    auto table = Query("SELECT * FROM t");
    ASSERT_TRUE(table->MoveFirst());
    EXPECT_EQ(table->FieldAsInteger(table->FieldIndex("i")), 7);
    EXPECT_EQ(table->FieldAsString("I"), "7");
    EXPECT_EQ(table->FieldAsString("b"), "1");
    EXPECT_DOUBLE_EQ(table->FieldAsDouble(table->FieldIndex("n")), 2.5);
    EXPECT_EQ(table->FieldAsInteger(table->FieldIndex("n")), 2);
    EXPECT_EQ(table->FieldAsInteger(table->FieldIndex("f")), 0);  // -0.25 truncated toward zero
    EXPECT_EQ(table->FieldAsString("f"), "-0.25");
    EXPECT_EQ(table->FieldAsString("d"), "1E20");
    EXPECT_EQ(table->FieldAsString("r"), "3");  // an integer value stored in a REAL column
    EXPECT_EQ(table->FieldAsBlob(table->FieldIndex("x")), std::string("\0AB\0", 4));
    EXPECT_EQ(table->FieldAsString("x"), std::string("\0AB\0", 4));
    EXPECT_EQ(table->FieldAsString("s"), "text");
    EXPECT_EQ(table->FieldAsString("u"), "5");
}

TEST_F(SQLiteLayer, NullCellsAreAbsentWhateverTheKind) {
    auto table = Query("SELECT * FROM t");
    ASSERT_TRUE(table->Next());
    for (const char* name : {"i", "b", "n", "f", "d", "r"}) {
        const int index = table->FieldIndex(name);
        EXPECT_EQ(table->FieldAsInteger(index), 0) << name;
        EXPECT_EQ(table->FieldAsDouble(index), 0.0) << name;
    }
    EXPECT_EQ(table->FieldAsString("i"), "0");
    EXPECT_EQ(table->FieldAsString("s"), "");
    // A zero-length blob has no stream.
    EXPECT_EQ(table->FieldAsBlob(table->FieldIndex("x")), "");
    EXPECT_EQ(table->FieldAsString("x"), "");
}

// Declared types compare as exact text. The engine itself reports the standard
// names INT, INTEGER, REAL, TEXT and BLOB upper-cased however they were written,
// so "integer" arrives as "INTEGER"; other names keep their letter case.
TEST_F(SQLiteLayer, LowerCaseTypeNamesReadAsText) {
    auto table = Query("SELECT lb, lf FROM t");
    EXPECT_EQ(table->FieldKind(0), skText);
    EXPECT_EQ(table->FieldKind(1), skText);
    EXPECT_EQ(table->FieldAsString("lb"), "42");
    EXPECT_EQ(table->FieldAsString("LF"), "1.5");
    EXPECT_EQ(ErrorOf([&] { table->FieldAsInteger(1); }), "Not an integer or numeric field");
    RunScript(file_, "CREATE TABLE lower(v integer); INSERT INTO lower VALUES(42);");
    EXPECT_EQ(Query("SELECT v FROM lower")->FieldKind(0), skInteger);  // reported as "INTEGER"
    EXPECT_EQ(ErrorOf([&] { table->FieldAsInteger(0); }), "Not an integer or numeric field");
    EXPECT_EQ(ErrorOf([&] { table->FieldAsDouble(0); }), "Not an integer or numeric field");
    EXPECT_EQ(ErrorOf([&] { table->FieldAsBlob(0); }), "Not a Blob field");
    EXPECT_EQ(ErrorOf([&] { Query("SELECT x FROM t")->FieldAsInteger(0); }), "Not an integer or numeric field");
}

TEST_F(SQLiteLayer, AggregatesTakeTheKindOfTheFirstValue) {
    auto sum = Query("SELECT SUM(v) AS total FROM nums");
    EXPECT_EQ(sum->FieldKind(0), skInteger);
    EXPECT_EQ(sum->FieldAsInteger(sum->FieldIndex("TOTAL")), 6);

    EXPECT_EQ(Query("SELECT SUM(v) * 0.5 FROM nums")->FieldKind(0), skFloat);
    EXPECT_EQ(Query("SELECT 'a' || v FROM nums")->FieldKind(0), skText);

    // SUM over no rows is NULL: the null kind, read as 0 and as an empty text.
    auto none = Query("SELECT SUM(v) AS total FROM nums WHERE v > 10");
    EXPECT_EQ(none->FieldKind(0), skNull);
    EXPECT_EQ(none->FieldAsInteger(0), 0);
    EXPECT_EQ(none->FieldAsString("total"), "");
}

TEST_F(SQLiteLayer, NullKindColumnConvertsLaterValuesThroughText) {
    auto table = Query("SELECT NULL AS v UNION ALL SELECT 2.75 UNION ALL SELECT -9 UNION ALL SELECT 'x'");
    ASSERT_EQ(table->RowCount(), 4);
    EXPECT_EQ(table->FieldKind(0), skNull);
    table->Next();
    EXPECT_EQ(table->FieldAsInteger(0), 2);
    EXPECT_EQ(table->FieldAsString("v"), "");
    EXPECT_EQ(ErrorOf([&] { table->FieldAsDouble(0); }), "Not an integer or numeric field");
    table->Next();
    EXPECT_EQ(table->FieldAsInteger(0), -9);
    table->Next();
    EXPECT_EQ(ErrorOf([&] { table->FieldAsInteger(0); }), "'x' is not a valid floating point value");
}

// Floats shown as text take the decimal separator the caller gives; the
// database routines give the process-wide locale's.
TEST_F(SQLiteLayer, FloatTextUsesTheCallersDecimalSeparator) {
    auto table = TSQLiteDatabase(file_, ",").GetTable("SELECT n, f FROM t");
    EXPECT_EQ(table->FieldAsString("n"), "2,5");
    EXPECT_EQ(table->FieldAsString("f"), "-0,25");
    EXPECT_EQ(Query("SELECT n FROM t")->FieldAsString("n"), "2.5");

    auto platform = std::make_unique<testing::FakeEnvironmentPlatform>();
    platform->locale.DecimalSeparator = ",";
    InstallEnvironment(std::move(platform));
    struct Uninstall {
        ~Uninstall() { UninstallEnvironment(); }
    } uninstall;
    EXPECT_EQ(DBGetTable(file_, "SELECT f FROM t")->FieldAsString("f"), "-0,25");
}

TEST_F(SQLiteLayer, BoundValuesOfEachKindTravelOutsideTheStatement) {
    TSQLiteDatabase db(file_);
    const std::string text = "it's \"quoted\"; DROP TABLE t; --";
    db.ExecSQL("INSERT INTO t(i, f, s, u) VALUES(?, ?, ?, ?)", {std::int64_t{-9}, 0.5, text, nullptr});
    auto table = db.GetTable("SELECT i, f, s, u IS NULL AS n FROM t WHERE s = ?", {text});
    ASSERT_EQ(table->RowCount(), 1);
    EXPECT_EQ(table->FieldAsInteger(0), -9);
    EXPECT_DOUBLE_EQ(table->FieldAsDouble(1), 0.5);
    EXPECT_EQ(table->FieldAsString("s"), text);
    EXPECT_EQ(table->FieldAsInteger(3), 1);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t")->FieldAsInteger(0), 3);  // t is still there
}

TEST_F(SQLiteLayer, AValueCountOtherThanTheParameterCountIsRefused) {
    TSQLiteDatabase db(file_);
    EXPECT_EQ(ErrorOf([&] { db.ExecSQL("DELETE FROM t WHERE i = ?", {}); }),
              "Statement has 1 parameters but 0 values were given: \"DELETE FROM t WHERE i = ?\"");
    EXPECT_THROW(db.GetTable("SELECT * FROM t", {std::int64_t{1}}), ESQLiteException);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM t")->FieldAsInteger(0), 2);  // nothing ran
}

TEST_F(SQLiteLayer, FloatOutsideTheIntegerRangeIsNoInteger) {
    auto table = Query("SELECT d FROM t");
    EXPECT_EQ(ErrorOf([&] { table->FieldAsInteger(0); }), "Not an integer or numeric field");
}

TEST_F(SQLiteLayer, EmptyResult) {
    auto table = Query("SELECT * FROM t WHERE 0");
    EXPECT_EQ(table->RowCount(), 0);
    EXPECT_EQ(table->ColCount(), 0);
    EXPECT_TRUE(table->Eof());
    EXPECT_FALSE(table->MoveFirst());
    EXPECT_FALSE(table->Next());
    EXPECT_EQ(ErrorOf([&] { table->FieldAsString("name"); }), "Field name Not found. Empty dataset");
    EXPECT_EQ(ErrorOf([&] { table->FieldIndex("Other"); }), "Field Other Not found. Empty dataset");
}

TEST_F(SQLiteLayer, WalkingPastTheEnd) {
    auto table = Query("SELECT v FROM nums");
    std::vector<std::int64_t> seen;
    for (table->MoveFirst(); !table->Eof(); table->Next()) seen.push_back(table->FieldAsInteger(0));
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_FALSE(table->Next());
    EXPECT_EQ(ErrorOf([&] { table->FieldAsInteger(0); }), "Table is at End of File");
    EXPECT_EQ(ErrorOf([&] { table->FieldAsString("v"); }), "Table is at End of File");
    EXPECT_EQ(ErrorOf([&] { table->FieldAsDouble(0); }), "Table is at End of File");
    EXPECT_TRUE(table->MoveFirst());
    EXPECT_EQ(table->FieldAsInteger(0), 1);
}

TEST_F(SQLiteLayer, FieldNamesIgnoreCase) {
    auto table = Query("SELECT v AS Value FROM nums");
    EXPECT_EQ(table->FieldIndex("value"), 0);
    EXPECT_EQ(table->FieldAsString("VALUE"), table->FieldAsString("value"));
    EXPECT_EQ(ErrorOf([&] { table->FieldIndex("val"); }), "Field not found in dataset: val");
}

TEST_F(SQLiteLayer, TableOutlivesItsConnection) {
    std::unique_ptr<TSQLiteTable> table;
    {
        TSQLiteDatabase db(file_);
        table = db.GetTable("SELECT s FROM t");
    }
    EXPECT_EQ(table->FieldAsString("s"), "text");
}

TEST_F(SQLiteLayer, EmptyOrBlankSqlHasNoStatement) {
    TSQLiteDatabase db(file_);
    EXPECT_EQ(ErrorOf([&] { db.ExecSQL(""); }), "Could not prepare SQL statement");
    EXPECT_EQ(ErrorOf([&] { db.GetTable("  -- nothing\n"); }), "Could not prepare SQL statement");
}

TEST_F(SQLiteLayer, SyntaxErrorGivesTheThreeLineMessage) {
    TSQLiteDatabase db(file_);
    EXPECT_EQ(ErrorOf([&] { db.ExecSQL("SELEC 1"); }),
              "Error executing SQL.\rError [1]: SQL error or missing database.\r\"SELEC 1\": near \"SELEC\": "
              "syntax error");
    EXPECT_EQ(ErrorOf([&] { db.GetTable("SELECT * FROM missing"); }),
              "Error executing SQL.\rError [1]: SQL error or missing database.\r\"SELECT * FROM missing\": no such "
              "table: missing");
}

TEST_F(SQLiteLayer, ExecSqlOfARowReturningSelectFails) {
    TSQLiteDatabase db(file_);
    const std::string message = ErrorOf([&] { db.ExecSQL("SELECT 1"); });
    EXPECT_TRUE(message.starts_with("Error executing SQL statement")) << message;
}

TEST_F(SQLiteLayer, ExecSqlRunsOnlyTheFirstStatement) {
    TSQLiteDatabase db(file_);
    db.ExecSQL("INSERT INTO nums VALUES(4); INSERT INTO nums VALUES(5);");
    EXPECT_EQ(QueryRows(file_, "SELECT v FROM nums WHERE v > 3"), (std::vector<std::vector<std::string>>{{"4"}}));
}

TEST_F(SQLiteLayer, ConstraintViolationIsAStatementError) {
    RunScript(file_, "CREATE TABLE u(k INTEGER PRIMARY KEY); INSERT INTO u VALUES(1);");
    TSQLiteDatabase db(file_);
    const std::string message = ErrorOf([&] { db.ExecSQL("INSERT INTO u VALUES(1)"); });
    EXPECT_TRUE(
        message.starts_with("Error executing SQL statement.\rError [19]: Abort due to contraint violation.\r"
                            "\"INSERT INTO u VALUES(1)\": "))
        << message;
}

// The log's insert: prepared once, run with new values after a refused run,
// and no lock held between runs (another program takes the file at once).
TEST_F(SQLiteLayer, PreparedStatementRunsAgainAfterAFailureAndHoldsNoLockBetweenRuns) {
    RunScript(file_, "CREATE TABLE u(k INTEGER PRIMARY KEY, s TEXT);");
    TSQLiteDatabase db(file_);
    TSQLiteStatement insert(db, "INSERT INTO u VALUES(?, ?)");
    insert.Exec({std::int64_t{1}, std::string("one")});
    const std::string message = ErrorOf([&] { insert.Exec({std::int64_t{1}, std::string("again")}); });
    EXPECT_TRUE(message.starts_with("Error executing SQL statement.\rError [19]: ")) << message;
    EXPECT_NE(ErrorOf([&] { insert.Exec({std::int64_t{2}}); }).find("2 parameters but 1 values"), std::string::npos);
    insert.Exec({std::int64_t{2}, std::string("two")});
    TSQLiteDatabase other(file_);
    other.ExecSQL("BEGIN EXCLUSIVE");
    other.ExecSQL("INSERT INTO u VALUES(3, 'other')");
    other.ExecSQL("COMMIT");
    insert.Exec({std::int64_t{4}, std::string("four")});
    EXPECT_EQ(QueryRows(file_, "SELECT k, s FROM u ORDER BY k"),
              (std::vector<std::vector<std::string>>{{"1", "one"}, {"2", "two"}, {"3", "other"}, {"4", "four"}}));
}

TEST(SQLiteDatabase, OpenFailureNamesTheFile) {
    TempFolder folder;
    const std::string missing = FileIn(folder.Path(), "no-such-folder") + "/x.sqlite";
    EXPECT_EQ(ErrorOf([&] { TSQLiteDatabase db(missing); }),
              "Failed to open database \"" + missing + "\" : unable to open database file");
}

TEST(SQLiteDatabase, OpeningCreatesAnEmptyFileWithAUtf8Name) {
    TempFolder folder;
    const std::string name = FileIn(folder.Path(), "r\xC3\xA9sum\xC3\xA9 \xE6\x97\xA5.sqlite");
    TSQLiteDatabase(name).ExecSQL("CREATE TABLE a(b)");
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(name)));
}

TEST(SQLiteDatabase, NotADatabaseFile) {
    TempFolder folder;
    const std::string name = FileIn(folder.Path(), "junk.sqlite");
    {
        std::FILE* f = std::fopen(PathToUtf8(PathFromUtf8(name)).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("this is no database, just text long enough to fill a header........................", f);
        std::fclose(f);
    }
    TSQLiteDatabase db(name);
    const std::string message = ErrorOf([&] { db.GetTable("SELECT * FROM sqlite_master"); });
    EXPECT_TRUE(message.starts_with("Error executing SQL.\rError [26]: File opened that is not a database file.\r"))
        << message;
}

// Another connection holds the file exclusively for the whole call: after the
// busy time-out the query and the statement fail cleanly.
TEST_F(SQLiteLayer, DatabaseHeldByAnotherConnection) {
    TSQLiteDatabase holder(file_);
    holder.ExecSQL("BEGIN EXCLUSIVE");
    TSQLiteDatabase db(file_);
    const std::string query = ErrorOf([&] { db.GetTable("SELECT * FROM nums"); });
    EXPECT_NE(query.find("database is locked"), std::string::npos) << query;
    const std::string statement = ErrorOf([&] { db.ExecSQL("INSERT INTO nums VALUES(9)"); });
    EXPECT_NE(statement.find("Error [5]: The database file is locked."), std::string::npos) << statement;
    holder.ExecSQL("ROLLBACK");
    EXPECT_EQ(db.GetTable("SELECT * FROM nums")->RowCount(), 3);
}

// A lock released well within the busy time-out does not make the statement fail.
TEST_F(SQLiteLayer, BriefLockIsWaitedFor) {
    auto holder = std::make_unique<TSQLiteDatabase>(file_);
    holder->ExecSQL("BEGIN EXCLUSIVE");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        holder->ExecSQL("ROLLBACK");
    });
    TSQLiteDatabase db(file_);
    EXPECT_NO_THROW(db.ExecSQL("INSERT INTO nums VALUES(9)"));
    release.join();
    EXPECT_EQ(QueryRows(file_, "SELECT COUNT(*) FROM nums"), (std::vector<std::vector<std::string>>{{"4"}}));
}

TEST_F(SQLiteLayer, TransactionCommitsOrRollsBackWhole) {
    {
        TSQLiteDatabase db(file_);
        TSQLiteTransaction transaction(db);
        db.ExecSQL("DELETE FROM nums");
        db.ExecSQL("INSERT INTO nums VALUES(10)");
        // Destroyed without Commit.
    }
    EXPECT_EQ(QueryRows(file_, "SELECT COUNT(*) FROM nums"), (std::vector<std::vector<std::string>>{{"3"}}));
    {
        TSQLiteDatabase db(file_);
        TSQLiteTransaction transaction(db);
        db.ExecSQL("DELETE FROM nums");
        db.ExecSQL("INSERT INTO nums VALUES(10)");
        transaction.Commit();
    }
    EXPECT_EQ(QueryRows(file_, "SELECT v FROM nums"), (std::vector<std::vector<std::string>>{{"10"}}));
}

}  // namespace
}  // namespace vh
