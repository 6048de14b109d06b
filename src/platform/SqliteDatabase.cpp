#include "platform/SqliteDatabase.h"

#include <sqlite3.h>

namespace kestavel {

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& path, Mode mode,
                                                     std::string* error) {
    int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (mode == Mode::Create) flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (error) *error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 2000);
    return std::unique_ptr<SqliteDatabase>(new SqliteDatabase(db));
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(db_);
}

bool SqliteDatabase::execute(std::string_view sql, std::string* error) {
    char* message = nullptr;
    int rc = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK && error) *error = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

std::optional<SqliteStatement> SqliteDatabase::prepare(std::string_view sql, std::string* error) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        if (error) *error = sqlite3_errmsg(db_);
        sqlite3_finalize(stmt);
        return std::nullopt;
    }
    return SqliteStatement(stmt);
}

std::string SqliteDatabase::lastError() const {
    return sqlite3_errmsg(db_);
}

bool SqliteDatabase::copyInto(SqliteDatabase& destination, std::string* error) {
    sqlite3_backup* backup = sqlite3_backup_init(destination.db_, "main", db_, "main");
    if (!backup) {
        if (error) *error = destination.lastError();
        return false;
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped == SQLITE_DONE && finished == SQLITE_OK) return true;
    if (error) *error = sqlite3_errstr(stepped != SQLITE_DONE ? stepped : finished);
    return false;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void SqliteStatement::bindInt(int index, std::int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}
void SqliteStatement::bindDouble(int index, double value) {
    sqlite3_bind_double(stmt_, index, value);
}
void SqliteStatement::bindBlob(int index, std::string_view bytes) {
    // A zero-length blob, not NULL, is the empty text value.
    if (bytes.empty()) {
        sqlite3_bind_zeroblob(stmt_, index, 0);
    } else {
        sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }
}
void SqliteStatement::bindBlobUntilStep(int index, std::string_view bytes) {
    if (bytes.empty()) {
        sqlite3_bind_zeroblob(stmt_, index, 0);
    } else {
        sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_STATIC);
    }
}
void SqliteStatement::bindText(int index, std::string_view text) {
    sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}
void SqliteStatement::bindNull(int index) {
    sqlite3_bind_null(stmt_, index);
}

SqliteStatement::Step SqliteStatement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return Step::Row;
    if (rc == SQLITE_DONE) return Step::Done;
    return Step::Error;
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(stmt_);
}
bool SqliteStatement::columnIsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
bool SqliteStatement::columnIsReal(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_FLOAT;
}
std::int64_t SqliteStatement::columnInt(int column) const {
    return sqlite3_column_int64(stmt_, column);
}
double SqliteStatement::columnDouble(int column) const {
    return sqlite3_column_double(stmt_, column);
}
std::string_view SqliteStatement::columnView(int column) const {
    const void* data = sqlite3_column_blob(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    if (!data || size <= 0) return {};
    return std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
}
std::string SqliteStatement::columnBytes(int column) const {
    return std::string(columnView(column));
}

}  // namespace kestavel
