#include "history/Sqlite.h"

#include <QDebug>
#include <QFile>

#include <sqlite3.h>

namespace kivaro::Sqlite {

std::optional<Connection> Connection::open(const QString& path, int flags) {
    if (path.contains(QChar(0)))
        return std::nullopt; // the C name would end early and name another file
    sqlite3* handle = nullptr;
    const int result = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                                       flags & ~(SQLITE_OPEN_CREATE | SQLITE_OPEN_URI), nullptr);
    Connection connection(handle); // SQLite may hand out a handle even when the open fails
    if (result != SQLITE_OK)
        return std::nullopt;
    return connection;
}

Connection::Connection(Connection&& other) noexcept
    : handle_(other.handle_), deadline_(std::move(other.deadline_)) {
    other.handle_ = nullptr;
}

Connection::~Connection() {
    sqlite3_close(handle_);
}

QString Connection::error() const {
    return QString::fromUtf8(sqlite3_errmsg(handle_));
}

bool Connection::execute(const char* sql) const {
    return sqlite3_exec(handle_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void Connection::guard(QDeadlineTimer deadline, int longestValue) {
    deadline_ = std::make_unique<QDeadlineTimer>(deadline);
    // A non-zero answer interrupts the statement, which then fails with SQLITE_INTERRUPT.
    const auto expired = [](void* timer) -> int {
        return static_cast<QDeadlineTimer*>(timer)->hasExpired() ? 1 : 0;
    };
    sqlite3_progress_handler(handle_, 1000, expired, deadline_.get());
    sqlite3_limit(handle_, SQLITE_LIMIT_LENGTH, longestValue);
    sqlite3_db_config(handle_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(handle_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
}

bool Connection::hasTables(const QStringList& names) const {
    for (const QString& name : names) {
        sqlite3_stmt* raw = nullptr;
        sqlite3_prepare_v2(handle_,
                           "SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = ?1 "
                           "COLLATE NOCASE AND sql NOT LIKE 'CREATE VIRTUAL%'",
                           -1, &raw, nullptr);
        const QByteArray utf8 = name.toUtf8();
        sqlite3_bind_text(raw, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        const int step = sqlite3_step(raw);
        const QString problem =
            step == SQLITE_DONE ? name + QStringLiteral(" is not a table") : error();
        sqlite3_finalize(raw);
        if (step != SQLITE_ROW) {
            qWarning().noquote() << QStringLiteral("Kivaro history query failed: %1").arg(problem);
            return false;
        }
    }
    return true;
}

std::optional<Statement> Statement::prepare(const Connection& connection, const QString& sql) {
    sqlite3_stmt* prepared = nullptr;
    const QByteArray text = sql.toUtf8();
    const int result =
        sqlite3_prepare_v2(connection.handle(), text.constData(), -1, &prepared, nullptr);
    Statement statement(prepared);
    if (result != SQLITE_OK || prepared == nullptr) {
        qWarning().noquote()
            << QStringLiteral("Kivaro history query failed: %1").arg(connection.error());
        return std::nullopt;
    }
    return statement;
}

Statement::Statement(Statement&& other) noexcept
    : statement_(other.statement_), lastStep_(other.lastStep_) {
    other.statement_ = nullptr;
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

bool Statement::next() const {
    lastStep_ = sqlite3_step(statement_);
    return lastStep_ == SQLITE_ROW;
}

bool Statement::interrupted() const {
    return lastStep_ == SQLITE_INTERRUPT;
}

int Statement::columns() const {
    return sqlite3_column_count(statement_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

QString Statement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(statement_, column));
}

qint64 Statement::size(int column) const {
    const int type = sqlite3_column_type(statement_, column);
    if (type != SQLITE_TEXT && type != SQLITE_BLOB)
        return 0;
    return sqlite3_column_bytes(statement_, column);
}

qint32 Statement::int32(int column) const {
    return sqlite3_column_int(statement_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::optional<ReadOnlyQuery> ReadOnlyQuery::prepare(const QString& path, const QString& sql,
                                                    const QStringList& tables,
                                                    QDeadlineTimer deadline) {
    auto connection = Connection::open(path, SQLITE_OPEN_READONLY);
    if (!connection)
        return std::nullopt;
    connection->guard(deadline, Bounds::valueLength);
    if (!connection->hasTables(tables))
        return std::nullopt;
    auto statement = Statement::prepare(*connection, sql);
    if (!statement)
        return std::nullopt;
    return ReadOnlyQuery{std::move(*connection), std::move(*statement)};
}

bool ReadOnlyQuery::next() {
    if (exceeded() || !statement.next())
        return false;
    ++rowsRead;
    for (int column = 0; column < statement.columns(); ++column)
        bytesRead += statement.size(column);
    return !exceeded();
}

bool ReadOnlyQuery::exceeded() const {
    return rowsRead > Bounds::rows || bytesRead > Bounds::bytes || statement.interrupted();
}

} // namespace kivaro::Sqlite
