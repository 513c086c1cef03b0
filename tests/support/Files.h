#pragma once

#include "support/Paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

namespace kivaro::testing {

// Writes `bytes` to `path`, making its folders first; a failure fails the test.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a file in tests/fixtures; empty when it cannot be read.
inline QString fixtureText(const QString& name) {
    return QString::fromUtf8(readFile(fixturePath(name)));
}

// The lines of a file in tests/fixtures, without empty lines and "#" comments.
inline QList<QByteArray> fixtureLines(const QString& name) {
    QList<QByteArray> lines;
    for (const QByteArray& line : readFile(fixturePath(name)).split('\n')) {
        if (!line.isEmpty() && !line.startsWith('#'))
            lines.append(line);
    }
    EXPECT_FALSE(lines.isEmpty()) << name.toStdString();
    return lines;
}

} // namespace kivaro::testing
