#include "ScriptingFixture.h"
#include "browsers/ChromiumBrowser.h"
#include "browsers/Safari.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using namespace test;

// Reads the string literals of a script as AppleScript does: a literal runs from a double quote
// to the next unescaped one, and knows the escapes \\ \" \n \r \t. A line break inside a literal
// is refused here: each literal must stay on one line. Nothing when the script does not lex.
std::optional<QStringList> literalsOf(const QString& script) {
    const QString escapes = u"\\\"nrt"_s, escaped = u"\\\"\n\r\t"_s;
    QStringList literals;
    for (qsizetype i = 0; i < script.size(); ++i) {
        if (script[i] != u'"')
            continue;
        QString value;
        for (++i; i < script.size() && script[i] != u'"'; ++i) {
            if (script[i] == u'\n' || script[i] == u'\r')
                return std::nullopt;
            if (script[i] != u'\\') {
                value += script[i];
                continue;
            }
            const qsizetype escape = ++i < script.size() ? escapes.indexOf(script[i]) : -1;
            if (escape < 0)
                return std::nullopt;
            value += escaped[escape];
        }
        if (i >= script.size())
            return std::nullopt;
        literals.append(value);
    }
    return literals;
}

// An address, and what the browser receives: the address itself (when null), or with the
// characters that cannot stand in a script literal percent-encoded.
const std::pair<QString, QString> hostileAddresses[] = {
    {u"https://e.example/?q=\"a\" & (do shell script \"touch /tmp/x\")"_s, {}},
    {u"https://e.example/ends-in-backslash\\"_s, {}},
    {u"https://e.example/\\\"}) & (do shell script \"x\") & ({\""_s, {}},
    {u"https://e.example/a\nend tell\ndo shell script \"x\"\n--"_s, {}},
    {u"https://e.example/a\rend tell\r\ndo shell script \"x\""_s, {}},
    {u"https://e.example/\ttab"_s, {}},
    {u"https://b\u00fccher.example/stra\u00dfe?q=\u65e5\u672c\u8a9e\U0001F600"_s, {}},
    {u"https://e.example/%0A%22already-encoded"_s, {}},
    {u"https://e.example/a\u2028b\u2029c\u0085d"_s,
     u"https://e.example/a%E2%80%A8b%E2%80%A9c%C2%85d"_s},
    {u"https://e.example/"_s + QChar(0) + u"nul"_s + QChar(0x1b) + QChar(0x7f),
     u"https://e.example/%00nul%1B%7F"_s},
    {QString(), {}},
};

class ScriptInjectionTest : public ScriptingTest {};

// Every address becomes one intact literal, and the open scripts hold it and nothing else.
TEST_F(ScriptInjectionTest, OpenScriptsHoldTheAddressAndNothingElse) {
    ChromiumBrowser chrome(u"com.google.Chrome"_s, u"Chrome"_s, u"Google Chrome"_s,
                           u"Google/Chrome"_s, runner_, workspace_, snapshots_);
    for (const auto& [address, encoded] : hostileAddresses) {
        const QString r = encoded.isNull() ? address : encoded;
        SCOPED_TRACE(address.toStdString());
        const QString literal = Safari::literal(address);
        EXPECT_EQ(literalsOf(literal), QStringList{r});
        EXPECT_TRUE(literal.startsWith(u'"') && literal.endsWith(u'"'));
        runner_.clearSources();
        Safari::open(runner_, address, true);
        Safari::open(runner_, address, false);
        chrome.open(address, true);
        chrome.open(address, false);
        const QStringList sent = runner_.sources();
        ASSERT_EQ(sent.size(), 4);
        for (int i = 0; i < 4; ++i) {
            const QString app = i < 2 ? u"Safari"_s : u"com.google.Chrome"_s;
            EXPECT_EQ(literalsOf(sent[i]), (QStringList{app, r, r})) << i;
            // The script keeps its own line count whatever the address holds.
            EXPECT_EQ(sent[i].count(u'\n'), (QList<int>{7, 7, 9, 8})[i]) << i;
        }
    }
}

} // namespace
} // namespace kivaro
