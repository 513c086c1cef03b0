#include "support/Paths.h"

namespace kivaro::testing {

QString fixturePath(const QString& name) {
    return QStringLiteral(KIVARO_SOURCE_DIR "/tests/fixtures/") + name;
}

QString sourcePath(const QString& relative) {
    return QStringLiteral(KIVARO_SOURCE_DIR "/") + relative;
}

QString queryToolPath() {
    return QStringLiteral(KIVARO_QUERY_BINARY);
}

QString programPath() {
    return QStringLiteral(KIVARO_PROGRAM);
}

} // namespace kivaro::testing
