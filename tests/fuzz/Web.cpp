// The address functions and site matching over arbitrary typed or stored text.

#include "base/Web.h"

#include "FuzzSupport.h"
#include "search/SiteSearch.h"

#include <QUrl>

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));

    const QString bare = Web::bare(text);
    require(Web::bare(bare) == bare, "bare is idempotent", text);
    require(Web::bare(Web::page(text)) == Web::page(text), "a page is bare", text);

    const QString host = Web::host(text);
    require(host == host.toLower(), "a host is lower-case", text);

    const QString normalized = Web::normalize(text);
    require(Web::normalize(normalized) == normalized, "normalize is idempotent", text);
    // Typed schemes and ports are passed on as typed; a typed host must make an address.
    if (Web::looksLikeURL(text) && !text.contains(u':') && QUrl(text).isValid()) {
        const QUrl address(normalized);
        require(address.isValid() && address.scheme().startsWith(u"http"),
                "normalize of a valid address gives a parseable web address", text);
    }

    if (const auto site = SiteSearch::match(text)) {
        const QString url = site->searchURL(text);
        require(!url.contains(QStringLiteral("%s")), "every %s is replaced", text);
    }
    SiteSearch::known(host);
    SiteSearch::forHost(host).searchURL(text);
    return 0;
}
