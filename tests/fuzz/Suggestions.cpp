// Both formats of suggestion replies (the OpenSearch array and DuckDuckGo's list of phrases,
// Amazon's object): the first byte picks the source, the rest is the reply body.

#include "search/Suggestions.h"

#include "FuzzSupport.h"

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const SuggestSource sources[] = {
        SuggestSource::google(),    SuggestSource::google(QStringLiteral("yt")),
        SuggestSource::wikipedia(), SuggestSource::duckDuckGo(),
        SuggestSource::amazon(),    SuggestSource::none()};
    const SuggestSource& source = sources[data[0] % std::size(sources)];
    const QStringList found = Suggestions::parse(fuzz::bytes(data + 1, size - 1), source);
    require(found.size() <= Suggestions::maxCount, "at most maxCount suggestions");
    for (const QString& suggestion : found)
        require(suggestion.size() <= Suggestions::maxLength, "no suggestion beyond maxLength",
                suggestion.left(80));
    return 0;
}
