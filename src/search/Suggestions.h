#pragma once

#include "search/SuggestSource.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace kivaro {

// A suggestion request in flight. Copies refer to the same request.
class SuggestionTask {
public:
    struct State;
    explicit SuggestionTask(std::shared_ptr<State> state) : state_(std::move(state)) {}

    // Stops the request; unless the list was already delivered, an empty list is delivered
    // before this returns.
    void cancel();
    // Whether the list is still to be delivered.
    bool isRunning() const;

private:
    std::shared_ptr<State> state_;
};

// Search suggestions from the public suggestion services.
namespace Suggestions {

// Replies are untrusted: no more than this many suggestions are kept, none longer than
// maxLength UTF-16 units, and a reply body larger than maxReplyBytes is abandoned.
constexpr qsizetype maxCount = 20;
constexpr qsizetype maxLength = 512;
constexpr qint64 maxReplyBytes = 256 * 1024;

// Amazon's storefront hosts, each with the marketplace identifier its completion service
// expects.
const QHash<QString, QString>& amazonMarketplaces();

// The request for `query`, or nothing for the `none` source. `host` is the site's host in site
// mode (it picks the Amazon storefront), empty otherwise.
std::optional<QUrl> endpoint(const QString& query, const SuggestSource& source,
                             const QString& host);

using Done = std::function<void(const QStringList&)>;

// Starts the request for `query`; call it on the main thread. `done` is called exactly once,
// from the event loop (or from cancel()), with the suggestions, or with an empty list when
// anything goes wrong, the reply is too large or takes longer than ten seconds, or the task is
// cancelled. Without an endpoint (or off the main thread) nothing is requested, `done` is never
// called and nothing is returned.
std::optional<SuggestionTask> fetch(const QString& query, const SuggestSource& source,
                                    const QString& host, Done done);

// The suggestions in a reply body; an empty list for anything unexpected.
QStringList parse(const QByteArray& data, const SuggestSource& source);

// Tests only: sends every request to `origin` (scheme, host and port), keeping the path and
// query; nothing restores the services' own hosts.
void redirectForTesting(const std::optional<QUrl>& origin);

} // namespace Suggestions

} // namespace kivaro
