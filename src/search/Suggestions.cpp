#include "search/Suggestions.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QThread>

namespace kivaro {

namespace {

using Kind = SuggestSource::Kind;

const QString defaultStorefront = QStringLiteral("amazon.com");

// A suggestion later than this is of no use to anyone typing.
constexpr int transferTimeoutMs = 10000;

std::optional<QUrl>& testOrigin() {
    static std::optional<QUrl> origin;
    return origin;
}

using QueryItems = QList<std::pair<QString, QString>>;

// Keys and values percent-encoded except for the unreserved characters, so that a "+" or "&"
// typed in the query reaches the service as itself.
QUrl request(const QString& host, const QString& path, const QueryItems& items) {
    QStringList pairs;
    for (const auto& [key, value] : items) {
        pairs.append(QString::fromLatin1(QUrl::toPercentEncoding(key) + '=' +
                                         QUrl::toPercentEncoding(value)));
    }
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host);
    url.setPath(path);
    url.setQuery(pairs.join(u'&'), QUrl::StrictMode);
    return url;
}

QUrl googleRequest(const QString& query, const QString& ds) {
    QueryItems items{{QStringLiteral("client"), QStringLiteral("firefox")},
                     {QStringLiteral("ie"), QStringLiteral("utf-8")},
                     {QStringLiteral("oe"), QStringLiteral("utf-8")},
                     {QStringLiteral("q"), query}};
    if (!ds.isEmpty())
        items.append({QStringLiteral("ds"), ds});
    return request(QStringLiteral("suggestqueries.google.com"), QStringLiteral("/complete/search"),
                   items);
}

QUrl amazonRequest(const QString& query, const QString& host) {
    const QString storefront =
        Suggestions::amazonMarketplaces().contains(host) ? host : defaultStorefront;
    return request(QStringLiteral("completion.") + storefront,
                   QStringLiteral("/api/2017/suggestions"),
                   {{QStringLiteral("mid"), Suggestions::amazonMarketplaces().value(storefront)},
                    {QStringLiteral("alias"), QStringLiteral("aps")},
                    {QStringLiteral("prefix"), query}});
}

std::optional<QUrl> requestFor(const QString& query, const SuggestSource& source,
                               const QString& host) {
    switch (source.kind) {
    case Kind::google:
        return googleRequest(query, source.ds);
    case Kind::wikipedia:
        return request(QStringLiteral("en.wikipedia.org"), QStringLiteral("/w/api.php"),
                       {{QStringLiteral("action"), QStringLiteral("opensearch")},
                        {QStringLiteral("format"), QStringLiteral("json")},
                        {QStringLiteral("limit"), QStringLiteral("8")},
                        {QStringLiteral("search"), query}});
    case Kind::duckDuckGo:
        return request(
            QStringLiteral("duckduckgo.com"), QStringLiteral("/ac/"),
            {{QStringLiteral("q"), query}, {QStringLiteral("type"), QStringLiteral("list")}});
    case Kind::amazon:
        return amazonRequest(query, host);
    case Kind::none:
        break;
    }
    return std::nullopt;
}

// Adds `text` unless the list is full or the text is no plausible suggestion: blank, longer
// than a suggestion can be, or not valid text.
void keep(QStringList& list, const QString& text) {
    if (list.size() < Suggestions::maxCount && text.size() <= Suggestions::maxLength &&
        !text.trimmed().isEmpty() && QStringView(text).isValidUtf16())
        list.append(text);
}

// The OpenSearch format: the query, then an array of completions.
QStringList openSearchSuggestions(const QJsonDocument& document) {
    const QJsonArray top = document.array();
    if (!document.isArray() || top.size() < 2 || !top[1].isArray())
        return {};
    const QJsonArray completions = top[1].toArray();
    if (!std::all_of(completions.begin(), completions.end(),
                     [](const QJsonValue& value) { return value.isString(); }))
        return {};
    QStringList list;
    for (const QJsonValue& value : completions)
        keep(list, value.toString());
    return list;
}

// Amazon's format: {"suggestions": [{"value": "..."}, ...]}.
QStringList amazonSuggestions(const QJsonDocument& document) {
    const QJsonValue suggestions = document.object().value(u"suggestions");
    if (!document.isObject() || !suggestions.isArray())
        return {};
    const QJsonArray items = suggestions.toArray();
    if (!std::all_of(items.begin(), items.end(),
                     [](const QJsonValue& value) { return value.isObject(); }))
        return {};
    QStringList list;
    for (const QJsonValue& item : items) {
        const QJsonValue value = item.toObject().value(u"value");
        if (value.isString())
            keep(list, value.toString());
    }
    return list;
}

// The application's one network manager; requests are made on the main thread.
QNetworkAccessManager* network() {
    static QPointer<QNetworkAccessManager> manager;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return nullptr;
    if (!manager)
        manager = new QNetworkAccessManager(application);
    return manager;
}

} // namespace

struct SuggestionTask::State {
    QPointer<QNetworkReply> reply;
    QList<QMetaObject::Connection> connections; // ours only: Qt keeps its own on the reply
    SuggestSource source;
    Suggestions::Done done;
    QByteArray body;

    // Hands `list` to `done` once; the reply, if still running, is stopped and released first
    // so that nothing it reports afterwards reaches us.
    void deliver(const QStringList& list) {
        if (!done)
            return;
        const Suggestions::Done callback = std::exchange(done, nullptr);
        if (reply) {
            for (const QMetaObject::Connection& connection : connections)
                QObject::disconnect(connection);
            reply->abort();
            reply->deleteLater();
        }
        callback(list);
    }

    // Takes at most one byte beyond the limit, so an endless reply costs no more memory.
    void read() {
        body += reply->read(Suggestions::maxReplyBytes + 1 - body.size());
        if (body.size() > Suggestions::maxReplyBytes)
            deliver({});
    }

    void finish() {
        read();
        if (!done)
            return;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool failed = reply->error() != QNetworkReply::NoError || status >= 400;
        deliver(failed ? QStringList() : Suggestions::parse(body, source));
    }
};

void SuggestionTask::cancel() {
    state_->deliver({});
}

bool SuggestionTask::isRunning() const {
    return bool(state_->done);
}

namespace Suggestions {

const QHash<QString, QString>& amazonMarketplaces() {
    static const QHash<QString, QString> marketplaces{
        {QStringLiteral("amazon.com"), QStringLiteral("ATVPDKIKX0DER")},
        {QStringLiteral("amazon.co.uk"), QStringLiteral("A1F83G8C2ARO7P")},
        {QStringLiteral("amazon.de"), QStringLiteral("A1PA6795UKMFR9")},
        {QStringLiteral("amazon.fr"), QStringLiteral("A13V1IB3VIYZZH")},
        {QStringLiteral("amazon.es"), QStringLiteral("A1RKKUPIHCS9HS")},
        {QStringLiteral("amazon.it"), QStringLiteral("APJ6JRA9NG5V4")},
        {QStringLiteral("amazon.nl"), QStringLiteral("A1805IZSGTT6HS")},
        {QStringLiteral("amazon.se"), QStringLiteral("A2NODRKZP88ZB9")},
        {QStringLiteral("amazon.pl"), QStringLiteral("A1C3SOZRARQ6R3")},
        {QStringLiteral("amazon.ca"), QStringLiteral("A2EUQ1WTGCTBG2")},
        {QStringLiteral("amazon.com.mx"), QStringLiteral("A1AM78C64UM0Y8")},
        {QStringLiteral("amazon.com.br"), QStringLiteral("A2Q3Y263D00KWC")},
        {QStringLiteral("amazon.co.jp"), QStringLiteral("A1VC38T7YXB528")},
        {QStringLiteral("amazon.com.au"), QStringLiteral("A39IBJ37TRP1C6")},
    };
    return marketplaces;
}

std::optional<QUrl> endpoint(const QString& query, const SuggestSource& source,
                             const QString& host) {
    // Text with a lone surrogate has no UTF-8 form to send.
    if (!QStringView(query).isValidUtf16())
        return std::nullopt;
    return requestFor(query, source, host);
}

std::optional<SuggestionTask> fetch(const QString& query, const SuggestSource& source,
                                    const QString& host, Done done) {
    std::optional<QUrl> url = endpoint(query, source, host);
    QNetworkAccessManager* manager = network();
    if (!url || !manager)
        return std::nullopt;
    if (const auto& origin = testOrigin()) {
        url->setScheme(origin->scheme());
        url->setHost(origin->host());
        url->setPort(origin->port());
    }
    QNetworkRequest request(*url);
    request.setTransferTimeout(transferTimeoutMs);

    auto state = std::make_shared<SuggestionTask::State>();
    state->source = source;
    state->done = std::move(done);
    state->reply = manager->get(request);
    state->reply->setReadBufferSize(Suggestions::maxReplyBytes);
    // Each slot holds the state alive while it runs: delivering disconnects the slots.
    state->connections = {QObject::connect(state->reply, &QNetworkReply::readyRead, state->reply,
                                           [state] { std::shared_ptr(state)->read(); }),
                          QObject::connect(state->reply, &QNetworkReply::finished, state->reply,
                                           [state] { std::shared_ptr(state)->finish(); })};
    return SuggestionTask(state);
}

QStringList parse(const QByteArray& data, const SuggestSource& source) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return {};
    return source.kind == Kind::amazon ? amazonSuggestions(document)
                                       : openSearchSuggestions(document);
}

void redirectForTesting(const std::optional<QUrl>& origin) {
    testOrigin() = origin;
}

} // namespace Suggestions

} // namespace kivaro
