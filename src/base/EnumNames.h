#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <utility>

namespace kivaro {

// A fixed table between an enumeration's cases and their stored raw strings.
template <typename E, std::size_t N>
struct EnumNames {
    std::array<std::pair<E, const char16_t*>, N> table;

    QString raw(E value) const {
        for (const auto& [candidate, name] : table) {
            if (candidate == value)
                return QString::fromUtf16(name);
        }
        return {};
    }

    std::optional<E> parse(QStringView raw) const {
        for (const auto& [candidate, name] : table) {
            if (raw == QStringView(name))
                return candidate;
        }
        return std::nullopt;
    }

    constexpr std::size_t size() const { return N; }
};

} // namespace kivaro
