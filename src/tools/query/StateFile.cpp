#include "tools/query/StateFile.h"

#include "base/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>

namespace kivaro {

namespace {

// Reads typed fields out of untrusted JSON. The first mismatch is remembered with the path
// of the offending value; every read after it returns an empty value.
class Reader {
public:
    explicit Reader(QString& error) : error_(error) {}

    bool failed() const { return !error_.isEmpty(); }

    void fail(const QString& path, const QString& expected) {
        if (!failed())
            error_ = path + QStringLiteral(": expected ") + expected;
    }

    QString string(const QJsonValue& value, const QString& path) {
        if (value.isUndefined() || value.isNull())
            return {};
        if (!value.isString())
            fail(path, QStringLiteral("a string"));
        return value.toString();
    }

    qint64 integer(const QJsonValue& value, const QString& path) {
        if (value.isUndefined() || value.isNull())
            return 0;
        const QVariant number = value.toVariant();
        if (number.typeId() == QMetaType::LongLong)
            return number.toLongLong();
        const double real = value.toDouble();
        // Integers beyond what a double holds exactly are refused rather than rounded.
        if (!value.isDouble() || std::trunc(real) != real || std::abs(real) > 9007199254740992.0) {
            fail(path, QStringLiteral("an integer"));
            return 0;
        }
        return qint64(real);
    }

    bool boolean(const QJsonValue& value, const QString& path) {
        if (value.isUndefined() || value.isNull())
            return false;
        if (!value.isBool())
            fail(path, QStringLiteral("true or false"));
        return value.toBool();
    }

    QDateTime date(const QJsonValue& value, const QString& path) {
        if (value.isUndefined() || value.isNull())
            return {};
        const QDateTime date = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
        if (!value.isString() || !date.isValid()) {
            fail(path, QStringLiteral("an ISO 8601 time"));
            return {};
        }
        return date.toUTC();
    }

    QStringList strings(const QJsonValue& value, const QString& path) {
        QStringList list;
        forEach(value, path, [&](const QJsonValue& item, const QString& itemPath) {
            if (!item.isString())
                fail(itemPath, QStringLiteral("a string"));
            list.append(item.toString());
        });
        return list;
    }

    QJsonObject object(const QJsonValue& value, const QString& path) {
        if (!value.isObject())
            fail(path, QStringLiteral("an object"));
        return value.toObject();
    }

    // Calls `read` with every element of an array; an absent value is an empty array.
    template <typename Read>
    void forEach(const QJsonValue& value, const QString& path, Read read) {
        if (value.isUndefined() || value.isNull())
            return;
        if (!value.isArray()) {
            fail(path, QStringLiteral("an array"));
            return;
        }
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size() && !failed(); ++i)
            read(array[i], path + u'[' + QString::number(i) + u']');
    }

    // The records of an array of objects, each made by `make` from a field reader.
    template <typename Record, typename Make>
    QList<Record> records(const QJsonValue& value, const QString& path, Make make) {
        QList<Record> list;
        forEach(value, path, [&](const QJsonValue& item, const QString& itemPath) {
            const QJsonObject fields = object(item, itemPath);
            if (!failed())
                list.append(make(Fields{*this, fields, itemPath}));
        });
        return list;
    }

    // The fields of one object, read through the reader with their paths.
    struct Fields {
        Reader& reader;
        QJsonObject object;
        QString path;

        QString field(const char16_t* key) const { return path + u'.' + QString::fromUtf16(key); }
        QJsonValue at(const char16_t* key) const { return object.value(QStringView(key)); }
        QString string(const char16_t* key) const { return reader.string(at(key), field(key)); }
        qint64 integer(const char16_t* key) const { return reader.integer(at(key), field(key)); }
        bool boolean(const char16_t* key) const { return reader.boolean(at(key), field(key)); }
        QDateTime date(const char16_t* key) const { return reader.date(at(key), field(key)); }
        QStringList strings(const char16_t* key) const {
            return reader.strings(at(key), field(key));
        }
    };

private:
    QString& error_;
};

SafariTab tabFrom(const Reader::Fields& f) {
    return SafariTab{.windowID = f.integer(u"windowID"),
                     .windowOrder = f.integer(u"windowOrder"),
                     .index = f.integer(u"index"),
                     .title = f.string(u"title"),
                     .url = f.string(u"url"),
                     .group = f.string(u"group"),
                     .isCurrent = f.boolean(u"isCurrent")};
}

HistoryEntry historyFrom(const Reader::Fields& f) {
    return HistoryEntry{.url = f.string(u"url"),
                        .title = f.string(u"title"),
                        .visits = f.integer(u"visits"),
                        .lastVisit = f.date(u"lastVisit")};
}

ArchivedTab archivedFrom(const Reader::Fields& f) {
    return ArchivedTab{
        .title = f.string(u"title"), .url = f.string(u"url"), .closedAt = f.date(u"closedAt")};
}

std::optional<KeyCombo> comboFrom(const Reader::Fields& f) {
    const QJsonValue value = f.at(u"combo");
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    const Reader::Fields combo{f.reader, f.reader.object(value, f.field(u"combo")),
                               f.field(u"combo")};
    return KeyCombo{.modifiers = Modifiers::fromInt(quint32(combo.integer(u"modifiers"))),
                    .key = combo.string(u"character")};
}

std::optional<Action> actionFrom(const Reader::Fields& f) {
    const QString type = f.string(u"type");
    std::optional<Action> action;
    if (type == u"switchTab")
        action = Action::switchTab(f.integer(u"windowID"), f.integer(u"index"));
    else if (type == u"revealTab")
        action = Action::revealTab(f.string(u"url"));
    else if (type == u"open")
        action = Action::open(f.string(u"url"));
    else if (type == u"menu")
        action = Action::menu(f.strings(u"path"));
    else if (type == u"copyLink")
        action = Action::copyLink(f.boolean(u"markdown"));
    else if (type == u"devMode")
        action = Action::devMode();
    else
        f.reader.fail(f.field(u"type"), QStringLiteral("switchTab, revealTab, open, menu, "
                                                       "copyLink or devMode"));
    if (f.reader.failed())
        return std::nullopt;
    return action;
}

Command commandFrom(const Reader::Fields& f) {
    Command command{.title = f.string(u"title"),
                    .symbol = f.string(u"symbol"),
                    .keywords = f.string(u"keywords"),
                    .menu = f.string(u"menu"),
                    .action = Action::menu({}),
                    .keys = f.strings(u"keys"),
                    .core = f.boolean(u"core"),
                    .combo = comboFrom(f)};
    const Reader::Fields action{f.reader, f.reader.object(f.at(u"action"), f.field(u"action")),
                                f.field(u"action")};
    if (f.reader.failed())
        return command;
    if (auto parsed = actionFrom(action))
        command.action = *parsed;
    return command;
}

QHash<QString, QStringList> suggestionsFrom(Reader& reader, const QJsonValue& value) {
    QHash<QString, QStringList> suggestions;
    if (value.isArray()) {
        suggestions.insert(QString(), reader.strings(value, QStringLiteral("suggestions")));
        return suggestions;
    }
    if (value.isUndefined() || value.isNull())
        return suggestions;
    const QJsonObject perQuery = reader.object(value, QStringLiteral("suggestions"));
    for (auto it = perQuery.begin(); it != perQuery.end() && !reader.failed(); ++it) {
        suggestions.insert(it.key().toLower(),
                           reader.strings(it.value(), QStringLiteral("suggestions.") + it.key()));
    }
    return suggestions;
}

QJsonArray stringArray(const QStringList& strings) {
    return QJsonArray::fromStringList(strings);
}

} // namespace

QStringList QueryState::suggestionsFor(const QString& query) const {
    const QString key = Text::trimSpacesAndTabs(query).toString().toLower();
    return suggestions.value(key, suggestions.value(QString()));
}

namespace StateFile {

std::variant<QueryState, QString> parse(const QByteArray& json) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("not valid JSON at offset %1: %2")
            .arg(parseError.offset)
            .arg(parseError.errorString());
    if (!document.isObject())
        return QStringLiteral("the state must be one JSON object");

    const QJsonObject root = document.object();
    QString error;
    Reader reader(error);
    QueryState state;
    state.tabs = reader.records<SafariTab>(root[u"tabs"], QStringLiteral("tabs"), tabFrom);
    state.history =
        reader.records<HistoryEntry>(root[u"history"], QStringLiteral("history"), historyFrom);
    const QStringList hidden = reader.strings(root[u"hidden"], QStringLiteral("hidden"));
    state.hidden = QSet<QString>(hidden.begin(), hidden.end());
    state.archived =
        reader.records<ArchivedTab>(root[u"archived"], QStringLiteral("archived"), archivedFrom);
    state.commands =
        reader.records<Command>(root[u"commands"], QStringLiteral("commands"), commandFrom);
    state.devTools =
        reader.records<Command>(root[u"devTools"], QStringLiteral("devTools"), commandFrom);
    const QJsonValue devAvailable = root[u"devAvailable"];
    state.devAvailable = devAvailable.isUndefined()
                             ? !state.devTools.isEmpty()
                             : reader.boolean(devAvailable, QStringLiteral("devAvailable"));
    state.suggestions = suggestionsFrom(reader, root[u"suggestions"]);
    state.now = reader.date(root[u"now"], QStringLiteral("now"));
    if (!state.now.isValid())
        state.now = QDateTime::currentDateTimeUtc();
    if (reader.failed())
        return error;
    return state;
}

std::variant<QueryState, QString> read(const QString& path) {
    // Only a regular file: a pipe would wait for a writer, a device might never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return QStringLiteral("%1 is not a regular file").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    // A state file is a small picture of one store; anything far larger is not one. The
    // bound holds while reading, whatever size the file claims.
    constexpr qint64 largest = 256 * 1024 * 1024;
    QByteArray contents;
    for (QByteArray chunk; contents.size() <= largest && !(chunk = file.read(1 << 20)).isEmpty();)
        contents += chunk;
    if (contents.size() > largest)
        return QStringLiteral("%1 is too large to be a state file").arg(path);
    auto parsed = parse(contents);
    if (auto* error = std::get_if<QString>(&parsed))
        return path + QStringLiteral(": ") + *error;
    return parsed;
}

QJsonObject toJson(const Action& action) {
    QJsonObject object{{QStringLiteral("type"), action.typeName()}};
    if (auto* tab = action.as<Action::SwitchTab>()) {
        object.insert(QStringLiteral("windowID"), tab->windowID);
        object.insert(QStringLiteral("index"), tab->index);
    } else if (auto* reveal = action.as<Action::RevealTab>()) {
        object.insert(QStringLiteral("url"), reveal->url);
    } else if (auto* open = action.as<Action::Open>()) {
        object.insert(QStringLiteral("url"), open->url);
    } else if (auto* menu = action.as<Action::Menu>()) {
        object.insert(QStringLiteral("path"), stringArray(menu->path));
    } else if (auto* copy = action.as<Action::CopyLink>()) {
        object.insert(QStringLiteral("markdown"), copy->markdown);
    }
    return object;
}

std::variant<Action, QString> actionFromJson(const QJsonObject& object) {
    QString error;
    Reader reader(error);
    const auto action = actionFrom(Reader::Fields{reader, object, QStringLiteral("action")});
    if (!action)
        return error;
    return *action;
}

QJsonObject toJson(const Command& command) {
    QJsonObject object{
        {QStringLiteral("title"), command.title},
        {QStringLiteral("symbol"), command.symbol},
        {QStringLiteral("keywords"), command.keywords},
        {QStringLiteral("menu"), command.menu},
        {QStringLiteral("action"), toJson(command.action)},
        {QStringLiteral("keys"), stringArray(command.keys)},
        {QStringLiteral("core"), command.core},
    };
    if (command.combo) {
        object.insert(
            QStringLiteral("combo"),
            QJsonObject{{QStringLiteral("character"), command.combo->key},
                        {QStringLiteral("modifiers"), qint64(command.combo->modifiers.toInt())}});
    }
    return object;
}

QJsonObject toJson(const Row& row) {
    return QJsonObject{
        {QStringLiteral("kind"), Row::rawValue(row.kind)},
        {QStringLiteral("host"), row.host},
        {QStringLiteral("url"), row.url},
        {QStringLiteral("symbol"), row.symbol},
        {QStringLiteral("keys"), stringArray(row.keys)},
        {QStringLiteral("title"), row.title},
        {QStringLiteral("detail"), row.detail},
        {QStringLiteral("label"), row.label},
        {QStringLiteral("action"), toJson(row.action)},
    };
}

QJsonObject toJson(const Ranking& ranking) {
    QJsonArray rows;
    for (const Row& row : ranking.rows)
        rows.append(toJson(row));
    return QJsonObject{
        {QStringLiteral("completion"),
         ranking.completion ? QJsonValue(*ranking.completion) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("rows"), rows},
    };
}

QJsonObject toJson(const SiteSearch& site) {
    return QJsonObject{
        {QStringLiteral("name"), site.name},
        {QStringLiteral("host"), site.host},
        {QStringLiteral("color"), site.color ? QJsonValue(*site.color) : QJsonValue::Null},
        {QStringLiteral("template"), site.urlTemplate},
    };
}

} // namespace StateFile

} // namespace kivaro
