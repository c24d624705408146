#include "database.h"

#include <cstdio>

namespace forum {

Statement::Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "local-forum: SQL error: %s in: %s\n", sqlite3_errmsg(db), sql);
        stmt_ = nullptr;
    }
}

Statement::~Statement() {
    if (stmt_) sqlite3_finalize(stmt_);
}

Statement& Statement::Bind(int index, int value) {
    if (stmt_) sqlite3_bind_int(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, std::int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, double value) {
    if (stmt_) sqlite3_bind_double(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, const std::string& value) {
    if (stmt_)
        sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
    return *this;
}

bool Statement::Step() {
    if (!stmt_) return false;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE)
        std::fprintf(stderr, "local-forum: SQL step failed: %s\n", sqlite3_errmsg(db_));
    return false;
}

bool Statement::Run() {
    if (!stmt_) return false;
    int rc;
    while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        std::fprintf(stderr, "local-forum: SQL run failed: %s\n", sqlite3_errmsg(db_));
        return false;
    }
    return true;
}

int Statement::Int(int col) const { return stmt_ ? sqlite3_column_int(stmt_, col) : 0; }
std::int64_t Statement::Int64(int col) const { return stmt_ ? sqlite3_column_int64(stmt_, col) : 0; }
double Statement::Double(int col) const { return stmt_ ? sqlite3_column_double(stmt_, col) : 0.0; }

std::string Statement::Text(int col) const {
    if (!stmt_) return {};
    const unsigned char* p = sqlite3_column_text(stmt_, col);
    int n = sqlite3_column_bytes(stmt_, col);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n)) : std::string();
}

bool Statement::IsNull(int col) const {
    return !stmt_ || sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}

Database::~Database() {
    if (db_) sqlite3_close(db_);
}

bool Database::Open(const std::string& path, std::string& error) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
        error = "cannot open database " + path + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory");
        return false;
    }
    sqlite3_busy_timeout(db_, 2000);
    return Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;", error);
}

bool Database::Exec(const std::string& sql, std::string& error) {
    char* msg = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
        error = msg ? msg : "unknown SQLite error";
        sqlite3_free(msg);
        return false;
    }
    return true;
}

std::int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::UserVersion() {
    Statement st(db_, "PRAGMA user_version");
    return st.Step() ? st.Int(0) : -1;
}

}  // namespace forum
