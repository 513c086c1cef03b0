#pragma once

#include <QString>
#include <QStringList>

#include <variant>

namespace kivaro {

// Where an `open` action loads its page.
enum class OpenMode { newTab, currentTab };

// What choosing a result does. Equality compares the case and then every payload field.
struct Action {
    struct SwitchTab {
        qint64 windowID = 0;
        qint64 index = 0;
        bool operator==(const SwitchTab&) const = default;
    };
    struct RevealTab {
        QString url;
        bool operator==(const RevealTab&) const = default;
    };
    struct Open {
        QString url;
        bool operator==(const Open&) const = default;
    };
    struct Menu {
        QStringList path;
        bool operator==(const Menu&) const = default;
    };
    struct CopyLink {
        bool markdown = false;
        bool operator==(const CopyLink&) const = default;
    };
    struct DevMode {
        bool operator==(const DevMode&) const = default;
    };

    using Payload = std::variant<SwitchTab, RevealTab, Open, Menu, CopyLink, DevMode>;
    Payload payload = DevMode{};

    static Action switchTab(qint64 windowID, qint64 index) { return {SwitchTab{windowID, index}}; }
    static Action revealTab(QString url) { return {RevealTab{std::move(url)}}; }
    static Action open(QString url) { return {Open{std::move(url)}}; }
    static Action menu(QStringList path) { return {Menu{std::move(path)}}; }
    static Action copyLink(bool markdown) { return {CopyLink{markdown}}; }
    static Action devMode() { return {DevMode{}}; }

    // The payload when the action is of case T, otherwise null.
    template <typename T>
    const T* as() const {
        return std::get_if<T>(&payload);
    }

    // The case name as written in the program's own files ("switchTab", "open", ...).
    QString typeName() const;

    bool operator==(const Action&) const = default;
};

} // namespace kivaro
