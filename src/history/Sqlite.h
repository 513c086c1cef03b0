#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace kivaro::Sqlite {

// One connection, closed when the object goes; it never outlives the call that opened it.
class Connection {
public:
    // Opens an existing file with these SQLite open flags, never creating one and never
    // reading the name as a URI; nothing when SQLite refuses.
    static std::optional<Connection> open(const QString& path, int flags);

    Connection(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection& operator=(Connection&&) = delete;
    ~Connection();

    sqlite3* handle() const { return handle_; }
    QString error() const;
    // Runs `sql` and drops its rows; whether it succeeded.
    bool execute(const char* sql) const;

private:
    explicit Connection(sqlite3* handle) : handle_(handle) {}
    sqlite3* handle_;
};

// One prepared statement, finalized when the object goes.
class Statement {
public:
    // Nothing when the text does not prepare; the failure is logged with SQLite's message.
    static std::optional<Statement> prepare(const Connection& connection, const QString& sql);

    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;
    ~Statement();

    // Advances to the next row; false at the end or on an error (a damaged file mid-way).
    bool next() const;
    int columns() const;
    bool isNull(int column) const;
    // The column as text; NULL gives the empty string, bad UTF-8 replacement characters.
    QString text(int column) const;
    qint32 int32(int column) const;
    double real(int column) const;

private:
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    sqlite3_stmt* statement_;
};

// A read-only query on a file: the connection and its statement, released together.
struct ReadOnlyQuery {
    Connection connection;
    Statement statement;

    // Nothing when the file does not open read-only or `sql` does not prepare.
    static std::optional<ReadOnlyQuery> prepare(const QString& path, const QString& sql);
};

} // namespace kivaro::Sqlite
