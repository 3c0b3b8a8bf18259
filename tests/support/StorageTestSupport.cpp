#include "support/StorageTestSupport.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

#include "common/Paths.h"
#include "common/StringUtils.h"

namespace vh::testing {

namespace {

struct Closer {
    void operator()(sqlite3* db) const noexcept { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

Connection Open(const std::string& fileName) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open(fileName.c_str(), &raw);
    Connection db(raw);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + fileName);
    // A running program's database is read while it writes: wait for its
    // lock as the program's own connections do, instead of failing at once.
    sqlite3_busy_timeout(db.get(), 5000);
    return db;
}

}  // namespace

std::string FileIn(const std::filesystem::path& folder, const std::string& name) {
    return PathToUtf8(folder / PathFromUtf8(name));
}

void CopyReadyMadeDatabase(const std::string& name, const std::string& target) {
#ifdef _WIN32
    const std::string folder = std::string("Z:") + VH_DATABASE_DIR;  // Wine's drive for the build host's root
#else
    const std::string folder = VH_DATABASE_DIR;
#endif
    std::filesystem::copy_file(PathFromUtf8(folder + "/" + name), PathFromUtf8(target),
                               std::filesystem::copy_options::overwrite_existing);
}

void CopyFileReplacing(const std::string& source, const std::string& target) {
    std::filesystem::remove(PathFromUtf8(target));
    std::filesystem::copy_file(PathFromUtf8(source), PathFromUtf8(target));
}

void RunScript(const std::string& fileName, const std::string& sql) {
    Connection db = Open(fileName);
    char* error = nullptr;
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("script failed: " + text);
    }
}

std::vector<std::vector<std::string>> QueryRows(const std::string& fileName, const std::string& sql) {
    Connection db = Open(fileName);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("query failed: ") + sqlite3_errmsg(db.get()));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    std::vector<std::vector<std::string>> rows;
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        auto& row = rows.emplace_back();
        for (int c = 0; c < sqlite3_column_count(raw); ++c) {
            if (sqlite3_column_type(raw, c) == SQLITE_NULL) {
                row.emplace_back("<null>");
                continue;
            }
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, c));
            row.emplace_back(text, static_cast<std::size_t>(sqlite3_column_bytes(raw, c)));
        }
    }
    if (rc != SQLITE_DONE) throw std::runtime_error(std::string("query failed: ") + sqlite3_errmsg(db.get()));
    return rows;
}

std::string DatabaseImage(const std::string& tag) {
    std::string page(512, '\0');
    page.replace(0, 16, std::string("SQLite format 3\0", 16));
    page[16] = 2;  // page size 512, big-endian
    page[27] = 7;  // change counter
    page[31] = 1;  // one page
    page[95] = 7;  // "version valid for": the page count is kept
    page.replace(100, tag.size(), tag);
    return page;
}

void InsertListEntry(const std::string& fileName, const std::string& table, const std::string& name,
                     const std::string& caption, int active) {
    RunScript(fileName, "INSERT INTO " + table + "(name, caption, active) VALUES(" + QuotedSqlString(name) + ", " +
                            QuotedSqlString(caption) + ", " + std::to_string(active) + ")");
}

void InsertLogRow(const std::string& fileName, const std::string& date, const std::string& app, const std::string& url,
                  int seconds, int origin) {
    RunScript(fileName,
              "INSERT INTO applications(date_created, app_name, browser_url, app_type, duration, origin) VALUES(" +
                  QuotedSqlString(date) + ", " + QuotedSqlString(app) + ", " + QuotedSqlString(url) +
                  ", 'Desktop Application', " + std::to_string(seconds) + ", " + std::to_string(origin) + ")");
}

}  // namespace vh::testing
