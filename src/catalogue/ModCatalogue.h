#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalogue/ModRecord.h"

namespace kestavel {

class SqliteDatabase;
class SqliteStatement;

// The one table of the catalogue file, opened for one command and closed at its end.
// Record n is the row whose rowid is n. Writes are gathered into batches that are committed
// at least once a second of writing, on commit() and on close, so a kill loses little and a
// half-written batch never reaches the file.
class ModCatalogue {
  public:
    static constexpr const char* kFileName = "DEVodu.edb";
    static constexpr const char* kTableName = "ModCatalogue";

    // Fails (with a reason in *error) when the file is missing or is not a catalogue; the file
    // is left exactly as it was.
    static std::unique_ptr<ModCatalogue> open(const std::string& path, std::string* error);
    // The table layout as SQL, for the build step that produces the empty catalogue file.
    static std::string CreateTableSql();

    ~ModCatalogue();
    ModCatalogue(const ModCatalogue&) = delete;
    ModCatalogue& operator=(const ModCatalogue&) = delete;

    int recordCount() const { return count_; }
    // Current record number, 0 when the table is empty or none was chosen.
    int currentRecord() const { return current_; }
    bool goToRecord(int n);
    void goToFirstRecord();

    FieldValue read(int position);
    FieldValue read(Field field) { return read(Position(field)); }
    // The field named by its column name; an unknown name reads as empty text.
    FieldValue read(std::string_view name);
    bool write(int position, const FieldValue& value);
    bool write(Field field, const FieldValue& value) { return write(Position(field), value); }
    // Several fields of the current record in one statement (a later entry for the same field
    // wins); false, with none of them written, when a position is out of range or it fails.
    bool write(const std::vector<std::pair<Field, FieldValue>>& fields);

    // A record to append: its 序号 and its 编码 as GBK bytes.
    struct NewRecord {
        std::int64_t number;
        std::string_view code;
    };
    bool addRecord(std::int64_t number, const GbkText& code);
    // Appends records count+1, count+2, … many rows a statement; returns how many were written,
    // fewer than given only when a write failed (the rest are then not written).
    std::size_t addRecords(std::span<const NewRecord> records);
    bool clear();
    // Removes the records after the first count.
    bool truncate(int count);

    // Forward from the current record; on failure the current record stays where it was.
    bool findCode(const GbkText& code);
    bool findNumber(double number);

    // Every record in stored order, read with one query; the callback sees record n as n.
    bool forEachRecord(const std::function<void(int n, const ModRecord&)>& visit);

    // The 序号 (as a number, whatever its stored kind) and 编码 of every record, in stored order.
    bool forEachNumberAndCode(const std::function<void(double number, const GbkText& code)>& visit);

    // While held, batches are not committed on their own: everything up to commit() lands as one.
    void holdBatch(bool hold) { holdBatch_ = hold; }
    // False when the batch could not be made durable: it is dropped, as by rollback().
    bool commit();
    // Drops the uncommitted batch; the count is read again from the file.
    void rollback();
    // Batches made durable so far, counting those committed on their own.
    std::uint64_t commits() const { return commits_; }
    void close();

  private:
    explicit ModCatalogue(std::unique_ptr<SqliteDatabase> db);
    bool beginWrite();
    bool endWrite(bool ok);
    bool loadCurrent();
    bool readCount();
    SqliteStatement* statement(std::unique_ptr<SqliteStatement>& slot, const std::string& sql);
    bool insertRun(std::span<const NewRecord> run);

    std::unique_ptr<SqliteDatabase> db_;
    int count_ = 0;
    int current_ = 0;
    std::optional<ModRecord> cached_;
    bool inBatch_ = false;
    bool holdBatch_ = false;
    std::int64_t batchStarted_ = 0;
    std::uint64_t commits_ = 0;
    std::unique_ptr<SqliteStatement> selectRow_;
    std::unique_ptr<SqliteStatement> insert_;
    std::unique_ptr<SqliteStatement> insertMany_;
    std::unique_ptr<SqliteStatement> findCode_;
    std::unique_ptr<SqliteStatement> findNumber_;
    std::array<std::unique_ptr<SqliteStatement>, kFieldCount> update_;
    // Statements of the several-field write, by the set of fields they write (bit position − 1).
    std::unordered_map<std::uint32_t, std::unique_ptr<SqliteStatement>> updateMany_;
};

}  // namespace kestavel
