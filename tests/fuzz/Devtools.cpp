// The DevTools side: the first byte picks the "DevToolsActivePort" file, a "/json/list" reply
// or a protocol message; the rest is its text.

#include "FuzzSupport.h"
#include "browsers/DevToolsConnection.h"
#include "browsers/DevToolsEndpoint.h"
#include "browsers/DevToolsTabs.h"

using namespace kivaro;
using fuzz::require;

namespace {

void readPortFile(const QByteArray& contents) {
    const auto endpoint = DevToolsEndpoint::parse(contents);
    if (!endpoint)
        return;
    require(endpoint->port != 0, "a port is in range");
    require(endpoint->webSocketUrl().isValid(), "the endpoint gives a valid address",
            endpoint->path);
    require(endpoint->webSocketUrl().port() == endpoint->port, "the address keeps the port");
}

void readListing(const QByteArray& json) {
    const auto pages = DevToolsTabs::pages(json);
    if (!pages)
        return;
    QHash<QString, qint64> windows;
    for (const DevToolsTabs::Page& page : *pages) {
        require(!page.targetId.isEmpty(), "every page has a target");
        windows.insert(page.targetId, page.targetId.size() % 3);
    }
    DevToolsTabOrder order;
    order.update(*pages);
    const auto listed = DevToolsTabs::arrange(*pages, windows, order);
    require(listed.size() <= pages->size(), "no more tabs than pages");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray rest = fuzz::bytes(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        readPortFile(rest);
        break;
    case 1:
        readListing(rest);
        break;
    default:
        DevToolsMessage::parse(QString::fromUtf8(rest));
        break;
    }
    return 0;
}
