#include "StoreFakes.h"
#include "store/Archiver.h"
#include "support/Files.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using testing::FakeBrowser;
using testing::settle;
using testing::StoreWorld;

ArchivedTab archivedTab(const QString& url) {
    return {u"Title"_s, url, QDateTime(QDate(2026, 4, 1), QTime(9, 0), Qt::UTC)};
}

class StoreArchive : public ::testing::Test {
protected:
    void writeArchive(const Archiver::State& state) {
        testing::writeFile(world.archiveFile(), Archiver::encode(state));
    }
    std::optional<Archiver::State> readArchive() const {
        return Archiver::decode(testing::readFile(world.archiveFile()));
    }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> safari =
        std::make_shared<FakeBrowser>(Store::safariID, u"Safari"_qs);
    std::shared_ptr<FakeBrowser> chrome =
        std::make_shared<FakeBrowser>(u"com.google.Chrome"_qs, u"Chrome"_qs);
};

TEST_F(StoreArchive, ReopeningAnArchivedPageInSafariTakesItOutOfTheArchive) {
    writeArchive(
        {.archived = {archivedTab(u"https://a.example/"_qs), archivedTab(u"https://b.example/"_qs),
                      archivedTab(u"http://www.A.example"_qs)}});
    auto store = world.store({safari, chrome});
    ASSERT_EQ(store->archived.size(), 3);

    store->use(chrome);
    store->perform(Action::open(u"https://a.example/"_qs), OpenMode::newTab);
    settle(*store);
    EXPECT_EQ(store->archived.size(), 3) << "another browser leaves the archive alone";

    store->use(safari);
    store->perform(Action::open(u"https://a.example"_qs), OpenMode::currentTab);
    settle(*store);
    EXPECT_EQ(store->archived, QList<ArchivedTab>{archivedTab(u"https://b.example/"_qs)});
    ASSERT_TRUE(readArchive());
    EXPECT_EQ(readArchive()->archived, store->archived);
    EXPECT_EQ(safari->callsNamed(u"open"_qs), 1);
}

TEST_F(StoreArchive, APassWithAutoArchiveOffDisarms) {
    writeArchive({.archived = {archivedTab(u"https://a.example/"_qs)}, .armed = true});
    auto store = world.store({safari});
    store->archivePass();
    settle(*store);
    ASSERT_TRUE(readArchive());
    EXPECT_FALSE(readArchive()->armed);
    EXPECT_EQ(store->archived.size(), 1);
    EXPECT_TRUE(world.toast.shown.isEmpty());
}

TEST_F(StoreArchive, TheFirstPassAfterSwitchingOnArmsWithoutClosingAnything) {
    world.preferences->setArchiveAfter(ArchiveInterval::day);
    world.workspace.run(Store::safariID);
    auto store = world.store({safari});
    store->archivePass();
    settle(*store);
    ASSERT_TRUE(readArchive());
    EXPECT_TRUE(readArchive()->armed);
    EXPECT_TRUE(readArchive()->archived.isEmpty());
    EXPECT_TRUE(world.toast.shown.isEmpty());
}

TEST_F(StoreArchive, TheDemonstrationHasNoArchive) {
    writeArchive({.archived = {archivedTab(u"https://a.example/"_qs)}, .armed = true});
    Store demo(world.adapters({safari}), DemoData{});
    demo.archivePass();
    settle(demo);
    EXPECT_TRUE(demo.archived.isEmpty());
    EXPECT_TRUE(readArchive()->armed) << "the file is not touched";
}

} // namespace
} // namespace kivaro
