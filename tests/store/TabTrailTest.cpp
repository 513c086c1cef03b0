#include "store/TabTrail.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

// Tabs written "window:index url", one after another, and the trail as one line of them.
TabTrail noted(const QStringList& visits) {
    TabTrail trail;
    for (const QString& visit : visits) {
        const QStringList place = visit.section(u' ', 0, 0).split(u':');
        trail.note({place.at(0).toLongLong(), place.at(1).toLongLong(), visit.section(u' ', 1)});
    }
    return trail;
}

QString rendered(const TabTrail& trail) {
    QStringList shown;
    for (const TabRef& ref : trail.entries())
        shown.append(u"%1:%2 %3"_s.arg(ref.windowID).arg(ref.index).arg(ref.url));
    return shown.join(u", ");
}

struct TrailCase {
    const char* name;
    QStringList visits;
    QString trail;
    friend void PrintTo(const TrailCase& c, std::ostream* out) { *out << c.name; }
};

class TabTrailCases : public ::testing::TestWithParam<TrailCase> {};

TEST_P(TabTrailCases, KeepsTheNewestOfEachPagePerWindowFirst) {
    EXPECT_EQ(rendered(noted(GetParam().visits)), GetParam().trail);
}

INSTANTIATE_TEST_SUITE_P(
    TabTrail, TabTrailCases,
    ::testing::Values(TrailCase{"RevisitMovesToFront",
                                {u"1:1 https://a.example/"_s, u"1:2 https://b.example/"_s,
                                 u"1:1 https://a.example/"_s},
                                u"1:1 https://a.example/, 1:2 https://b.example/"_s},
                      // Only the bare form counts: scheme, "www." and trailing slashes differ.
                      TrailCase{"BareAddressesAreOnePage",
                                {u"1:1 https://a.example/"_s, u"1:2 https://b.example/"_s,
                                 u"1:2 http://www.B.example"_s},
                                u"1:2 http://www.B.example, 1:1 https://a.example/"_s},
                      TrailCase{"AnotherWindowIsAnotherEntry",
                                {u"1:1 https://a.example/"_s, u"2:1 https://a.example/"_s},
                                u"2:1 https://a.example/, 1:1 https://a.example/"_s},
                      TrailCase{"ANavigatingTabIsUpdatedInPlace",
                                {u"1:1 https://a.example/"_s, u"1:3 https://b.example/"_s,
                                 u"1:3 https://b.example/next"_s, u"1:3 https://b.example/last"_s},
                                u"1:3 https://b.example/last, 1:1 https://a.example/"_s}),
    [](const auto& info) { return std::string(info.param.name); });

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
    trail = noted({u"1:1 https://a.example/"_s});
    EXPECT_EQ(trail.previous(), std::nullopt);
    trail = noted(
        {u"1:1 https://a.example/"_s, u"1:2 https://b.example/"_s, u"1:3 https://c.example/"_s});
    EXPECT_EQ(trail.previous(), (TabRef{1, 2, u"https://b.example/"_s}));
    trail.dropPrevious();
    EXPECT_EQ(trail.previous(), (TabRef{1, 1, u"https://a.example/"_s}));
    trail.clear();
    EXPECT_TRUE(trail.entries().isEmpty());
}

} // namespace
} // namespace kivaro
