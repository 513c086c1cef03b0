#include "MenuTrees.h"

#include "support/Files.h"

using namespace Qt::StringLiterals;

namespace kivaro::MenuTrees {

namespace {

using F = FakeMenuBarAccess;

// One line of a .menu fixture: "title [~ toggled title] | key | modifiers | off", the modifiers
// as letters for the raw accessibility bits (s shift, o option, c control, n no command), as
// the raw integer itself, or "none" for no modifiers attribute.
F::Node parsed(const QString& line, bool toggled) {
    QStringList fields = line.split(u'|');
    for (QString& field : fields)
        field = field.trimmed();
    if (fields[0] == u"---")
        return F::separator();
    const QStringList titles = fields[0].split(u" ~ "_s);
    QString key = fields.value(1);
    key = key == u"space" ? u" "_s : key == u"\\t" ? u"\t"_s : key;
    bool raw = false;
    std::optional<qint64> modifiers = fields.value(2).toLongLong(&raw, 0);
    for (qsizetype bit = 0; bit < 4 && !raw; ++bit)
        *modifiers |= fields.value(2).contains(u"socn"_s[bit]) ? qint64(1) << bit : 0;
    if (fields.value(2) == u"none")
        modifiers = std::nullopt;
    return F::item(titles.value(toggled ? 1 : 0, titles[0]), key, modifiers,
                   fields.value(3) != u"off");
}

struct Entry {
    F::Node node;
    std::vector<Entry> below;

    // An element with items below it holds them in a menu, as the accessibility layout has it.
    F::Node built() const {
        std::vector<F::Node> items;
        for (const Entry& entry : below)
            items.push_back(entry.built());
        return below.empty() ? node : F::menu(node.title, std::move(items));
    }
};

} // namespace

F::Node fromFixture(const QString& name, bool toggled) {
    Entry root;
    for (const QString& line : testing::fixtureText(u"menus/"_s + name + u".menu"_s).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        Entry* parent = &root;
        for (qsizetype depth = (line.size() - line.trimmed().size()) / 2; depth > 0; --depth)
            parent = &parent->below.back();
        parent->below.push_back({parsed(line.trimmed(), toggled), {}});
    }
    std::vector<F::Node> menus;
    for (const Entry& menu : root.below)
        menus.push_back(menu.built());
    return F::bar(std::move(menus));
}

QStringList commandLines(const QList<Command>& commands) {
    QStringList lines;
    for (const Command& command : commands) {
        QString action = command.action.typeName();
        if (const auto* menu = command.action.as<Action::Menu>())
            action = menu->path.join(u" › "_s);
        else if (const auto* copy = command.action.as<Action::CopyLink>())
            action += copy->markdown ? u" markdown"_s : QString();
        lines.append(QStringList{command.menu, command.title, command.symbol, command.keywords,
                                 command.keys.join(QString()), action}
                         .join(u" | "_s) +
                     (command.core ? u" | core"_s : QString()));
    }
    return lines;
}

QStringList expected(const QString& name) {
    return testing::fixtureText(u"menus/"_s + name).trimmed().split(u'\n');
}

} // namespace kivaro::MenuTrees
