#pragma once

#include "support/Files.h"

#include <QStringList>

namespace kivaro::testing {

// The rows of a table in tests/fixtures: each line's cells, separated by tabs, as text; empty
// lines and "#" comments are skipped. `columns` is checked so that a damaged line fails.
inline QList<QStringList> fixtureRows(const QString& name, qsizetype columns) {
    QList<QStringList> rows;
    for (const QByteArray& line : fixtureLines(name)) {
        rows.append(QString::fromUtf8(line).split(u'\t'));
        EXPECT_EQ(rows.last().size(), columns) << line.toStdString();
        rows.last().resize(columns);
    }
    return rows;
}

} // namespace kivaro::testing
