#include "favicons/Favicons.h"

#include "base/Identifiers.h"
#include "favicons/FaviconFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace kivaro {

namespace {

// Plain http for addresses written as digits and for local servers, https for the rest.
QUrl pageOf(const QString& host) {
    const bool local =
        host.startsWith(QStringLiteral("localhost")) || (!host.isEmpty() && host.front().isDigit());
    return QUrl((local ? QStringLiteral("http://") : QStringLiteral("https://")) + host);
}

QString bodyText(const QByteArray& body) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    return utf8.hasError() ? QString::fromLatin1(body) : text;
}

int httpStatus(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

void abortWhenTooLarge(QNetworkReply* reply) {
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
        if (received > Favicons::largestDownload)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > Favicons::largestDownload)
            reply->abort();
    });
}

} // namespace

Favicons::Favicons(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder), session_(new QNetworkAccessManager(this)) {
    QDir().mkpath(folder_);
    // Nothing kept between requests: no disk cache, and cookies live in memory only.
    session_->setTransferTimeout(timeoutMilliseconds);
    session_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

Favicons::~Favicons() {
    // Lookups still under way end here without calling anybody.
    const auto replies = session_->findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
    }
}

Favicons& Favicons::shared() {
    static QPointer<Favicons> instance;
    if (!instance) {
        instance = new Favicons(defaultFolder());
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                         instance.data(), [] { delete instance.data(); });
    }
    return *instance;
}

QString Favicons::defaultFolder() {
    const QString caches = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return QDir(caches).filePath(Identifiers::bundle + QStringLiteral("/favicons"));
}

QString Favicons::filePath(const QString& host) const {
    return QDir(folder_).filePath(FaviconFiles::fileName(host));
}

std::optional<QImage> Favicons::image(const QString& host, Ready ready) {
    if (host.isEmpty() || failed_.contains(host))
        return std::nullopt;
    if (const auto known = memory_.constFind(host); known != memory_.constEnd())
        return *known;
    if (std::optional<QImage> stored = fromDisk(host)) {
        memory_.insert(host, *stored);
        return stored;
    }
    if (auto pending = waiting_.find(host); pending != waiting_.end()) {
        pending->append(std::move(ready));
        return std::nullopt;
    }
    waiting_.insert(host, {std::move(ready)});
    lookUp(host);
    return std::nullopt;
}

std::optional<QImage> Favicons::fromDisk(const QString& host) const {
    QFile file(filePath(host));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.read(largestDownload));
}

void Favicons::lookUp(const QString& host) {
    const QUrl page = pageOf(host);
    const QList<QUrl> candidates{page.resolved(QUrl(QStringLiteral("/favicon.ico"))),
                                 page.resolved(QUrl(QStringLiteral("/apple-touch-icon.png")))};
    fetch(candidates, page, [this, host](std::optional<QImage> image) { finish(host, image); });
}

void Favicons::fetch(QList<QUrl> candidates, const QUrl& page, Done done) {
    if (candidates.isEmpty()) {
        if (page.isValid())
            linked(page, std::move(done));
        else
            done(std::nullopt);
        return;
    }
    const QUrl first = candidates.takeFirst();
    load(first, [this, candidates, page, done](std::optional<QImage> image) {
        if (image)
            done(image);
        else
            fetch(candidates, page, done);
    });
}

void Favicons::load(const QUrl& url, Done done) {
    get(url, [done](QNetworkReply& reply) {
        if (reply.error() != QNetworkReply::NoError || httpStatus(reply) != 200) {
            done(std::nullopt);
            return;
        }
        done(decode(reply.readAll()));
    });
}

void Favicons::linked(const QUrl& page, Done done) {
    get(page, [this, page, done](QNetworkReply& reply) {
        const QByteArray body = reply.readAll();
        const std::optional<QString> href =
            body.isEmpty() ? std::nullopt : iconHref(bodyText(body));
        if (!href) {
            done(std::nullopt);
            return;
        }
        // Relative references count from where the page ended up after redirects.
        const QUrl base = reply.url().isValid() ? reply.url() : page;
        const QUrl icon = base.resolved(QUrl(*href));
        if (!icon.isValid() || icon.isRelative()) {
            done(std::nullopt);
            return;
        }
        load(icon, done);
    });
}

void Favicons::get(const QUrl& url, std::function<void(QNetworkReply&)> done) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QNetworkReply* reply = session_->get(request);
    abortWhenTooLarge(reply);
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        done(*reply);
    });
}

void Favicons::finish(const QString& host, const std::optional<QImage>& image) {
    const QList<Ready> callbacks = waiting_.take(host);
    if (!image) {
        failed_.insert(host);
        return;
    }
    memory_.insert(host, *image);
    if (const std::optional<QByteArray> data = png(*image)) {
        QSaveFile file(filePath(host));
        if (file.open(QIODevice::WriteOnly) && file.write(*data) == data->size())
            file.commit();
    }
    for (const Ready& ready : callbacks) {
        if (ready)
            ready(*image);
    }
}

std::optional<QImage> Favicons::decode(const QByteArray& data) {
    if (data.isEmpty())
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > largestSide || size.height() > largestSide))
        return std::nullopt;
    // A small file may still claim a huge picture; refuse to allocate for it.
    reader.setAllocationLimit(16);
    const QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.width() > largestSide ||
        image.height() > largestSide)
        return std::nullopt;
    return image;
}

std::optional<QByteArray> Favicons::png(const QImage& image) {
    if (image.isNull())
        return std::nullopt;
    const QImage scaled =
        image.scaled(storedSide, storedSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGBA8888);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!scaled.save(&buffer, "PNG"))
        return std::nullopt;
    return data;
}

std::optional<QColor> Favicons::tone(const QImage& image) {
    if (image.isNull())
        return std::nullopt;
    const QImage small = image.scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    double red = 0, green = 0, blue = 0, total = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const QColor pixel = QColor::fromRgba(small.pixel(x, y));
            if (pixel.alphaF() <= 0.5)
                continue;
            const double saturation = pixel.hsvSaturationF();
            const double brightness = pixel.valueF();
            if (saturation <= 0.3 || brightness <= 0.25)
                continue;
            const double weight = saturation * brightness;
            red += weight * pixel.redF();
            green += weight * pixel.greenF();
            blue += weight * pixel.blueF();
            total += weight;
        }
    }
    if (total <= 4.0)
        return std::nullopt;
    return QColor::fromRgbF(float(red / total), float(green / total), float(blue / total), 1.0f);
}

std::optional<QString> Favicons::iconHref(const QString& html) {
    static const QRegularExpression linkTag(QStringLiteral("<link\\b[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (auto tags = linkTag.globalMatch(html); tags.hasNext();) {
        const QString tag = tags.next().captured(0);
        const QStringList tokens = attribute(QStringLiteral("rel"), tag)
                                       .value_or(QString())
                                       .toLower()
                                       .split(u' ', Qt::SkipEmptyParts);
        if (tokens.contains(QStringLiteral("icon")) ||
            tokens.contains(QStringLiteral("apple-touch-icon")))
            return attribute(QStringLiteral("href"), tag);
    }
    return std::nullopt;
}

std::optional<QString> Favicons::attribute(const QString& name, const QString& tag) {
    const QRegularExpression pattern(QRegularExpression::escape(name) +
                                         QStringLiteral("\\s*=\\s*[\"']([^\"']+)[\"']"),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(tag);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

} // namespace kivaro
