#pragma once

// Runs kivaro-query in process and reads what it printed.
#include "tools/query/QueryTool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kivaro::testing {

inline const QString sampleState = QStringLiteral(KIVARO_SOURCE_DIR "/resources/sample-state.json");

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;

    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    QJsonArray rows() const { return json().value(u"rows").toArray(); }
};

inline ToolRun runTool(const QStringList& arguments) {
    ToolRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode = runQueryTool(QStringList{QStringLiteral("kivaro-query")} + arguments, out, err);
    return run;
}

} // namespace kivaro::testing
