// A small SQLite layer: one connection shared by all request threads under
// one mutex (requests are short; serialising them keeps every read
// consistent with the last write), and a statement wrapper.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace forum {

class Statement {
public:
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    Statement& Bind(int index, int value);
    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, const std::string& value);

    // Advances to the next row; false at the end or on error.
    bool Step();
    // Runs to completion; false on error.
    bool Run();

    int Int(int col) const;
    std::int64_t Int64(int col) const;
    double Double(int col) const;
    std::string Text(int col) const;
    bool IsNull(int col) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool Open(const std::string& path, std::string& error);
    bool Exec(const std::string& sql, std::string& error);
    Statement Prepare(const char* sql) { return Statement(db_, sql); }
    std::int64_t LastInsertId() const;
    int UserVersion();

    std::mutex& mutex() { return mutex_; }

    // A single integer from a query with bound parameters, or `fallback`.
    template <typename... Args>
    std::int64_t Scalar(std::int64_t fallback, const char* sql, const Args&... args) {
        Statement st(db_, sql);
        int i = 1;
        (st.Bind(i++, args), ...);
        return st.Step() ? st.Int64(0) : fallback;
    }

private:
    sqlite3* db_ = nullptr;
    std::mutex mutex_;
};

}  // namespace forum
