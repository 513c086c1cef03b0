#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
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
    // Makes every statement of this connection stop at `deadline`, keeps any one value under
    // `longestValue` bytes and lets nothing in the schema run with side effects.
    void guard(QDeadlineTimer deadline, int longestValue);
    // Whether each name is a table of the main schema (not a view, not a virtual table).
    bool hasTables(const QStringList& names) const;

private:
    explicit Connection(sqlite3* handle) : handle_(handle) {}
    sqlite3* handle_;
    std::unique_ptr<QDeadlineTimer> deadline_; // where SQLite's progress handler looks
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
    // The bytes of the column when it holds text or a blob, else 0.
    qint64 size(int column) const;
    // Whether the last step stopped at the connection's deadline.
    bool interrupted() const;
    qint32 int32(int column) const;
    double real(int column) const;

private:
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    sqlite3_stmt* statement_;
    mutable int lastStep_ = 0;
};

// How much one read of another program's database may take: a view over an endless
// recursive query, or simply an enormous table, must not hold the reader for good.
namespace Bounds {
constexpr std::chrono::milliseconds time{5000};
constexpr qsizetype rows = 100000;
constexpr qint64 bytes = 32 * 1024 * 1024; // text and blobs of all rows together
constexpr int valueLength = 1024 * 1024;
} // namespace Bounds

// A read-only query on a file: the connection and its statement, released together, read
// within the Bounds.
struct ReadOnlyQuery {
    Connection connection;
    Statement statement;
    qsizetype rowsRead = 0;
    qint64 bytesRead = 0;

    // Nothing when the file does not open read-only, one of `tables` is not a real table or
    // `sql` does not prepare. The statement stops at `deadline`.
    static std::optional<ReadOnlyQuery>
    prepare(const QString& path, const QString& sql, const QStringList& tables = {},
            QDeadlineTimer deadline = QDeadlineTimer(Bounds::time));
    // Advances to the next row; false at the end, on an error, or past a bound.
    bool next();
    // Whether the read stopped at a bound, so the rows read are not all there are.
    bool exceeded() const;
};

} // namespace kivaro::Sqlite
