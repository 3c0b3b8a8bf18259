#pragma once
// A thin object layer over SQLite: one connection per TSQLiteDatabase, one
// complete query result per TSQLiteTable, read into memory at once. Values
// reach the engine inside the SQL text; callers quote them (QuotedSqlString).
// Used by one thread at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "common/Exceptions.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vh {

// The one exception the layer raises; carries its message text only.
class ESQLiteException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ESQLiteException"; }
};

// The layer's own text for an SQLite result code.
std::string SQLiteErrorText(int code);

// SQLite's fundamental type codes, used as the kind of a result column.
enum TSQLiteKind : int {
    skInteger = 1,
    skFloat = 2,
    skText = 3,
    skBlob = 4,
    skNull = 5,
};

// The complete result of one query; holds no engine resources and may outlive
// its connection. Walk it with MoveFirst, the Field accessors, and Next until Eof.
class TSQLiteTable {
public:
    TSQLiteTable(const TSQLiteTable&) = delete;
    TSQLiteTable& operator=(const TSQLiteTable&) = delete;

    int RowCount() const noexcept { return rowCount_; }
    int ColCount() const noexcept { return colCount_; }
    // "EOF" is a macro of the C library, hence the spelling.
    bool Eof() const noexcept { return currentRow_ >= rowCount_; }
    bool MoveFirst() noexcept;
    bool Next() noexcept;

    // Column position of `name`, ignoring ASCII case. Raises ESQLiteException
    // when no row was read or no column has that name.
    int FieldIndex(std::string_view name) const;
    TSQLiteKind FieldKind(int index) const;

    // Accessors of the current row; each raises "Table is at End of File" at Eof.
    std::string FieldAsString(std::string_view name) const;
    std::string FieldAsString(int index) const;
    std::int64_t FieldAsInteger(int index) const;
    double FieldAsDouble(int index) const;
    // The bytes of a blob cell (empty when absent); other kinds raise "Not a Blob field".
    std::string FieldAsBlob(int index) const;

private:
    // Only a database makes tables; the key keeps the constructor its own.
    struct TKey {
        explicit TKey() = default;
    };
    friend class TSQLiteDatabase;

public:
    TSQLiteTable(TKey, std::string decimalSeparator) : decimalSeparator_(std::move(decimalSeparator)) {}

private:
    // Integer (kind 1), float (kind 2) or the text/blob bytes (other kinds).
    using Value = std::variant<std::int64_t, double, std::string>;

    void CheckNotEof() const;
    const std::optional<Value>& Cell(int index) const;

    std::vector<std::optional<Value>> cells_;  // row-major; nullopt = SQL NULL
    int rowCount_ = 0;
    int colCount_ = 0;
    std::vector<std::string> columnNames_;  // upper-cased
    std::vector<TSQLiteKind> columnKinds_;
    int currentRow_ = 0;
    std::string decimalSeparator_;  // of floats read as text
};

// A value bound to a statement parameter: SQL NULL, an integer, a float or
// a text (UTF-8). Values never become part of the statement's text.
using TSQLiteParam = std::variant<std::nullptr_t, std::int64_t, double, std::string>;
using TSQLiteParams = std::vector<TSQLiteParam>;

// Finalizes a prepared statement (the owner of the connection's statements).
struct TSQLiteStatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept;
};

class TSQLiteStatement;

// The current row of a query stepped through by ForEachRow: valid only while
// the callback runs, and holding nothing of its own.
class TSQLiteRowView {
public:
    explicit TSQLiteRowView(sqlite3_stmt* statement) noexcept : statement_(statement) {}
    // The cell as UTF-8 text (SQL NULL: empty), and as an integer (NULL: 0).
    std::string_view Text(int index) const noexcept;
    std::int64_t Integer(int index) const noexcept;

private:
    sqlite3_stmt* statement_;
};

// One open connection. Waits up to kBusyTimeoutMs for a lock that another
// connection or process holds before a statement fails as busy.
class TSQLiteDatabase {
public:
    static constexpr int kBusyTimeoutMs = 2000;

    // Opens (or, the engine's way, creates empty) the database file named by
    // the UTF-8 `fileName`. Its tables show floats as text with
    // `decimalSeparator`, which the caller takes from the user's locale.
    explicit TSQLiteDatabase(const std::string& fileName, std::string decimalSeparator = ".");
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // Runs the first statement of `sql`, which must return no rows, with the
    // values bound to its parameters ("?") in order; the number of values
    // must equal the number of parameters.
    void ExecSQL(const std::string& sql, const TSQLiteParams& params = {});
    // Runs every statement of `sql` in turn, none with parameters: a schema
    // script. Stops at the first that fails and raises its error.
    void ExecScript(const std::string& sql);
    // Runs one query, its parameters bound likewise, and returns its complete result.
    std::unique_ptr<TSQLiteTable> GetTable(const std::string& sql, const TSQLiteParams& params = {});
    // Runs one query likewise and hands each row to `onRow` as it is read,
    // keeping none: for long results read once. What `onRow` raises ends
    // the query and reaches the caller.
    void ForEachRow(const std::string& sql, const TSQLiteParams& params,
                    const std::function<void(const TSQLiteRowView&)>& onRow);

private:
    friend class TSQLiteStatement;
    [[noreturn]] void RaiseStatementError(const std::string& message, const std::string& sql) const;

    using UniqueStatement = std::unique_ptr<sqlite3_stmt, TSQLiteStatementFinalizer>;
    // The prepared statement, or a raised failure.
    UniqueStatement PrepareOnly(const std::string& sql) const;
    // Binds `params` to the statement's parameters in order; raises on a failure.
    void Bind(sqlite3_stmt* statement, const std::string& sql, const TSQLiteParams& params) const;
    // The prepared statement with its parameters bound; raises on a failure.
    UniqueStatement PrepareBound(const std::string& sql, const TSQLiteParams& params) const;
    // Steps the statement to its end, calling `onRow` at each row; raises on a failure.
    void StepRows(sqlite3_stmt* statement, const std::string& sql, const std::function<void()>& onRow) const;

    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };
    std::unique_ptr<sqlite3, Closer> db_;
    std::string decimalSeparator_;
};

// One statement prepared once and run again and again on its connection,
// which must outlive it: the log's insert, once a scan, is not compiled anew
// each time. Between runs it holds no lock on the file.
class TSQLiteStatement {
public:
    // Raises ESQLiteException when `sql` cannot be prepared.
    TSQLiteStatement(TSQLiteDatabase& db, std::string sql);
    TSQLiteStatement(const TSQLiteStatement&) = delete;
    TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

    // As TSQLiteDatabase::ExecSQL with this statement and `params`.
    void Exec(const TSQLiteParams& params);

private:
    TSQLiteDatabase& db_;
    std::string sql_;
    TSQLiteDatabase::UniqueStatement statement_;
};

// Runs the statements between construction and Commit as one transaction;
// destruction without Commit rolls back, so a failure part-way leaves the
// data as it was.
class TSQLiteTransaction {
public:
    explicit TSQLiteTransaction(TSQLiteDatabase& db);
    ~TSQLiteTransaction();
    TSQLiteTransaction(const TSQLiteTransaction&) = delete;
    TSQLiteTransaction& operator=(const TSQLiteTransaction&) = delete;

    void Commit();

private:
    TSQLiteDatabase& db_;
    bool open_ = true;
};

}  // namespace vh
