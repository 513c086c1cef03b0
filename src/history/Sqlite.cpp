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

Connection::Connection(Connection&& other) noexcept : handle_(other.handle_) {
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

Statement::Statement(Statement&& other) noexcept : statement_(other.statement_) {
    other.statement_ = nullptr;
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

bool Statement::next() const {
    return sqlite3_step(statement_) == SQLITE_ROW;
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

qint32 Statement::int32(int column) const {
    return sqlite3_column_int(statement_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::optional<ReadOnlyQuery> ReadOnlyQuery::prepare(const QString& path, const QString& sql) {
    auto connection = Connection::open(path, SQLITE_OPEN_READONLY);
    if (!connection)
        return std::nullopt;
    auto statement = Statement::prepare(*connection, sql);
    if (!statement)
        return std::nullopt;
    return ReadOnlyQuery{std::move(*connection), std::move(*statement)};
}

} // namespace kivaro::Sqlite
