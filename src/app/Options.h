#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace kivaro {

// The command line of the program.
struct Options {
    // Open the panel in new-tab mode once started.
    bool show = false;
    // Show the demonstration content instead of a browser's (and open the panel).
    bool demo = false;
    // Show the panel, type `query`, write its picture to this file and quit.
    std::optional<QString> screenshot;
    QString query;
    bool help = false;

    // The options, or a one-line description of what is wrong with them.
    static std::variant<Options, QString> parse(const QStringList& arguments);
    static QString usage();

    bool operator==(const Options&) const = default;
};

} // namespace kivaro
