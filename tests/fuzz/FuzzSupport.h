#pragma once

// What the fuzz targets share: the input as Qt bytes, invariants that stop the run with the
// offending text, and scratch files for the readers that only read from disk.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kivaro::fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Stops the run when an invariant does not hold; libFuzzer keeps the input as a crash.
inline void require(bool holds, const char* invariant, const QString& detail = {}) {
    if (holds)
        return;
    std::fprintf(stderr, "invariant broken: %s: %s\n", invariant, qUtf8Printable(detail));
    std::abort();
}

// What `decode` reads from `input`; when that is something, encoding and decoding it again
// must give it back.
template <typename Decode, typename Encode>
auto requireRoundTrip(const QByteArray& input, Decode decode, Encode encode, const char* what) {
    const auto decoded = decode(input);
    if (decoded)
        require(decode(encode(*decoded)) == decoded, what);
    return decoded;
}

// A folder of this process for inputs that must be files, removed when the process ends.
inline const QString& scratchFolder() {
    static const QTemporaryDir folder;
    static const QString path = folder.path();
    return path;
}

// Writes `contents` to `name` in the scratch folder; its path.
inline QString scratchFile(const QString& name, const QByteArray& contents) {
    const QString path = scratchFolder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) < 0)
        std::abort();
    return path;
}

} // namespace kivaro::fuzz
