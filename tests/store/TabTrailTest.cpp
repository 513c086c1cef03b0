#include "store/TabTrail.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

// Tabs written "window:index url" and joined by ", ": the visits, one after another, and the
// trail they leave, newest first.
TabTrail noted(const QString& visits) {
    TabTrail trail;
    for (const QString& visit : visits.split(u", "_s)) {
        const QStringList place = visit.section(u' ', 0, 0).split(u':');
        trail.note({place.at(0).toLongLong(), place.at(1).toLongLong(), visit.section(u' ', 1)});
    }
    return trail;
}

QString rendered(const QList<TabRef>& refs) {
    QStringList shown;
    for (const TabRef& ref : refs)
        shown.append(u"%1:%2 %3"_s.arg(ref.windowID).arg(ref.index).arg(ref.url));
    return shown.join(u", "_s);
}

TEST(TabTrail, KeepsTheNewestOfEachPagePerWindowFirst) {
    const QList<std::pair<QString, QString>> cases{
        {u"1:1 https://a/, 1:2 https://b/, 1:1 https://a/"_s, u"1:1 https://a/, 1:2 https://b/"_s},
        // Only the bare form counts: scheme, "www." and trailing slashes differ.
        {u"1:1 https://a.example/, 1:2 https://b.example/, 1:2 http://www.B.example"_s,
         u"1:2 http://www.B.example, 1:1 https://a.example/"_s},
        // Another window is another entry.
        {u"1:1 https://a/, 2:1 https://a/"_s, u"2:1 https://a/, 1:1 https://a/"_s},
        // A navigating tab is updated in place.
        {u"1:1 https://a/, 1:3 https://b/, 1:3 https://b/next, 1:3 https://b/last"_s,
         u"1:3 https://b/last, 1:1 https://a/"_s},
    };
    for (const auto& [visits, trail] : cases)
        EXPECT_EQ(rendered(noted(visits).entries()), trail) << visits.toStdString();
}

TEST(TabTrail, HoldsTwelveEntriesOverALongRun) {
    TabTrail trail;
    for (int i = 1; i <= 13; ++i)
        trail.note({1, i, u"https://site%1.example/"_s.arg(i)});
    ASSERT_EQ(trail.entries().size(), 12);
    EXPECT_EQ(trail.entries().constFirst().url, u"https://site13.example/"_s);
    EXPECT_EQ(trail.entries().constLast().url, u"https://site2.example/"_s);

    // A long run over a few tabs in several windows: never more than twelve, the newest
    // first, and a fresh entry never leaves an older one of its page in its window.
    for (int step = 0; step < 5000; ++step) {
        const TabRef ref{step % 7, (step * 5) % 11 + 1,
                         u"https://p%1.example/"_s.arg((step * 3) % 17)};
        const TabRef front = trail.entries().constFirst();
        const bool inPlace = front.windowID == ref.windowID && front.index == ref.index;
        const qsizetype before = trail.entries().size();
        trail.note(ref);
        ASSERT_LE(trail.entries().size(), TabTrail::capacity);
        ASSERT_EQ(trail.entries().constFirst(), ref);
        if (inPlace) {
            ASSERT_EQ(trail.entries().size(), before);
            continue;
        }
        for (qsizetype i = 1; i < trail.entries().size(); ++i) {
            const TabRef& other = trail.entries().at(i);
            ASSERT_FALSE(other.windowID == ref.windowID && other.url == ref.url) << step;
        }
    }
}

TEST(TabTrail, DroppingThePreviousTabGoesOneFurtherBack) {
    TabTrail trail;
    EXPECT_EQ(trail.previous(), std::nullopt);
    trail.dropPrevious(); // nothing to drop
    EXPECT_EQ(noted(u"1:1 https://a/"_s).previous(), std::nullopt);
    trail = noted(u"1:1 https://a/, 1:2 https://b/, 1:3 https://c/"_s);
    EXPECT_EQ(trail.previous(), (TabRef{1, 2, u"https://b/"_s}));
    trail.dropPrevious();
    EXPECT_EQ(trail.previous(), (TabRef{1, 1, u"https://a/"_s}));
    trail.clear();
    EXPECT_TRUE(trail.entries().isEmpty());
}

} // namespace
} // namespace kivaro
