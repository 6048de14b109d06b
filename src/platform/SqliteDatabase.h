#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kestavel {

class SqliteStatement;

// Owns one connection. Opening never creates a file: the catalogue must already exist.
class SqliteDatabase {
  public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    static std::unique_ptr<SqliteDatabase> open(const std::string& path, Mode mode,
                                                std::string* error);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    bool execute(std::string_view sql, std::string* error = nullptr);
    std::optional<SqliteStatement> prepare(std::string_view sql, std::string* error = nullptr);
    std::string lastError() const;
    // Replaces the contents of destination with this database as one consistent state, through
    // SQLite's backup: a journal left behind by a crash is rolled back before anything is read.
    bool copyInto(SqliteDatabase& destination, std::string* error = nullptr);

  private:
    explicit SqliteDatabase(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

class SqliteStatement {
  public:
    SqliteStatement(SqliteStatement&& other) noexcept : stmt_(other.stmt_) {
        other.stmt_ = nullptr;
    }
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    ~SqliteStatement();

    void reset();
    void bindInt(int index, std::int64_t value);
    void bindDouble(int index, double value);
    void bindBlob(int index, std::string_view bytes);
    // Binds without copying: the bytes must outlive the next step().
    void bindBlobUntilStep(int index, std::string_view bytes);
    void bindText(int index, std::string_view text);
    void bindNull(int index);

    enum class Step { Row, Done, Error };
    Step step();

    int columnCount() const;
    bool columnIsNull(int column) const;
    bool columnIsReal(int column) const;
    std::int64_t columnInt(int column) const;
    double columnDouble(int column) const;
    std::string columnBytes(int column) const;
    std::string_view columnView(int column) const;

  private:
    friend class SqliteDatabase;
    explicit SqliteStatement(sqlite3_stmt* stmt) : stmt_(stmt) {}
    sqlite3_stmt* stmt_;
};

}  // namespace kestavel
