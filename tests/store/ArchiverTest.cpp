#include "store/Archiver.h"

#include "StoreFakes.h"
#include "base/AtomicFile.h"
#include "base/Web.h"
#include "browsers/SafariSide.h"
#include "history/HistoryFixtures.h"
#include "settings/Storage.h"

#include <QFileInfo>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdexcept>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using Window = testing::FakeSafariSide::Window;

class ArchiverTest : public test::HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        file_ = path(u"support/app.kivaro.Kivaro/archive.json"_s);
    }

    void setInterval(ArchiveInterval interval) { interval_ = interval; }

    std::unique_ptr<Archiver> archiver() { return std::make_unique<Archiver>(file_, safari_); }

    // An armed archiver whose every entry was last seen `age` seconds before `now_`.
    std::unique_ptr<Archiver> armedArchiver(qint64 age) {
        auto made = archiver();
        made->tick(now_.addSecs(-age), interval_);
        EXPECT_TRUE(made->state().armed);
        return made;
    }

    void openCurrentAndOld() {
        safari_.windows = {
            Window{1, 1, {u"https://current.example/"_s, u"https://old.example/"_s}}};
    }

    QString file_;
    testing::FakeSafariSide safari_;
    ArchiveInterval interval_ = ArchiveInterval::twelveHours;
    const QDateTime now_ = QDateTime(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
};

TEST_F(ArchiverTest, TheFileIsJsonWithTimesInSecondsSince2001) {
    const Archiver::State state{
        {{u"a.example"_s, QDateTime(QDate(2001, 1, 1), QTime(0, 0, 1, 500), Qt::UTC)}},
        {{u"Title \"quoted\""_s, u"https://b.example/?q=\u00e9"_s,
          QDateTime(QDate(2000, 12, 31), QTime(23, 59, 50), Qt::UTC)}},
        true};
    EXPECT_EQ(QString::fromUtf8(Archiver::encode(state)),
              uR"({"archived":[{"closedAt":-10,"title":"Title \"quoted\"","url":)"
              uR"("https://b.example/?q=é"}],"armed":true,"lastSeen":{"a.example":1.5}})"_s);
    EXPECT_EQ(Archiver::decode(Archiver::encode(state)), state);

    // As another writer lays it out: other key order, white space, fractions.
    const QByteArray written = R"( { "armed" : false,
        "archived" : [ { "url" : "https://c.example/", "closedAt" : 794000000.25,
                         "title" : "C" } ],
        "lastSeen" : { "c.example" : 794000000.25, "d.example" : 0 } } )";
    const QDateTime closed =
        QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC).addMSecs(794000000250LL);
    EXPECT_EQ(
        Archiver::decode(written),
        (Archiver::State{{{u"c.example"_s, closed},
                          {u"d.example"_s, QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)}},
                         {{u"C"_s, u"https://c.example/"_s, closed}},
                         false}));
}

TEST_F(ArchiverTest, ATextOfTheWrongShapeDoesNotDecode) {
    const QByteArray good = R"({"lastSeen":{},"archived":[],"armed":false})";
    ASSERT_TRUE(Archiver::decode(good));
    for (const QByteArray& bad :
         testing::fixtureLines(u"archive-bad-shapes.txt"_s) + QList{QByteArray()}) {
        EXPECT_EQ(Archiver::decode(bad), std::nullopt) << bad.toStdString();
    }
}

TEST_F(ArchiverTest, AMissingFileStartsEmptyAndASavedOneIsReadBack) {
    auto first = archiver();
    EXPECT_EQ(first->state(), Archiver::State{});
    EXPECT_FALSE(QFileInfo::exists(file_));
    safari_.windows = {Window{1, 1, {u"https://a.example/"_s}}};
    first->tick(now_, interval_);
    EXPECT_TRUE(QFileInfo::exists(file_));
    EXPECT_EQ(archiver()->state(), first->state());
    EXPECT_EQ(Archiver::defaultFile(), Storage::dataFolder() + u"/archive.json"_s);
}

TEST_F(ArchiverTest, AnUndecodableFileIsKeptAsideNotOverwritten) {
    test::writeFile(file_, "{\"lastSeen\": {\"a.example\": 1}, \"archived\": [trunc");
    auto archive = archiver();
    EXPECT_EQ(archive->state(), Archiver::State{});
    EXPECT_FALSE(QFileInfo::exists(file_));
    EXPECT_EQ(test::readFile(file_ + u".unreadable"_s),
              "{\"lastSeen\": {\"a.example\": 1}, \"archived\": [trunc");
    archive->restore(u"https://x.example/"_s);
    EXPECT_TRUE(Archiver::decode(test::readFile(file_)));

    // A second bad file does not replace the first one kept aside.
    test::writeFile(file_, "second");
    archiver();
    EXPECT_EQ(test::readFile(file_ + u".unreadable"_s),
              "{\"lastSeen\": {\"a.example\": 1}, \"archived\": [trunc");
    EXPECT_EQ(test::readFile(file_ + u".unreadable-2"_s), "second");
}

TEST_F(ArchiverTest, AFolderInThePlaceOfTheFileIsMovedAsideWhole) {
    test::writeFile(file_ + u"/inside"_s, "keep me");
    auto archive = archiver();
    EXPECT_TRUE(archive->save());
    EXPECT_EQ(test::readFile(file_ + u".unreadable/inside"_s), "keep me");
    EXPECT_TRUE(Archiver::decode(test::readFile(file_)));
}

// A write cut short before its rename (here by an exception; in life by a crash or a full
// disk) leaves the old file whole.
TEST_F(ArchiverTest, AWriteCutShortBeforeItsRenameLeavesTheOldFile) {
    safari_.windows = {Window{1, 1, {u"https://a.example/"_s, u"https://b.example/"_s}}};
    auto archive = archiver();
    archive->tick(now_, interval_);
    const QByteArray before = test::readFile(file_);
    ASSERT_TRUE(Archiver::decode(before));

    Archiver::State changed = archive->state();
    changed.archived.append({u"New"_s, u"https://new.example/"_s, now_});
    EXPECT_THROW(AtomicFile::write(file_, Archiver::encode(changed),
                                   [] { throw std::runtime_error("cut short"); }),
                 std::runtime_error);
    EXPECT_EQ(test::readFile(file_), before);
    EXPECT_EQ(archiver()->state(), archive->state());
    EXPECT_TRUE(archive->save());
    EXPECT_EQ(test::readFile(file_), Archiver::encode(archive->state()));
}

TEST_F(ArchiverTest, ASaveThatCannotWriteKeepsTheStateAndTheOldFile) {
    test::writeFile(path(u"blocked"_s), "a file where the folder should be");
    Archiver archive(path(u"blocked/archive.json"_s), safari_);
    safari_.windows = {Window{1, 1, {u"https://a.example/"_s}}};
    archive.tick(now_, interval_);
    EXPECT_TRUE(archive.state().armed);
    EXPECT_FALSE(archive.save());
    EXPECT_EQ(test::readFile(path(u"blocked"_s)), "a file where the folder should be");
}

TEST_F(ArchiverTest, TheFirstPassArmsWithoutClosingAnything) {
    safari_.windows = {Window{1, 1, {u"https://a.example/"_s, u"https://b.example/"_s}},
                       Window{2, 2, {u"about:blank"_s, u"https://c.example/"_s}}};
    auto archive = archiver();
    EXPECT_EQ(archive->tick(now_, interval_), 0);
    EXPECT_TRUE(archive->state().armed);
    EXPECT_EQ(archive->state().lastSeen, (QHash<QString, QDateTime>{{u"a.example"_s, now_},
                                                                    {u"b.example"_s, now_},
                                                                    {u"about:blank"_s, now_},
                                                                    {u"c.example"_s, now_}}));
    EXPECT_EQ(safari_.closeCalls, 0);
    EXPECT_EQ(archiver()->state(), archive->state());
}

TEST_F(ArchiverTest, ATabIsStaleOnlyAfterMoreThanTheLimit) {
    openCurrentAndOld();
    auto archive = armedArchiver(43200);
    EXPECT_EQ(archive->tick(now_, interval_), 0);
    EXPECT_EQ(archive->tick(now_.addSecs(1), interval_), 1);
    EXPECT_EQ(safari_.closed, QStringList{u"1 https://old.example/"_s});
    EXPECT_EQ(archive->state().archived,
              (QList<ArchivedTab>{{u"Title of https://old.example/"_s, u"https://old.example/"_s,
                                   now_.addSecs(1)}}));
    EXPECT_FALSE(archive->state().lastSeen.contains(u"old.example"_s));
}

TEST_F(ArchiverTest, PinnedTabsAndTheLastTabOfAWindowStay) {
    safari_.pinned = QSet{u"pinned.example"_s};
    safari_.windows = {Window{1,
                              2,
                              {u"https://a.example/"_s, u"https://current.example/"_s,
                               u"http://www.pinned.example"_s}},
                       // A current index beyond its one tab: its only tab is not current.
                       Window{2, 2, {u"https://lonely.example/"_s}}};
    auto archive = armedArchiver(86400);
    EXPECT_EQ(archive->tick(now_, interval_), 1);
    EXPECT_EQ(safari_.closed, QStringList{u"1 https://a.example/"_s});
    // The only tab of a window cannot be closed: it stays seen and is tried again later.
    EXPECT_TRUE(archive->state().lastSeen.contains(u"lonely.example"_s));
    EXPECT_EQ(archive->tick(now_.addSecs(60), interval_), 0);
    EXPECT_EQ(safari_.windows[1].urls.size(), 1);
}

TEST_F(ArchiverTest, AtMostFiveTabsArePerPass) {
    QStringList urls{u"https://current.example/"_s};
    for (int i = 1; i <= 8; ++i)
        urls.append(u"https://t%1.example/"_s.arg(i));
    safari_.windows = {Window{1, 1, urls}};
    auto archive = armedArchiver(100000);
    EXPECT_EQ(archive->tick(now_, interval_), 5);
    EXPECT_EQ(archive->tick(now_, interval_), 3);
    EXPECT_EQ(safari_.windows[0].urls.size(), 1);
    QStringList archived;
    for (const ArchivedTab& tab : archive->state().archived)
        archived.append(tab.url);
    // Newest first: the last one closed leads.
    EXPECT_EQ(archived, (QStringList{u"https://t8.example/"_s, u"https://t7.example/"_s,
                                     u"https://t6.example/"_s, u"https://t5.example/"_s,
                                     u"https://t4.example/"_s, u"https://t3.example/"_s,
                                     u"https://t2.example/"_s, u"https://t1.example/"_s}));
    EXPECT_EQ(Archiver::announcement(5), u"Archived 5 inactive tabs"_s);
    EXPECT_EQ(Archiver::announcement(1), u"Archived 1 inactive tab"_s);
}

TEST_F(ArchiverTest, SeeRecordsCurrentTabsNowAndOthersOnce) {
    auto archive = archiver();
    const QDateTime earlier = now_.addSecs(-500);
    archive->see({{.url = u"https://a.example/"_s, .isCurrent = false},
                  {.url = u"https://b.example/"_s, .isCurrent = true}},
                 earlier);
    archive->see({{.url = u"https://a.example/"_s, .isCurrent = false},
                  {.url = u"https://b.example/"_s, .isCurrent = true},
                  {.url = u"https://c.example/"_s, .isCurrent = false}},
                 now_);
    EXPECT_EQ(archive->state().lastSeen,
              (QHash<QString, QDateTime>{
                  {u"a.example"_s, earlier}, {u"b.example"_s, now_}, {u"c.example"_s, now_}}));
    EXPECT_FALSE(QFileInfo::exists(file_));
}

TEST_F(ArchiverTest, TheArchiveKeepsTheNewestThreeHundred) {
    Archiver::State full{{}, {}, true};
    for (int i = 0; i < 300; ++i)
        full.archived.append({u"Old"_s, u"https://old%1.example/"_s.arg(i), now_.addDays(-1)});
    ASSERT_TRUE(AtomicFile::write(file_, Archiver::encode(full)));
    safari_.windows = {Window{1, 1, {u"https://current.example/"_s, u"https://new.example/"_s}}};
    auto archive = archiver();
    archive->see({{.windowID = 1, .index = 2, .url = u"https://new.example/"_s}}, now_.addDays(-2));
    EXPECT_EQ(archive->tick(now_, interval_), 1);
    const QList<ArchivedTab>& archived = archive->state().archived;
    ASSERT_EQ(archived.size(), 300);
    EXPECT_EQ(archived.first().url, u"https://new.example/"_s);
    EXPECT_EQ(archived.last().url, u"https://old298.example/"_s);
    EXPECT_EQ(archiver()->state().archived, archived);
}

TEST_F(ArchiverTest, EntriesOfClosedTabsAreForgottenAfterThirtyDays) {
    safari_.windows = {Window{1, 1, {u"https://current.example/"_s, u"about:blank"_s}}};
    auto archive = archiver();
    archive->tick(now_.addDays(-40), interval_);
    archive->see({{.url = u"https://gone-recently.example/"_s}}, now_.addSecs(-2591999));
    archive->see({{.url = u"https://gone-long.example/"_s}}, now_.addSecs(-2592000));
    archive->tick(now_, interval_);
    const QHash<QString, QDateTime>& seen = archive->state().lastSeen;
    EXPECT_TRUE(seen.contains(u"gone-recently.example"_s));
    EXPECT_FALSE(seen.contains(u"gone-long.example"_s));
    // Still open, however old.
    EXPECT_EQ(seen.value(u"about:blank"_s), now_.addDays(-40));
    EXPECT_EQ(seen.value(u"current.example"_s), now_);
}

TEST_F(ArchiverTest, RestoreForgetsEveryEntryWithThatBareAddress) {
    Archiver::State state{{}, {}, true};
    state.archived = {{u"A"_s, u"https://a.example/"_s, now_},
                      {u"B"_s, u"https://b.example/"_s, now_},
                      {u"A again"_s, u"http://www.A.example"_s, now_}};
    ASSERT_TRUE(AtomicFile::write(file_, Archiver::encode(state)));
    auto archive = archiver();
    archive->restore(u"https://a.example"_s);
    EXPECT_EQ(archive->state().archived,
              (QList<ArchivedTab>{{u"B"_s, u"https://b.example/"_s, now_}}));
    EXPECT_EQ(archiver()->state().archived, archive->state().archived);
}

TEST_F(ArchiverTest, SwitchingOffDisarmsSoThatSwitchingOnStartsAfresh) {
    openCurrentAndOld();
    setInterval(ArchiveInterval::week);
    auto archive = armedArchiver(700000);
    setInterval(ArchiveInterval::off);
    EXPECT_EQ(archive->pass(now_, interval_), 0);
    EXPECT_FALSE(archive->state().armed);
    EXPECT_FALSE(archiver()->state().armed);
    setInterval(ArchiveInterval::week);
    EXPECT_EQ(archive->pass(now_, interval_), 0);
    EXPECT_TRUE(archive->state().armed);
    EXPECT_TRUE(safari_.closed.isEmpty());
    EXPECT_EQ(archive->pass(now_.addSecs(604801), interval_), 1);
}

TEST_F(ArchiverTest, APassDoesNothingWithoutIntervalSafariOrPins) {
    openCurrentAndOld();
    auto archive = armedArchiver(100000);
    const int reads = safari_.reads;
    EXPECT_EQ(archive->tick(now_, ArchiveInterval::off), 0);
    safari_.running = false;
    EXPECT_EQ(archive->tick(now_, interval_), 0);
    EXPECT_EQ(safari_.reads, reads) << "Safari is not even asked";
    safari_.running = true;
    // The pinned tabs cannot be read: nothing is known to be safe, so nothing closes.
    safari_.pinned = std::nullopt;
    EXPECT_EQ(archive->tick(now_, interval_), 0);
    EXPECT_EQ(safari_.closeCalls, 0);
}

TEST_F(ArchiverTest, ATabThatCannotBeClosedIsNotArchived) {
    openCurrentAndOld();
    auto archive = armedArchiver(100000);
    safari_.closeFails = true;
    EXPECT_EQ(archive->tick(now_, interval_), 0);
    EXPECT_TRUE(archive->state().archived.isEmpty());
    EXPECT_TRUE(archive->state().lastSeen.contains(u"old.example"_s));
    EXPECT_EQ(safari_.closeCalls, 1);
    safari_.closeFails = false;
    EXPECT_EQ(archive->tick(now_, interval_), 1);
}

// Which tabs a pass may close with a limit of ten seconds. Tabs are "window url" joined by "|",
// a leading "*" marking the current tab; ages are "bare=seconds" since each bare address was
// last seen; pinned and stale addresses are joined by spaces, stale ones in tab order.
struct StaleCase {
    const char* name;
    QString tabs, ages, pinned, stale;
    friend void PrintTo(const StaleCase& c, std::ostream* out) { *out << c.name; }
};

class ArchiverStale : public ::testing::TestWithParam<StaleCase> {};

TEST_P(ArchiverStale, ChoosesInTabOrder) {
    const QDateTime now(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
    QList<SafariTab> tabs;
    for (QString tab : GetParam().tabs.split(u'|')) {
        const bool current = tab.startsWith(u'*');
        tabs.append({.windowID = tab.remove(u'*').section(u' ', 0, 0).toLongLong(),
                     .index = tabs.size() + 1,
                     .url = tab.section(u' ', 1),
                     .isCurrent = current});
    }
    QHash<QString, QDateTime> seen;
    for (const QString& age : GetParam().ages.split(u' '))
        seen.insert(age.section(u'=', 0, 0), now.addSecs(-age.section(u'=', 1).toLongLong()));
    const QStringList pinned = GetParam().pinned.split(u' ', Qt::SkipEmptyParts);
    QStringList found;
    for (const SafariTab& tab :
         Archiver::stale(tabs, seen, QSet(pinned.begin(), pinned.end()), 10, now))
        found.append(tab.url);
    EXPECT_EQ(found.join(u' '), GetParam().stale);
}

INSTANTIATE_TEST_SUITE_P(
    Archiver, ArchiverStale,
    ::testing::Values(
        StaleCase{
            "OnlyBeyondTheLimitAndOnlyWhenSeen",
            u"1 https://b.example/|1 https://a.example/|1 https://new.example/|1 https://unseen.example/"_s,
            u"a.example=11 b.example=11 new.example=10"_s, QString(),
            u"https://b.example/ https://a.example/"_s},
        StaleCase{"PinnedPagesStay", u"1 https://a.example/|1 https://b.example/"_s,
                  u"a.example=99 b.example=99"_s, u"a.example"_s, u"https://b.example/"_s},
        StaleCase{"TheCurrentPageStaysInEveryWindow",
                  u"*1 https://a.example/|2 http://www.a.example"_s, u"a.example=99"_s, QString(),
                  QString()},
        StaleCase{"LocalPagesStay", u"1 about:blank|1 file:///tmp/x|1 HTTPS://upper.example/"_s,
                  u"about:blank=99 file:///tmp/x=99 upper.example=99"_s, QString(), QString()},
        StaleCase{"OneBareAddressIsOneEntry",
                  u"1 https://same.example/|2 http://www.same.example"_s, u"same.example=11"_s,
                  QString(), u"https://same.example/ http://www.same.example"_s}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kivaro
