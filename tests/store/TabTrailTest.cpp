#include "store/TabTrail.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

TabRef tab(qint64 window, qint64 index, const QString& url) {
    return {window, index, url};
}

QStringList urls(const TabTrail& trail) {
    QStringList list;
    for (const TabRef& ref : trail.entries())
        list.append(ref.url);
    return list;
}

TEST(TabTrail, RevisitingATabMovesItToTheFrontWithoutRepeatingIt) {
    TabTrail trail;
    trail.note(tab(1, 1, QStringLiteral("https://a.example/")));
    trail.note(tab(1, 2, QStringLiteral("https://b.example/")));
    trail.note(tab(1, 1, QStringLiteral("https://a.example/")));
    EXPECT_EQ(urls(trail), (QStringList{QStringLiteral("https://a.example/"),
                                        QStringLiteral("https://b.example/")}));
    // Only the bare form counts: scheme, "www." and trailing slashes differ.
    trail.note(tab(1, 2, QStringLiteral("http://www.B.example")));
    EXPECT_EQ(urls(trail), (QStringList{QStringLiteral("http://www.B.example"),
                                        QStringLiteral("https://a.example/")}));
}

TEST(TabTrail, TheSamePageInAnotherWindowIsAnotherEntry) {
    TabTrail trail;
    trail.note(tab(1, 1, QStringLiteral("https://a.example/")));
    trail.note(tab(2, 1, QStringLiteral("https://a.example/")));
    EXPECT_EQ(trail.entries().size(), 2);
}

TEST(TabTrail, ANavigatingCurrentTabKeepsOneEntryUpdatedInPlace) {
    TabTrail trail;
    trail.note(tab(1, 1, QStringLiteral("https://a.example/")));
    trail.note(tab(1, 3, QStringLiteral("https://b.example/")));
    trail.note(tab(1, 3, QStringLiteral("https://b.example/next")));
    trail.note(tab(1, 3, QStringLiteral("https://b.example/last")));
    ASSERT_EQ(trail.entries().size(), 2);
    EXPECT_EQ(trail.entries().at(0), tab(1, 3, QStringLiteral("https://b.example/last")));
    EXPECT_EQ(trail.previous(), tab(1, 1, QStringLiteral("https://a.example/")));
}

TEST(TabTrail, HoldsTwelveEntriesOverALongRun) {
    TabTrail trail;
    for (int i = 1; i <= 13; ++i)
        trail.note(tab(1, i, QStringLiteral("https://site%1.example/").arg(i)));
    ASSERT_EQ(trail.entries().size(), 12);
    EXPECT_EQ(trail.entries().constFirst().url, QStringLiteral("https://site13.example/"));
    EXPECT_EQ(trail.entries().constLast().url, QStringLiteral("https://site2.example/"));

    // A long run over a few tabs in several windows: never more than twelve, the newest
    // first, and a fresh entry never leaves an older one of its page in its window.
    for (int step = 0; step < 5000; ++step) {
        const TabRef ref = tab(step % 7, (step * 5) % 11 + 1,
                               QStringLiteral("https://p%1.example/").arg((step * 3) % 17));
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
    trail.note(tab(1, 1, QStringLiteral("https://a.example/")));
    EXPECT_EQ(trail.previous(), std::nullopt);
    trail.note(tab(1, 2, QStringLiteral("https://b.example/")));
    trail.note(tab(1, 3, QStringLiteral("https://c.example/")));
    trail.dropPrevious();
    EXPECT_EQ(trail.previous(), tab(1, 1, QStringLiteral("https://a.example/")));
    trail.clear();
    EXPECT_TRUE(trail.entries().isEmpty());
}

} // namespace
} // namespace kivaro
