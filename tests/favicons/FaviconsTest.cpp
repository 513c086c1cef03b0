#include "favicons/Favicons.h"

#include "favicons/FaviconFiles.h"
#include "support/Files.h"
#include "support/LocalHttpServer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::LocalHttpServer;
using Answer = LocalHttpServer::Reply;
using testing::waitUntil;

QImage filled(const QSize& size, const QColor& color) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QByteArray encoded(const QImage& image, const char* format = "PNG") {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

Answer icon(const QColor& color, const QSize& size = QSize(16, 16)) {
    return {.body = encoded(filled(size, color)), .contentType = "image/png"};
}

Answer page(const QByteArray& html) {
    return {.body = html, .contentType = "text/html"};
}

Answer redirect(const QByteArray& to) {
    return {.status = 302, .contentType = "text/html", .location = to};
}

class FaviconsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isListening()); }

    // Looks the host up and waits until the lookup has ended either way; returns the
    // deliveries.
    static QList<QImage> lookUp(Favicons& favicons, const QString& host) {
        QList<QImage> delivered;
        const std::optional<QImage> known =
            favicons.image(host, [&delivered](const QImage& image) { delivered.append(image); });
        EXPECT_FALSE(known.has_value());
        EXPECT_TRUE(waitUntil([&] { return !favicons.isWaiting(host); }));
        // Give a wrongly repeated delivery the chance to show up.
        QCoreApplication::processEvents();
        EXPECT_EQ(favicons.hasFailed(host), delivered.isEmpty());
        EXPECT_LE(delivered.size(), 1);
        return delivered;
    }

    // The size of the icon a lookup of the server's host delivers (invalid without one).
    QSize deliveredSize() {
        Favicons favicons(folder.path());
        return lookUp(favicons, server.host()).value(0).size();
    }

    QTemporaryDir folder;
    LocalHttpServer server;
};

// Two rows of one host share one lookup; the icon is then served from memory, and after a
// restart from disk, as a 64 × 64 PNG named after the host.
TEST_F(FaviconsTest, FetchesStoresAndServesAGoodIconOnce) {
    // An HTML error page is no icon; the touch icon is.
    server.answer("/favicon.ico", page("<html><body>Not Found</body></html>"));
    server.answer("/apple-touch-icon.png", icon(Qt::green, QSize(180, 180)));
    Favicons favicons(folder.path());
    int otherRow = 0;
    EXPECT_FALSE(favicons.image(server.host(), [&otherRow](const QImage&) { ++otherRow; }));
    const QList<QImage> delivered = lookUp(favicons, server.host());
    ASSERT_EQ(delivered.size(), 1);
    EXPECT_EQ(otherRow, 1);
    EXPECT_EQ(delivered.first().size(), QSize(180, 180));

    EXPECT_TRUE(favicons.image(server.host(), nullptr).has_value());
    const QImage stored(QDir(folder.path()).filePath(server.host() + u".png"_qs));
    EXPECT_EQ(stored.size(), QSize(64, 64));
    EXPECT_TRUE(stored.hasAlphaChannel());
    Favicons restarted(folder.path());
    EXPECT_TRUE(restarted.image(server.host(), nullptr).has_value());
    EXPECT_EQ(server.totalRequests(), 2) << "the well-known files, not the page";
}

TEST_F(FaviconsTest, FollowsTheLinkOfThePageAfterRedirects) {
    // Neither well-known file; the page moved, and its icon link is relative to where it
    // ended up.
    server.answer("/", redirect("/home/"));
    server.answer("/home/", page("<html><head><link rel=\"stylesheet\" href=\"/s.css\">"
                                 "<LINK REL='Shortcut Icon' HREF='img/i.png'>"
                                 "<link rel=\"icon\" href=\"/other.png\"></head></html>"));
    server.answer("/home/img/i.png", icon(Qt::yellow, QSize(32, 32)));
    EXPECT_EQ(deliveredSize(), QSize(32, 32));
    EXPECT_EQ(server.requests("/other.png"), 0);
}

TEST_F(FaviconsTest, HugeBrokenAndLoopingAnswersEndInNoDelivery) {
    // A picture too large to be an icon, a body too large to read, and a page whose icon link
    // redirects in a loop.
    server.answer("/favicon.ico", icon(Qt::red, QSize(1500, 1500)));
    server.answer("/apple-touch-icon.png",
                  {.body = QByteArray(3 * 1024 * 1024, 'x'), .contentType = "image/png"});
    server.answer("/", page("<link rel=icon href=\"/x\"><link rel=\"icon\" href=\"/loop\">"));
    server.answer("/loop", redirect("/loop2"));
    server.answer("/loop2", redirect("/loop"));
    Favicons favicons(folder.path());
    EXPECT_TRUE(lookUp(favicons, server.host()).isEmpty());
    EXPECT_GT(server.requests("/loop2"), 1);
    EXPECT_EQ(server.requests("/x"), 0);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());

    // Failed: not tried again during this run.
    const int before = server.totalRequests();
    EXPECT_FALSE(favicons.image(server.host(), nullptr).has_value());
    QCoreApplication::processEvents();
    EXPECT_EQ(server.totalRequests(), before);
}

TEST_F(FaviconsTest, NothingAnswersNothingIsDelivered) {
    Favicons favicons(folder.path());
    EXPECT_FALSE(favicons.image(QString(), [](const QImage&) { FAIL(); }).has_value());
    // A closed port: refused at once.
    EXPECT_TRUE(lookUp(favicons, u"127.0.0.1:1"_qs).isEmpty());
    // A lookup cut short by the end of the instance calls nobody.
    server.answer("/favicon.ico", icon(Qt::red));
    bool called = false;
    {
        Favicons shortLived(folder.path());
        shortLived.image(server.host(), [&called](const QImage&) { called = true; });
    }
    waitUntil([] { return false; }, 200);
    EXPECT_FALSE(called);
}

TEST_F(FaviconsTest, HostileHostsStayInsideTheCacheFolder) {
    server.answer("/favicon.ico", icon(Qt::red));
    QTemporaryDir outer;
    const QString cache = QDir(outer.path()).filePath(u"cache"_qs);
    Favicons favicons(cache);
    // The path part of this "host" reaches the same server; its file must not climb out.
    const QString hostile = server.host() + u"/../../escaped"_qs;
    EXPECT_EQ(lookUp(favicons, hostile).size(), 1);
    EXPECT_EQ(QDir(outer.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
    const QStringList stored = QDir(cache).entryList(QDir::Files);
    ASSERT_EQ(stored.size(), 1);
    EXPECT_TRUE(stored.first().startsWith(u'~'));
    // And it is found again under the same name.
    Favicons again(cache);
    EXPECT_TRUE(again.image(hostile, nullptr).has_value());
}

TEST(FaviconFilesTest, OrdinaryHostsKeepTheirNamesOthersGetAHashedOne) {
    QStringList hashed{QString(u"a\0b"_qs), u"\n"_qs, QString(201, u'a'), QString(5000, u'x')};
    EXPECT_EQ(FaviconFiles::fileName(QString(200, u'a')), QString(200, u'a') + u".png"_qs);
    for (const QByteArray& line : testing::fixtureLines(u"favicon-hosts.txt"_qs)) {
        const QString host = QString::fromUtf8(line.mid(5));
        if (line.startsWith("keep"))
            EXPECT_EQ(FaviconFiles::fileName(host), host + u".png"_qs);
        else
            hashed.append(host);
    }
    QSet<QString> names;
    for (const QString& host : hashed) {
        const QString name = FaviconFiles::fileName(host);
        EXPECT_TRUE(name.startsWith(u'~')) << name.toStdString();
        EXPECT_EQ(name.size(), 1 + 64 + 4);
        EXPECT_FALSE(name.contains(u'/') || name.contains(QChar(0)));
        names.insert(name);
    }
    EXPECT_EQ(names.size(), hashed.size());
}

TEST(FaviconParsingTest, FindsTheFirstIconLink) {
    for (const QByteArray& line : testing::fixtureLines(u"favicon-pages.txt"_qs)) {
        const QString html = QString::fromUtf8(line.mid(line.indexOf('\t') + 1));
        EXPECT_EQ(Favicons::iconHref(html).value_or(u"-"_qs),
                  QString::fromUtf8(line.left(line.indexOf('\t'))))
            << line.toStdString();
    }
    EXPECT_FALSE(Favicons::iconHref(QString()));
}

TEST(FaviconImageTest, StoresIconsAs64PixelPngsAndDecodesOnlyIcons) {
    const std::optional<QByteArray> data = Favicons::png(filled(QSize(180, 90), Qt::red));
    ASSERT_TRUE(data.has_value());
    const QImage stored = QImage::fromData(*data, "PNG");
    EXPECT_EQ(stored.size(), QSize(64, 64));
    EXPECT_EQ(QColor(stored.pixel(32, 32)), QColor(Qt::red));
    EXPECT_FALSE(Favicons::png(QImage()).has_value());
    // Decoding refuses what is no icon.
    const QByteArray red = encoded(filled(QSize(16, 16), Qt::red));
    EXPECT_TRUE(Favicons::decode(red).has_value());
    EXPECT_TRUE(Favicons::decode(encoded(filled(QSize(16, 16), Qt::red), "ICO")).has_value());
    EXPECT_FALSE(Favicons::decode(QByteArray()).has_value());
    EXPECT_FALSE(Favicons::decode("<html></html>").has_value());
    EXPECT_FALSE(Favicons::decode(encoded(filled(QSize(4000, 10), Qt::red))).has_value());
    EXPECT_FALSE(Favicons::decode(red.left(red.size() / 2)).has_value());
}

// The tone averages saturated bright pixels: white is no colour and does not water the blue
// down; grey, dark, transparent or a few coloured pixels (weight at most 4) give none.
TEST(FaviconToneTest, AveragesSaturatedBrightPixels) {
    QImage half = filled(QSize(32, 32), Qt::white), greys = half, speck = half;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (x < 16)
                half.setPixelColor(x, y, QColor(0, 0, 255));
            greys.setPixelColor(x, y, (x + y) % 2 ? QColor(Qt::black) : QColor(128, 128, 128));
        }
    }
    for (int x = 0; x < 4; ++x)
        speck.setPixelColor(x, 0, QColor(255, 0, 0));
    const std::vector<std::pair<QImage, QString>> cases{
        {filled(QSize(32, 32), QColor(220, 20, 20)), u"#ffdc1414"_qs},
        {half, u"#ff0000ff"_qs},
        {greys, u"none"_qs},
        {speck, u"none"_qs},
        {filled(QSize(24, 24), QColor(40, 0, 0)), u"none"_qs},
        {filled(QSize(24, 24), QColor(255, 0, 0, 60)), u"none"_qs},
        {QImage(), u"none"_qs}};
    for (const auto& [image, tone] : cases) {
        const std::optional<QColor> found = Favicons::tone(image);
        EXPECT_EQ(found ? found->name(QColor::HexArgb) : u"none"_qs, tone);
    }
}

} // namespace
} // namespace kivaro
