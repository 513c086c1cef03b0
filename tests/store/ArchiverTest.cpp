#include "store/Archiver.h"

#include "StoreFakes.h"
#include "base/AtomicFile.h"
#include "support/Files.h"
#include "support/FixtureRows.h"

#include <QFileInfo>

#include <gtest/gtest.h>
#include <stdexcept>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using testing::readFile;
using testing::writeFile;

const QDateTime now(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);

// The last-seen times as "bare=seconds before now", sorted and joined by spaces.
QString ages(const Archiver::State& state) {
    QStringList listed;
    for (auto seen = state.lastSeen.cbegin(); seen != state.lastSeen.cend(); ++seen)
        listed.append(u"%1=%2"_s.arg(seen.key()).arg(seen.value().secsTo(now)));
    listed.sort();
    return listed.join(u' ');
}

class ArchiverTest : public ::testing::Test {
protected:
    std::unique_ptr<Archiver> archiver() { return std::make_unique<Archiver>(file_, safari_); }

    // An armed archiver whose every entry was last seen `age` seconds before `now`.
    std::unique_ptr<Archiver> armedArchiver(qint64 age) {
        auto made = archiver();
        made->tick(now.addSecs(-age), interval_);
        EXPECT_TRUE(made->state().armed);
        return made;
    }

    QTemporaryDir folder_;
    QString file_ = folder_.filePath(u"support/app.kivaro.Kivaro/archive.json"_s);
    testing::FakeSafariSide safari_;
    ArchiveInterval interval_ = ArchiveInterval::twelveHours;
};

// Another writer's layout (other key order, white space, fractions) reads the same; a text of
// the wrong shape does not decode.
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
    const auto written = Archiver::decode(testing::fixtureText(u"archive-written.json"_s).toUtf8());
    ASSERT_TRUE(written);
    EXPECT_EQ(Archiver::encode(*written),
              R"({"archived":[{"closedAt":794000000.25,"title":"C","url":"https://c.example/"}],)"
              R"("armed":false,"lastSeen":{"c.example":794000000.25,"d.example":0}})");
    for (const QByteArray& bad : testing::fixtureLines(u"archive-bad-shapes.txt"_s) + QList{""_ba})
        EXPECT_EQ(Archiver::decode(bad), std::nullopt) << bad.toStdString();
}

// A file that does not decode, or a folder in its place, is moved aside whole, and a second
// one does not replace the first kept aside.
TEST_F(ArchiverTest, AnUndecodableFileIsKeptAsideNotOverwritten) {
    const QByteArray cut = R"({"lastSeen": {"a.example": 1}, "archived": [trunc)";
    writeFile(file_, cut);
    auto archive = archiver();
    EXPECT_EQ(archive->state(), Archiver::State{});
    EXPECT_FALSE(QFileInfo::exists(file_));
    EXPECT_EQ(readFile(file_ + u".unreadable"_s), cut);
    archive->restore(u"https://x.example/"_s);
    EXPECT_TRUE(Archiver::decode(readFile(file_)));

    QFile::remove(file_);
    writeFile(file_ + u"/inside"_s, "keep me");
    EXPECT_TRUE(archiver()->save());
    EXPECT_EQ(readFile(file_ + u".unreadable"_s), cut);
    EXPECT_EQ(readFile(file_ + u".unreadable-2/inside"_s), "keep me");
    EXPECT_TRUE(Archiver::decode(readFile(file_)));
}

// A write cut short before its rename (here by an exception; in life by a crash or a full
// disk) leaves the old file whole.
TEST_F(ArchiverTest, AWriteCutShortBeforeItsRenameLeavesTheOldFile) {
    safari_.windows = {{1, {u"https://a.example/"_s, u"https://b.example/"_s}}};
    auto archive = archiver();
    archive->tick(now, interval_);
    const QByteArray before = readFile(file_);
    ASSERT_TRUE(Archiver::decode(before));

    Archiver::State changed = archive->state();
    changed.archived.append({u"New"_s, u"https://new.example/"_s, now});
    EXPECT_THROW(AtomicFile::write(file_, Archiver::encode(changed),
                                   [] { throw std::runtime_error("cut short"); }),
                 std::runtime_error);
    EXPECT_EQ(readFile(file_), before);
    EXPECT_TRUE(archive->save());
    EXPECT_EQ(readFile(file_), Archiver::encode(archive->state()));
}

// The first pass marks every open tab seen without closing anything; after it, current tabs
// are seen anew on every look and the others only when first met.
TEST_F(ArchiverTest, TheFirstPassArmsWithoutClosingAnything) {
    safari_.windows = {{1, {u"https://a.example/"_s, u"https://b.example/"_s}},
                       {2, {u"about:blank"_s, u"https://c.example/"_s}}};
    auto archive = archiver(); // no file yet: it starts empty
    EXPECT_EQ(archive->state(), Archiver::State{});
    EXPECT_EQ(archive->tick(now.addSecs(-500), interval_), 0);
    EXPECT_TRUE(archive->state().armed);
    EXPECT_EQ(safari_.closeCalls, 0);
    EXPECT_EQ(archiver()->state(), archive->state());
    archive->see({{.url = u"https://a.example/"_s, .isCurrent = false},
                  {.url = u"https://b.example/"_s, .isCurrent = true},
                  {.url = u"https://d.example/"_s, .isCurrent = false}},
                 now);
    EXPECT_EQ(ages(archive->state()),
              u"a.example=500 about:blank=500 b.example=0 c.example=500 d.example=0"_s);
}

// A pinned page stays, whatever the form of its address.
TEST_F(ArchiverTest, ATabIsStaleOnlyAfterMoreThanTheLimit) {
    safari_.pinned = QSet{u"pinned.example"_s};
    safari_.windows = {{1,
                        {u"https://current.example/"_s, u"https://old.example/"_s,
                         u"http://www.pinned.example"_s}}};
    auto archive = armedArchiver(43200);
    EXPECT_EQ(archive->tick(now, interval_), 0);
    EXPECT_EQ(archive->tick(now.addSecs(1), interval_), 1);
    EXPECT_EQ(safari_.closed, QStringList{u"1 https://old.example/"_s});
    EXPECT_EQ(archive->state().archived,
              (QList<ArchivedTab>{{u"Title of https://old.example/"_s, u"https://old.example/"_s,
                                   now.addSecs(1)}}));
    EXPECT_FALSE(archive->state().lastSeen.contains(u"old.example"_s));
}

TEST_F(ArchiverTest, AtMostFiveTabsArePerPass) {
    QStringList open{u"https://current.example/"_s};
    for (int i = 1; i <= 8; ++i)
        open.append(u"https://t%1.example/"_s.arg(i));
    safari_.windows = {{1, open}};
    auto archive = armedArchiver(100000);
    EXPECT_EQ(archive->tick(now, interval_), 5);
    EXPECT_EQ(archive->tick(now, interval_), 3);
    EXPECT_EQ(safari_.windows[1], QStringList{open.first()});
    const QList<ArchivedTab>& archived = archive->state().archived; // the last closed leads
    ASSERT_EQ(archived.size(), 8);
    EXPECT_EQ(archived.first().url + archived.last().url, open.last() + open.at(1));
    EXPECT_EQ(Archiver::announcement(5), u"Archived 5 inactive tabs"_s);
    EXPECT_EQ(Archiver::announcement(1), u"Archived 1 inactive tab"_s);
}

// A pass keeps the newest three hundred archived tabs, and forgets the entries of closed tabs
// after thirty days; those of open tabs stay, however old.
TEST_F(ArchiverTest, APassKeepsTheNewestThreeHundredAndForgetsClosedTabsAfterThirtyDays) {
    Archiver::State full{{{u"about:blank"_s, now.addDays(-40)},
                          {u"gone-recently.example"_s, now.addSecs(-2591999)},
                          {u"gone-long.example"_s, now.addSecs(-2592000)},
                          {u"new.example"_s, now.addDays(-2)}},
                         {},
                         true};
    for (int i = 0; i < 300; ++i)
        full.archived.append({u"Old"_s, u"https://old%1.example/"_s.arg(i), now.addDays(-1)});
    ASSERT_TRUE(AtomicFile::write(file_, Archiver::encode(full)));
    safari_.windows = {
        {1, {u"https://current.example/"_s, u"https://new.example/"_s, u"about:blank"_s}}};
    auto archive = archiver();
    EXPECT_EQ(archive->tick(now, interval_), 1);
    const QList<ArchivedTab>& archived = archive->state().archived;
    ASSERT_EQ(archived.size(), 300);
    EXPECT_EQ(archived.first().url, u"https://new.example/"_s);
    EXPECT_EQ(archived.last().url, u"https://old298.example/"_s);
    EXPECT_EQ(archiver()->state().archived, archived);
    EXPECT_EQ(ages(archive->state()),
              u"about:blank=3456000 current.example=0 gone-recently.example=2591999"_s);
}

// Nothing closes without an interval, a running Safari or readable pinned tabs (nothing is
// then known to be safe); a tab that will not close stays seen and is not archived. Switched
// off, a pass disarms, so that switching on starts afresh.
TEST_F(ArchiverTest, APassClosesNothingItCannotCloseSafely) {
    safari_.windows = {{1, {u"https://current.example/"_s, u"https://old.example/"_s}}};
    auto archive = armedArchiver(100000);
    const int reads = safari_.reads;
    EXPECT_EQ(archive->tick(now, ArchiveInterval::off), 0);
    safari_.running = false;
    EXPECT_EQ(archive->tick(now, interval_), 0);
    EXPECT_EQ(safari_.reads, reads) << "Safari is not even asked";
    safari_.running = true;
    safari_.pinned = std::nullopt;
    EXPECT_EQ(archive->tick(now, interval_), 0);
    EXPECT_EQ(safari_.closeCalls, 0);

    safari_.pinned = QSet<QString>();
    safari_.closeFails = true;
    EXPECT_EQ(archive->tick(now, interval_), 0);
    EXPECT_TRUE(archive->state().archived.isEmpty());
    EXPECT_TRUE(archive->state().lastSeen.contains(u"old.example"_s));
    EXPECT_EQ(safari_.closeCalls, 1);

    safari_.closeFails = false;
    EXPECT_EQ(archive->pass(now, ArchiveInterval::off), 0);
    EXPECT_FALSE(archiver()->state().armed);
    EXPECT_EQ(archive->pass(now, interval_), 0);
    EXPECT_TRUE(archive->state().armed);
    EXPECT_EQ(archive->pass(now.addSecs(43201), interval_), 1);
}

// Which tabs a pass may close (the cases are in the fixture).
TEST(ArchiverStale, ChoosesInTabOrder) {
    const auto words = [](const QString& cell) {
        return cell == u"-" ? QStringList() : cell.split(u' ');
    };
    for (const QStringList& row : testing::fixtureRows(u"archiver-stale.txt"_s, 5)) {
        QList<SafariTab> tabs;
        for (QString tab : row[1].split(u'|')) {
            const bool current = tab.startsWith(u'*');
            tabs.append({.windowID = tab.remove(u'*').section(u' ', 0, 0).toLongLong(),
                         .index = tabs.size() + 1,
                         .url = tab.section(u' ', 1),
                         .isCurrent = current});
        }
        QHash<QString, QDateTime> seen;
        for (const QString& age : words(row[2]))
            seen.insert(age.section(u'=', 0, 0), now.addSecs(-age.section(u'=', 1).toLongLong()));
        const QStringList pinned = words(row[3]);
        QStringList found;
        for (const SafariTab& tab :
             Archiver::stale(tabs, seen, QSet(pinned.begin(), pinned.end()), 10, now))
            found.append(tab.url);
        EXPECT_EQ(found, words(row[4])) << row[0].toStdString();
    }
}

// The store's side: a pass, and reopening an archived page in Safari.
class StoreArchive : public ::testing::Test {
protected:
    void writeArchive(const Archiver::State& state) {
        writeFile(world.archiveFile(), Archiver::encode(state));
    }
    Archiver::State readArchive() const {
        return Archiver::decode(readFile(world.archiveFile())).value_or(Archiver::State{});
    }

    testing::StoreWorld world;
    std::shared_ptr<testing::FakeBrowser> safari =
        std::make_shared<testing::FakeBrowser>(Store::safariID, u"Safari"_s);
    std::shared_ptr<testing::FakeBrowser> chrome =
        std::make_shared<testing::FakeBrowser>(u"com.google.Chrome"_s, u"Chrome"_s);
    const ArchivedTab tabA{u"A"_s, u"https://a.example/"_s, now};
    const ArchivedTab tabB{u"B"_s, u"https://b.example/"_s, now};
};

// Every entry with the page's bare address goes, and the file follows.
TEST_F(StoreArchive, ReopeningAnArchivedPageInSafariTakesItOutOfTheArchive) {
    writeArchive({.archived = {tabA, tabB, {u"A"_s, u"http://www.A.example"_s, now}}});
    auto store = world.store({safari, chrome});
    ASSERT_EQ(store->archived.size(), 3);
    store->use(chrome);
    store->perform(Action::open(u"https://a.example/"_s), OpenMode::newTab);
    testing::settle(*store);
    EXPECT_EQ(store->archived.size(), 3) << "another browser leaves the archive alone";

    store->use(safari);
    store->perform(Action::open(u"https://a.example"_s), OpenMode::currentTab);
    testing::settle(*store);
    EXPECT_EQ(store->archived, QList{tabB});
    EXPECT_EQ(readArchive().archived, store->archived);
    EXPECT_EQ(safari->callsNamed(u"open"_s), 1);
}

// Off, a pass disarms; switched on, the first pass arms without closing anything.
TEST_F(StoreArchive, APassDisarmsWhenOffAndArmsWhenOn) {
    writeArchive({.archived = {tabA}, .armed = true});
    auto store = world.store({safari});
    store->archivePass();
    testing::settle(*store);
    EXPECT_EQ(readArchive(), (Archiver::State{.archived = {tabA}, .armed = false}));
    EXPECT_EQ(store->archived.size(), 1);

    world.preferences->setArchiveAfter(ArchiveInterval::day);
    world.workspace.run(Store::safariID);
    store->archivePass();
    testing::settle(*store);
    EXPECT_EQ(readArchive(), (Archiver::State{.archived = {tabA}, .armed = true}));
    EXPECT_TRUE(world.toast.shown.isEmpty());
}

// The demonstration and a platform without Safari have no archive and leave its file alone:
// a pass of theirs would disarm it.
TEST_F(StoreArchive, TheDemonstrationAndAStoreWithoutSafariHaveNone) {
    writeArchive({.archived = {tabA}, .armed = true});
    Store demo(world.adapters({safari}), DemoData{});
    Store::Adapters adapters = world.adapters({chrome});
    adapters.safari = nullptr;
    Store withoutSafari(adapters);
    for (Store* store : {&demo, &withoutSafari}) {
        store->archivePass();
        testing::settle(*store);
        EXPECT_TRUE(store->archived.isEmpty());
    }
    EXPECT_EQ(readArchive(), (Archiver::State{.archived = {tabA}, .armed = true}));
}

} // namespace
} // namespace kivaro
