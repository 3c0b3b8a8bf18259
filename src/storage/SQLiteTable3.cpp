#include "storage/SQLiteTable3.h"

#include <sqlite3.h>

#include <charconv>
#include <limits>

#include "common/StringUtils.h"
#include "storage/FloatText.h"

namespace vh {

namespace {

using UniqueStatement = std::unique_ptr<sqlite3_stmt, TSQLiteStatementFinalizer>;

// The kind of a column from its declared type, compared as exact text; an
// undeclared column (expression, aggregate) takes the first row's value type.
TSQLiteKind KindOfColumn(sqlite3_stmt* statement, int column) {
    const char* declared = sqlite3_column_decltype(statement, column);
    if (declared == nullptr) return static_cast<TSQLiteKind>(sqlite3_column_type(statement, column));
    const std::string_view type(declared);
    if (type == "INTEGER" || type == "BOOLEAN") return skInteger;
    if (type == "NUMERIC" || type == "FLOAT" || type == "DOUBLE" || type == "REAL") return skFloat;
    if (type == "BLOB") return skBlob;
    return skText;
}

std::string ColumnBytes(const void* data, int size) {
    if (data == nullptr || size <= 0) return {};
    return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

// Truncates toward zero; a value outside the 64-bit range has no integer.
std::int64_t TruncateToInteger(double value) {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (!(value >= -kLimit && value < kLimit)) throw ESQLiteException("Not an integer or numeric field");
    return static_cast<std::int64_t>(value);
}

// Texts of the null kind come from the engine, which writes numbers with ".".
double TextToDouble(const std::string& text) {
    const std::string trimmed = Trim(text);
    double value = 0;
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (!trimmed.empty() && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (trimmed.empty() || error != std::errc() || end != last)
        throw ESQLiteException("'" + text + "' is not a valid floating point value");
    return value;
}

}  // namespace

std::string SQLiteErrorText(int code) {
    switch (code) {
        case 0: return "Successful result";
        case 1: return "SQL error or missing database";
        case 2: return "An internal logic error in SQLite";
        case 3: return "Access permission denied";
        case 4: return "Callback routine requested an abort";
        case 5: return "The database file is locked";
        case 6: return "A table in the database is locked";
        case 7: return "A malloc() failed";
        case 8: return "Attempt to write a readonly database";
        case 9: return "Operation terminated by sqlite3_interrupt()";
        case 10: return "Some kind of disk I/O error occurred";
        case 11: return "The database disk image is malformed";
        case 12: return "(Internal Only) Table or record not found";
        case 13: return "Insertion failed because database is full";
        case 14: return "Unable to open the database file";
        case 15: return "Database lock protocol error";
        case 16: return "Database is empty";
        case 17: return "The database schema changed";
        case 18: return "Too much data for one row of a table";
        case 19: return "Abort due to contraint violation";
        case 20: return "Data type mismatch";
        case 21: return "Library used incorrectly";
        case 22: return "Uses OS features not supported on host";
        case 23: return "Authorization denied";
        case 24: return "Auxiliary database format error";
        case 25: return "2nd parameter to sqlite3_bind out of range";
        case 26: return "File opened that is not a database file";
        case 100: return "sqlite3_step() has another row ready";
        case 101: return "sqlite3_step() has finished executing";
        default: return "Unknown SQLite Error Code \"" + std::to_string(code) + "\"";
    }
}

// ---------------------------------------------------------------- TSQLiteTable

bool TSQLiteTable::MoveFirst() noexcept {
    if (rowCount_ <= 0) return false;
    currentRow_ = 0;
    return true;
}

bool TSQLiteTable::Next() noexcept {
    if (Eof()) return false;
    ++currentRow_;
    return true;
}

int TSQLiteTable::FieldIndex(std::string_view name) const {
    if (columnNames_.empty()) throw ESQLiteException("Field " + std::string(name) + " Not found. Empty dataset");
    const std::string wanted = AsciiUpperCase(name);
    for (std::size_t i = 0; i < columnNames_.size(); ++i)
        if (columnNames_[i] == wanted) return static_cast<int>(i);
    throw ESQLiteException("Field not found in dataset: " + std::string(name));
}

TSQLiteKind TSQLiteTable::FieldKind(int index) const {
    VH_ASSERT(index >= 0 && index < colCount_);
    return columnKinds_[static_cast<std::size_t>(index)];
}

void TSQLiteTable::CheckNotEof() const {
    if (Eof()) throw ESQLiteException("Table is at End of File");
}

const std::optional<TSQLiteTable::Value>& TSQLiteTable::Cell(int index) const {
    VH_ASSERT(index >= 0 && index < colCount_);
    return cells_[static_cast<std::size_t>(currentRow_) * static_cast<std::size_t>(colCount_) +
                  static_cast<std::size_t>(index)];
}

std::string TSQLiteTable::FieldAsString(std::string_view name) const {
    return FieldAsString(FieldIndex(name));
}

std::string TSQLiteTable::FieldAsString(int index) const {
    CheckNotEof();
    switch (FieldKind(index)) {
        case skInteger: return std::to_string(FieldAsInteger(index));
        case skFloat: return FloatToGeneralText(FieldAsDouble(index), decimalSeparator_);
        case skBlob: return FieldAsBlob(index);
        case skText: {
            const auto& cell = Cell(index);
            return cell ? std::get<std::string>(*cell) : std::string();
        }
        case skNull: break;
    }
    return {};
}

std::int64_t TSQLiteTable::FieldAsInteger(int index) const {
    CheckNotEof();
    const auto& cell = Cell(index);
    if (!cell) return 0;
    switch (FieldKind(index)) {
        case skInteger: return std::get<std::int64_t>(*cell);
        case skFloat: return TruncateToInteger(std::get<double>(*cell));
        case skNull: {
            const auto& text = std::get<std::string>(*cell);
            return text.empty() ? 0 : TruncateToInteger(TextToDouble(text));
        }
        case skText:
        case skBlob: break;
    }
    throw ESQLiteException("Not an integer or numeric field");
}

double TSQLiteTable::FieldAsDouble(int index) const {
    CheckNotEof();
    const auto& cell = Cell(index);
    if (!cell) return 0;
    switch (FieldKind(index)) {
        case skInteger: return static_cast<double>(std::get<std::int64_t>(*cell));
        case skFloat: return std::get<double>(*cell);
        default: break;
    }
    throw ESQLiteException("Not an integer or numeric field");
}

std::string TSQLiteTable::FieldAsBlob(int index) const {
    CheckNotEof();
    if (FieldKind(index) != skBlob) throw ESQLiteException("Not a Blob field");
    const auto& cell = Cell(index);
    return cell ? std::get<std::string>(*cell) : std::string();
}

// ------------------------------------------------------------- TSQLiteDatabase

void TSQLiteDatabase::Closer::operator()(sqlite3* db) const noexcept {
    sqlite3_close(db);
}

TSQLiteDatabase::TSQLiteDatabase(const std::string& fileName, std::string decimalSeparator)
    : decimalSeparator_(std::move(decimalSeparator)) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open(fileName.c_str(), &handle);
    db_.reset(handle);
    if (rc != SQLITE_OK) {
        if (!db_) throw ESQLiteException("Failed to open database \"" + fileName + "\" : unknown error");
        throw ESQLiteException("Failed to open database \"" + fileName + "\" : " + sqlite3_errmsg(db_.get()));
    }
    // A backup tool or viewer that briefly holds the file should not make the
    // next statement fail at once.
    sqlite3_busy_timeout(db_.get(), kBusyTimeoutMs);
}

TSQLiteDatabase::~TSQLiteDatabase() = default;

void TSQLiteDatabase::RaiseStatementError(const std::string& message, const std::string& sql) const {
    const int code = sqlite3_errcode(db_.get());
    const char* engineText = code != SQLITE_OK ? sqlite3_errmsg(db_.get()) : nullptr;
    if (engineText == nullptr) throw ESQLiteException(message);
    throw ESQLiteException(message + ".\rError [" + std::to_string(code) + "]: " + SQLiteErrorText(code) + ".\r\"" +
                           sql + "\": " + engineText);
}

namespace {

UniqueStatement Prepare(sqlite3* db, const std::string& sql, bool& failed) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    UniqueStatement statement(raw);
    failed = rc != SQLITE_OK;
    return statement;
}

// SQLITE_OK, or the engine's code of the first value it refused.
int BindParam(sqlite3_stmt* statement, int position, const TSQLiteParam& param) {
    if (std::holds_alternative<std::nullptr_t>(param)) return sqlite3_bind_null(statement, position);
    if (const auto* integer = std::get_if<std::int64_t>(&param))
        return sqlite3_bind_int64(statement, position, *integer);
    if (const auto* real = std::get_if<double>(&param)) return sqlite3_bind_double(statement, position, *real);
    const std::string& text = std::get<std::string>(param);
    return sqlite3_bind_text64(statement, position, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

}  // namespace

void TSQLiteStatementFinalizer::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

TSQLiteDatabase::UniqueStatement TSQLiteDatabase::PrepareOnly(const std::string& sql) const {
    bool failed = false;
    UniqueStatement statement = Prepare(db_.get(), sql, failed);
    if (failed) RaiseStatementError("Error executing SQL", sql);
    if (!statement) RaiseStatementError("Could not prepare SQL statement", sql);
    return statement;
}

void TSQLiteDatabase::Bind(sqlite3_stmt* statement, const std::string& sql, const TSQLiteParams& params) const {
    const int expected = sqlite3_bind_parameter_count(statement);
    if (expected != static_cast<int>(params.size()))
        throw ESQLiteException("Statement has " + std::to_string(expected) + " parameters but " +
                               std::to_string(params.size()) + " values were given: \"" + sql + "\"");
    for (int i = 0; i < expected; ++i) {
        if (BindParam(statement, i + 1, params[static_cast<std::size_t>(i)]) != SQLITE_OK)
            RaiseStatementError("Could not bind parameter " + std::to_string(i + 1), sql);
    }
}

TSQLiteDatabase::UniqueStatement TSQLiteDatabase::PrepareBound(const std::string& sql,
                                                               const TSQLiteParams& params) const {
    UniqueStatement statement = PrepareOnly(sql);
    Bind(statement.get(), sql, params);
    return statement;
}

void TSQLiteDatabase::ExecSQL(const std::string& sql, const TSQLiteParams& params) {
    UniqueStatement statement = PrepareBound(sql, params);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        sqlite3_reset(statement.get());
        RaiseStatementError("Error executing SQL statement", sql);
    }
}

void TSQLiteDatabase::ExecScript(const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message);
    // The connection keeps the error, which the raise reads.
    sqlite3_free(message);
    if (rc != SQLITE_OK) RaiseStatementError("Error executing SQL script", sql);
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::GetTable(const std::string& sql, const TSQLiteParams& params) {
    UniqueStatement statement = PrepareBound(sql, params);

    auto table = std::make_unique<TSQLiteTable>(TSQLiteTable::TKey(), decimalSeparator_);
    sqlite3_stmt* s = statement.get();
    StepRows(s, sql, [&] {
        if (table->rowCount_ == std::numeric_limits<int>::max()) throw ESQLiteException("Too many rows");
        if (table->rowCount_ == 0) {
            table->colCount_ = sqlite3_column_count(s);
            for (int c = 0; c < table->colCount_; ++c) {
                const char* name = sqlite3_column_name(s, c);
                table->columnNames_.push_back(AsciiUpperCase(name ? name : ""));
                table->columnKinds_.push_back(KindOfColumn(s, c));
            }
        }
        ++table->rowCount_;
        for (int c = 0; c < table->colCount_; ++c) {
            if (sqlite3_column_type(s, c) == SQLITE_NULL) {
                table->cells_.emplace_back();
                continue;
            }
            switch (table->columnKinds_[static_cast<std::size_t>(c)]) {
                case skInteger: table->cells_.emplace_back(std::int64_t{sqlite3_column_int64(s, c)}); break;
                case skFloat: table->cells_.emplace_back(sqlite3_column_double(s, c)); break;
                case skBlob: {
                    // Fetch the pointer before the size, as the engine asks.
                    const void* data = sqlite3_column_blob(s, c);
                    const int size = sqlite3_column_bytes(s, c);
                    if (size <= 0)
                        table->cells_.emplace_back();
                    else
                        table->cells_.emplace_back(ColumnBytes(data, size));
                    break;
                }
                case skText:
                case skNull: {
                    const unsigned char* text = sqlite3_column_text(s, c);
                    table->cells_.emplace_back(ColumnBytes(text, sqlite3_column_bytes(s, c)));
                    break;
                }
            }
        }
    });
    table->currentRow_ = 0;
    return table;
}

void TSQLiteDatabase::StepRows(sqlite3_stmt* statement, const std::string& sql,
                               const std::function<void()>& onRow) const {
    for (;;) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE) return;
        if (rc == SQLITE_BUSY) throw ESQLiteException("Could not prepare SQL statement");
        if (rc != SQLITE_ROW) {
            sqlite3_reset(statement);
            RaiseStatementError("Could not retrieve data", sql);
        }
        onRow();
    }
}

void TSQLiteDatabase::ForEachRow(const std::string& sql, const TSQLiteParams& params,
                                 const std::function<void(const TSQLiteRowView&)>& onRow) {
    UniqueStatement statement = PrepareBound(sql, params);
    const TSQLiteRowView row(statement.get());
    StepRows(statement.get(), sql, [&] { onRow(row); });
}

std::string_view TSQLiteRowView::Text(int index) const noexcept {
    // The text before its length, as the engine asks.
    const unsigned char* text = sqlite3_column_text(statement_, index);
    if (text == nullptr) return {};
    return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(statement_, index))};
}

std::int64_t TSQLiteRowView::Integer(int index) const noexcept {
    return sqlite3_column_int64(statement_, index);
}

// ------------------------------------------------------------ TSQLiteStatement

TSQLiteStatement::TSQLiteStatement(TSQLiteDatabase& db, std::string sql)
    : db_(db), sql_(std::move(sql)), statement_(db_.PrepareOnly(sql_)) {}

void TSQLiteStatement::Exec(const TSQLiteParams& params) {
    sqlite3_stmt* s = statement_.get();
    db_.Bind(s, sql_, params);
    const int rc = sqlite3_step(s);
    // Reset at once either way: a statement left running would keep its
    // lock on the file until the next scan.
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) db_.RaiseStatementError("Error executing SQL statement", sql_);
}

// ---------------------------------------------------------- TSQLiteTransaction

TSQLiteTransaction::TSQLiteTransaction(TSQLiteDatabase& db) : db_(db) {
    // IMMEDIATE takes the write lock now, so a busy file fails before anything
    // is changed rather than between two statements.
    db_.ExecSQL("BEGIN IMMEDIATE;");
}

TSQLiteTransaction::~TSQLiteTransaction() {
    if (!open_) return;
    try {
        db_.ExecSQL("ROLLBACK;");
    } catch (...) {
        // Closing the connection rolls back whatever is still open.
    }
}

void TSQLiteTransaction::Commit() {
    VH_ASSERT(open_);
    db_.ExecSQL("COMMIT;");
    open_ = false;
}

}  // namespace vh
