#include "browsers/Action.h"

namespace kivaro {

namespace {

template <typename... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};

} // namespace

QString Action::typeName() const {
    return std::visit(Overloaded{
                          [](const SwitchTab&) { return QStringLiteral("switchTab"); },
                          [](const RevealTab&) { return QStringLiteral("revealTab"); },
                          [](const Open&) { return QStringLiteral("open"); },
                          [](const Menu&) { return QStringLiteral("menu"); },
                          [](const CopyLink&) { return QStringLiteral("copyLink"); },
                          [](const DevMode&) { return QStringLiteral("devMode"); },
                      },
                      payload);
}

} // namespace kivaro
