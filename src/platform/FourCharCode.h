#pragma once

#include <QtGlobal>

namespace kivaro {

// The 32-bit code the Mac's system interfaces spell as four characters ('KVRO', 'list'):
// the first character in the highest byte.
constexpr quint32 fourCharCode(const char (&code)[5]) {
    return quint32(quint8(code[0])) << 24 | quint32(quint8(code[1])) << 16 |
           quint32(quint8(code[2])) << 8 | quint32(quint8(code[3]));
}

} // namespace kivaro
