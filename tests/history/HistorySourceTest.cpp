#include "history/HistorySource.h"

#include "HistoryFixtures.h"
#include "support/FixtureRows.h"

#include <QDir>
#include <QLocale>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;
const QDateTime earlier(QDate(2024, 7, 1), QTime(12, 0), Qt::UTC);
const QDateTime later(QDate(2024, 7, 9), QTime(7, 45), Qt::UTC);

class HistorySourceTest : public HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void chromiumPage(const QString& dataFolder, const QString& url, const QString& title,
                      const QDateTime& at) {
        const QString db = configFolder() + u'/' + dataFolder + u"/Default/History"_s;
        if (!QFileInfo::exists(db))
            chromiumProfile(dataFolder, u"Default"_s);
        addChromiumRow(db, url, title, u"1"_s, QString::number(chromiumTime(at)));
    }
    HistoryResult load(const HistorySource::Front& front, const QSet<QString>& extra,
                       const HistorySource::InstalledCheck& installed = {}) const {
        return HistorySource::load(front, extra, *snapshots_, installed);
    }
};

TEST_F(HistorySourceTest, EverySourcesFolderStaysInTheConfigFolderAndMarksItAvailable) {
    ASSERT_FALSE(HistorySource::all().isEmpty());
    for (const HistorySource& source : HistorySource::all()) {
        const QString folder = source.dataFolder.value_or(QString());
        EXPECT_FALSE(QDir::isAbsolutePath(folder)) << source.id.toStdString();
        EXPECT_FALSE(folder.split(u'/').contains(u".."_s)) << source.id.toStdString();
    }
    EXPECT_EQ(HistorySource::source(u"com.example.Unknown"_s), std::nullopt);

    // Available: installed, or with a data folder.
    EXPECT_TRUE(HistorySource::available().isEmpty()) << "Safari has no Linux folder";
    ASSERT_TRUE(QDir().mkpath(configFolder() + u"/chromium"_s));
    ASSERT_TRUE(QDir().mkpath(configFolder() + u"/BraveSoftware/Brave-Browser"_s));
    QStringList names;
    const auto installed = [](const QString& id) { return id == u"com.vivaldi.Vivaldi"; };
    for (const HistorySource& source : HistorySource::available(installed))
        names.append(source.name);
    EXPECT_EQ(names, (QStringList{u"Brave"_s, u"Vivaldi"_s, u"Chromium"_s}));
}

TEST_F(HistorySourceTest, MergeSumsVisitsAndPrefersTheLaterTitleThatIsNotEmpty) {
    QList<QList<HistoryEntry>> lists(3);
    for (const QStringList& row : testing::fixtureRows(u"history/source-merge.txt"_s, 5))
        lists[row[0].toInt()].append(
            {row[1], row[2], row[3].toLongLong(), QDateTime::fromString(row[4], Qt::ISODate)});
    const QList<HistoryEntry> merged = HistorySource::merge(lists);
    EXPECT_EQ(rendered(merged), u"https://a/|A new|7|2024-07-10T07:45:00.000Z\n"
                                u"https://b/|B|5|2024-07-09T07:45:00.000Z\n"
                                u"https://tie/|first|2|2024-07-01T12:00:00.000Z"_s);
    EXPECT_TRUE(HistorySource::merge({}).isEmpty());
}

// Extra sources are merged and named in the status; a broken one only counts fewer pages. The
// front browser's own history is kept as it read it (it may have been reached through a profile
// of its own): neither its default folder's pages nor an absent browser's are merged in.
TEST_F(HistorySourceTest, ExtraSourcesAreMergedAndNamedInTheStatus) {
    chromiumPage(u"chromium"_s, u"https://default-profile/"_s, u"Default"_s, earlier);
    chromiumPage(u"google-chrome"_s, u"https://shared/"_s, u"Shared in Chrome"_s, earlier);
    chromiumPage(u"google-chrome"_s, u"https://chrome/"_s, u"Chrome only"_s, earlier);
    chromiumPage(u"vivaldi"_s, u"https://vivaldi/"_s, u"Vivaldi only"_s, earlier);
    writeFile(configFolder() + u"/microsoft-edge/Default/History"_s, "broken");

    const HistoryResult own{{{u"https://own-profile/"_s, u"Own"_s, 1, earlier}}, u"1 pages"_s};
    EXPECT_EQ(load({u"org.chromium.Chromium"_s, u"Chromium"_s, own},
                   {u"org.chromium.Chromium"_s, u"com.brave.Browser"_s}),
              (HistoryResult{own.entries, u"Chromium, 1 pages"_s}));
    EXPECT_EQ(load({u"com.google.Chrome"_s, u"Chrome"_s, {{}, u"no history found"_s}}, {}),
              (HistoryResult{{}, u"Chrome, no history found"_s}));
    const HistorySource::Front other{
        u"org.example.Other"_s, u"Other"_s, {{{u"https://shared/"_s, {}, 2, later}}, u"1 pages"_s}};
    const HistoryResult result =
        load(other, {u"com.vivaldi.Vivaldi"_s, u"com.google.Chrome"_s, u"com.microsoft.edgemac"_s,
                     u"com.apple.Safari"_s, u"com.brave.Browser"_s});
    EXPECT_EQ(result.status, u"3 pages from Other, Chrome, Edge, and Vivaldi");
    EXPECT_EQ(rendered(result.entries),
              u"https://chrome/|Chrome only|1|2024-07-01T12:00:00.000Z\n"
              u"https://shared/|Shared in Chrome|3|2024-07-09T07:45:00.000Z\n"
              u"https://vivaldi/|Vivaldi only|1|2024-07-01T12:00:00.000Z"_s);
}

} // namespace
} // namespace kivaro::test
