#pragma once

// Runs kivaro-query, in process or as its own process, and reads what it printed.
#include "support/Paths.h"
#include "tools/query/QueryTool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kivaro::testing {

inline const QString sampleState = sourcePath(QStringLiteral("resources/sample-state.json"));

inline QStringList withSample(const QStringList& arguments) {
    return QStringList{QStringLiteral("--state"), sampleState} + arguments;
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;

    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    QJsonArray rows() const { return json().value(u"rows").toArray(); }
    // The text at `key` of every row (of `kind`, when given); "action.url" reads into the action.
    QStringList values(const QString& key, const QString& kind = {}) const {
        QStringList values;
        for (const QJsonValue row : rows())
            if (kind.isEmpty() || row[u"kind"] == kind)
                values.append(key.startsWith(u"action.") ? row[u"action"][key.mid(7)].toString()
                                                         : row[key].toString());
        return values;
    }
};

inline ToolRun runTool(const QStringList& arguments, const PrivateFolder* snapshots = nullptr) {
    ToolRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode =
        runQueryTool(QStringList{QStringLiteral("kivaro-query")} + arguments, out, err, snapshots);
    return run;
}

// The binary in `environment`, started through `launcher` (a program and its arguments) when
// one is given. A run that does not finish has exit code -1.
inline ToolRun runToolProcess(const QStringList& arguments, const QProcessEnvironment& environment,
                              const QStringList& launcher = {}) {
    QProcess process;
    process.setProcessEnvironment(environment);
    const QStringList command = launcher + QStringList{queryToolPath()} + arguments;
    process.start(command.first(), command.mid(1));
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace kivaro::testing
