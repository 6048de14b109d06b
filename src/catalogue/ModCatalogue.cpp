#include "catalogue/ModCatalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "catalogue/CatalogueShape.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/SqliteDatabase.h"

namespace kestavel {
namespace {

constexpr std::int64_t kBatchMilliseconds = 1000;
// A view with the catalogue's columns would pass the column check and fail on the first write.
bool IsTable(SqliteDatabase& db) {
    auto type = db.prepare("SELECT type FROM sqlite_master WHERE name = 'ModCatalogue'");
    return type && type->step() == SqliteStatement::Step::Row && type->columnView(0) == "table";
}
constexpr std::size_t kRowsPerInsert = 256;
// Large enough that a whole new index stays in memory until its commit, rather than spilling
// pages (and syncing the journal) halfway through.
constexpr const char* kCacheSizePragma = "PRAGMA cache_size = -65536";

std::string InsertSql(std::size_t rows) {
    std::string sql = "INSERT INTO ModCatalogue (rowid, \"序号\", \"编码\") VALUES (?, ?, ?)";
    for (std::size_t i = 1; i < rows; ++i) sql += ", (?, ?, ?)";
    return sql;
}

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

std::string ColumnList() {
    std::string list;
    for (const FieldInfo& info : kFields) {
        if (!list.empty()) list += ", ";
        list += Quoted(info.name);
    }
    return list;
}

std::string FormatDate(const LocalDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

// Accepts "YYYY-MM-DD HH:MM:SS" and the date alone; anything else is the empty date.
std::optional<LocalDateTime> ParseDate(std::string_view text) {
    LocalDateTime t;
    char tail = 0;
    std::string s(text);
    int fields = std::sscanf(s.c_str(), "%d-%d-%d %d:%d:%d%c", &t.year, &t.month, &t.day, &t.hour,
                             &t.minute, &t.second, &tail);
    if (fields != 6 && fields != 3) return std::nullopt;
    if (fields == 3) t.hour = t.minute = t.second = 0;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 ||
        t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) {
        return std::nullopt;
    }
    return t;
}

FieldValue ReadColumn(const SqliteStatement& row, int column, FieldKind kind) {
    switch (kind) {
        case FieldKind::WholeNumber:
            if (row.columnIsReal(column)) {
                // Written by another program as a real: a hair off a whole number is that number.
                const double value = row.columnDouble(column);
                const double whole = std::round(value);
                return static_cast<std::int64_t>(
                    std::fabs(value - whole) <= kNumberTolerance ? whole : std::trunc(value));
            }
            return row.columnInt(column);
        case FieldKind::Text:
            return GbkText::fromBytes(row.columnBytes(column));
        case FieldKind::Logical:
            return row.columnInt(column) != 0;
        case FieldKind::DateTime:
            if (row.columnIsNull(column)) return std::optional<LocalDateTime>();
            return ParseDate(row.columnView(column));
    }
    return GbkText();
}

void BindValue(SqliteStatement& statement, int index, FieldKind kind, const FieldValue& value) {
    switch (kind) {
        case FieldKind::WholeNumber:
            if (const auto* number = std::get_if<std::int64_t>(&value)) {
                statement.bindInt(index, *number);
                return;
            }
            break;
        case FieldKind::Text:
            if (const auto* text = std::get_if<GbkText>(&value)) {
                statement.bindBlob(index, text->view());
                return;
            }
            break;
        case FieldKind::Logical:
            if (const auto* flag = std::get_if<bool>(&value)) {
                statement.bindInt(index, *flag ? 1 : 0);
                return;
            }
            break;
        case FieldKind::DateTime:
            if (const auto* date = std::get_if<std::optional<LocalDateTime>>(&value)) {
                if (*date) {
                    statement.bindText(index, FormatDate(**date));
                } else {
                    statement.bindNull(index);
                }
                return;
            }
            break;
    }
    // A value of the wrong kind stores the field's empty value rather than a foreign type.
    BindValue(statement, index, kind, EmptyValue(kind));
}

}  // namespace

std::string ModCatalogue::CreateTableSql() {
    std::string sql = "CREATE TABLE ModCatalogue (";
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += Quoted(kFields[i].name);
        switch (kFields[i].kind) {
            case FieldKind::WholeNumber:
                sql += " INTEGER NOT NULL";
                break;
            case FieldKind::Text:
                sql += " BLOB NOT NULL DEFAULT x''";
                break;
            case FieldKind::Logical:
                sql += " INTEGER NOT NULL DEFAULT 0";
                break;
            case FieldKind::DateTime:
                sql += " TEXT";
                break;
        }
    }
    sql += ")";
    return sql;
}

std::unique_ptr<ModCatalogue> ModCatalogue::open(const std::string& path, std::string* error) {
    if (!PathExists(path) || IsDirectory(path)) {
        if (error) *error = "the file does not exist";
        return nullptr;
    }
    auto db = SqliteDatabase::open(path, SqliteDatabase::Mode::ReadWrite, error);
    if (!db) return nullptr;
    if (auto problem = CatalogueColumnsProblem(*db)) {
        if (error) *error = *problem;
        return nullptr;
    }
    if (!IsTable(*db)) {
        if (error) *error = "ModCatalogue is a view, not a table";
        return nullptr;
    }
    db->execute(kCacheSizePragma);
    std::unique_ptr<ModCatalogue> catalogue(new ModCatalogue(std::move(db)));
    if (!catalogue->readCount()) {
        if (error) *error = catalogue->db_->lastError();
        return nullptr;
    }
    return catalogue;
}

ModCatalogue::ModCatalogue(std::unique_ptr<SqliteDatabase> db) : db_(std::move(db)) {}

ModCatalogue::~ModCatalogue() {
    close();
}

SqliteStatement* ModCatalogue::statement(std::unique_ptr<SqliteStatement>& slot,
                                         const std::string& sql) {
    if (!slot) {
        // A statement that does not prepare (a changed file, no memory) is a failed step.
        auto prepared = db_->prepare(sql);
        if (!prepared) return nullptr;
        slot = std::make_unique<SqliteStatement>(std::move(*prepared));
    }
    slot->reset();
    return slot.get();
}

bool ModCatalogue::goToRecord(int n) {
    if (n < 1 || n > count_) return false;
    if (n != current_) cached_.reset();
    current_ = n;
    return true;
}

void ModCatalogue::goToFirstRecord() {
    goToRecord(1);
}

bool ModCatalogue::loadCurrent() {
    if (cached_) return true;
    if (current_ < 1) return false;
    auto* prepared =
        statement(selectRow_, "SELECT " + ColumnList() + " FROM ModCatalogue WHERE rowid = ?");
    if (!prepared) return false;
    auto& select = *prepared;
    select.bindInt(1, current_);
    if (select.step() != SqliteStatement::Step::Row) return false;
    ModRecord record;
    for (int i = 0; i < kFieldCount; ++i) {
        record[static_cast<std::size_t>(i)] =
            ReadColumn(select, i, kFields[static_cast<std::size_t>(i)].kind);
    }
    cached_ = std::move(record);
    return true;
}

FieldValue ModCatalogue::read(int position) {
    if (position < 1 || position > kFieldCount) return GbkText();
    if (!loadCurrent()) return EmptyValue(InfoOf(position).kind);
    return (*cached_)[static_cast<std::size_t>(position - 1)];
}

FieldValue ModCatalogue::read(std::string_view name) {
    int position = PositionOf(name);
    return position == 0 ? FieldValue(GbkText()) : read(position);
}

bool ModCatalogue::beginWrite() {
    if (inBatch_) return true;
    if (!db_->execute("BEGIN IMMEDIATE")) return false;
    inBatch_ = true;
    batchStarted_ = MillisecondsSinceStart();
    return true;
}

bool ModCatalogue::endWrite(bool ok) {
    if (ok && !holdBatch_ && MillisecondsSinceStart() - batchStarted_ >= kBatchMilliseconds) {
        return commit();
    }
    return ok;
}

bool ModCatalogue::write(int position, const FieldValue& value) {
    if (position < 1 || position > kFieldCount || current_ < 1 || !beginWrite()) return false;
    const FieldInfo& info = InfoOf(position);
    auto* prepared =
        statement(update_[static_cast<std::size_t>(position - 1)],
                  "UPDATE ModCatalogue SET " + Quoted(info.name) + " = ? WHERE rowid = ?");
    if (!prepared) return false;
    auto& update = *prepared;
    BindValue(update, 1, info.kind, value);
    update.bindInt(2, current_);
    bool ok = update.step() == SqliteStatement::Step::Done;
    cached_.reset();
    return endWrite(ok);
}

bool ModCatalogue::write(const std::vector<std::pair<Field, FieldValue>>& fields) {
    if (fields.empty()) return true;
    std::array<const FieldValue*, kFieldCount> values{};
    std::uint32_t set = 0;
    for (const auto& [field, value] : fields) {
        const int position = Position(field);
        if (position < 1 || position > kFieldCount) return false;
        values[static_cast<std::size_t>(position - 1)] = &value;
        set |= std::uint32_t{1} << (position - 1);
    }
    if (current_ < 1 || !beginWrite()) return false;
    auto& slot = updateMany_[set];
    std::string sql;
    if (!slot) {
        sql = "UPDATE ModCatalogue SET ";
        bool first = true;
        for (int i = 0; i < kFieldCount; ++i) {
            if (!values[static_cast<std::size_t>(i)]) continue;
            if (!first) sql += ", ";
            sql += Quoted(kFields[static_cast<std::size_t>(i)].name) + " = ?";
            first = false;
        }
        sql += " WHERE rowid = ?";
    }
    auto* prepared = statement(slot, sql);
    if (!prepared) {
        updateMany_.erase(set);
        return false;
    }
    auto& update = *prepared;
    int index = 1;
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldValue* value = values[static_cast<std::size_t>(i)];
        if (!value) continue;
        BindValue(update, index++, kFields[static_cast<std::size_t>(i)].kind, *value);
    }
    update.bindInt(index, current_);
    bool ok = update.step() == SqliteStatement::Step::Done;
    cached_.reset();
    return endWrite(ok);
}

bool ModCatalogue::addRecord(std::int64_t number, const GbkText& code) {
    const NewRecord record{number, code.view()};
    return addRecords({&record, 1}) == 1;
}

std::size_t ModCatalogue::addRecords(std::span<const NewRecord> records) {
    std::size_t written = 0;
    while (written < records.size()) {
        const auto run =
            records.subspan(written, std::min(kRowsPerInsert, records.size() - written));
        if (!beginWrite()) break;
        const bool ok = insertRun(run);
        if (ok) written += run.size();
        if (!endWrite(ok)) break;
    }
    return written;
}

// One INSERT of many rows: a statement per row would cost more than the rows themselves.
bool ModCatalogue::insertRun(std::span<const NewRecord> run) {
    std::unique_ptr<SqliteStatement> oddSized;
    std::unique_ptr<SqliteStatement>& slot = run.size() == kRowsPerInsert ? insertMany_
                                             : run.size() == 1            ? insert_
                                                                          : oddSized;
    auto* prepared = statement(slot, InsertSql(run.size()));
    if (!prepared) return false;
    auto& insert = *prepared;
    int index = 1;
    std::int64_t rowid = count_;
    for (const NewRecord& record : run) {
        insert.bindInt(index++, ++rowid);
        insert.bindInt(index++, record.number);
        insert.bindBlobUntilStep(index++, record.code);
    }
    const bool ok = insert.step() == SqliteStatement::Step::Done;
    insert.reset();
    if (ok) count_ = static_cast<int>(rowid);
    return ok;
}

bool ModCatalogue::clear() {
    if (!beginWrite()) return false;
    bool ok = db_->execute("DELETE FROM ModCatalogue");
    if (ok) {
        count_ = 0;
        current_ = 0;
        cached_.reset();
    }
    return endWrite(ok);
}

bool ModCatalogue::findCode(const GbkText& code) {
    if (current_ < 1) return false;
    auto* prepared =
        statement(findCode_,
                  "SELECT rowid FROM ModCatalogue WHERE rowid >= ? AND CAST(\"编码\" AS BLOB) = ? "
                  "ORDER BY rowid LIMIT 1");
    if (!prepared) return false;
    auto& find = *prepared;
    find.bindInt(1, current_);
    find.bindBlob(2, code.view());
    if (find.step() != SqliteStatement::Step::Row) return false;
    return goToRecord(static_cast<int>(find.columnInt(0)));
}

bool ModCatalogue::findNumber(double number) {
    if (current_ < 1) return false;
    auto* prepared = statement(findNumber_,
                               "SELECT rowid FROM ModCatalogue WHERE rowid >= ? AND "
                               "abs(CAST(\"序号\" AS REAL) - ?) <= ? ORDER BY rowid LIMIT 1");
    if (!prepared) return false;
    auto& find = *prepared;
    find.bindDouble(3, kNumberTolerance);
    find.bindInt(1, current_);
    find.bindDouble(2, number);
    if (find.step() != SqliteStatement::Step::Row) return false;
    return goToRecord(static_cast<int>(find.columnInt(0)));
}

bool ModCatalogue::forEachRecord(const std::function<void(int, const ModRecord&)>& visit) {
    auto all = db_->prepare("SELECT rowid, " + ColumnList() + " FROM ModCatalogue ORDER BY rowid");
    if (!all) return false;
    ModRecord record;
    for (;;) {
        auto step = all->step();
        if (step == SqliteStatement::Step::Done) return true;
        if (step == SqliteStatement::Step::Error) return false;
        for (int i = 0; i < kFieldCount; ++i) {
            record[static_cast<std::size_t>(i)] =
                ReadColumn(*all, i + 1, kFields[static_cast<std::size_t>(i)].kind);
        }
        visit(static_cast<int>(all->columnInt(0)), record);
    }
}

bool ModCatalogue::forEachNumberAndCode(
    const std::function<void(double number, const GbkText& code)>& visit) {
    auto all = db_->prepare("SELECT \"序号\", \"编码\" FROM ModCatalogue ORDER BY rowid");
    if (!all) return false;
    for (;;) {
        auto step = all->step();
        if (step == SqliteStatement::Step::Done) return true;
        if (step == SqliteStatement::Step::Error) return false;
        visit(all->columnDouble(0), GbkText::fromBytes(all->columnBytes(1)));
    }
}

// Records are numbered 1…N without gaps, so the largest rowid is the count, found at once in
// the table's tree where count(*) would read every page.
bool ModCatalogue::readCount() {
    auto count = db_->prepare("SELECT coalesce(max(rowid), 0) FROM ModCatalogue");
    if (!count || count->step() != SqliteStatement::Step::Row) return false;
    count_ = static_cast<int>(count->columnInt(0));
    current_ = count_ > 0 ? 1 : 0;
    cached_.reset();
    return true;
}

bool ModCatalogue::commit() {
    if (!inBatch_) return true;
    inBatch_ = false;
    if (db_->execute("COMMIT")) {
        ++commits_;
        return true;
    }
    inBatch_ = true;
    rollback();
    return false;
}

void ModCatalogue::rollback() {
    if (!inBatch_) return;
    inBatch_ = false;
    db_->execute("ROLLBACK");
    // The count may now be ahead of the file: the next record must follow what is stored.
    readCount();
}

bool ModCatalogue::truncate(int count) {
    if (count >= count_) return true;
    if (!beginWrite()) return false;
    auto cut = db_->prepare("DELETE FROM ModCatalogue WHERE rowid > ?");
    if (!cut) return false;
    cut->bindInt(1, count);
    if (cut->step() != SqliteStatement::Step::Done) return false;
    count_ = count;
    if (current_ > count_) current_ = count_;
    cached_.reset();
    return true;
}

void ModCatalogue::close() {
    if (!db_) return;
    commit();
    selectRow_.reset();
    insert_.reset();
    findCode_.reset();
    findNumber_.reset();
    for (auto& update : update_) update.reset();
    updateMany_.clear();
    db_.reset();
}

}  // namespace kestavel
