#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace kivaro {

// Site icons: found once per host, kept in memory and as 64 × 64 PNG files in the cache
// folder, and sampled for a tint colour. Everything runs on the main thread; network
// replies arrive through its event loop.
class Favicons : public QObject {
    Q_OBJECT

public:
    using Ready = std::function<void(const QImage&)>;
    using Done = std::function<void(std::optional<QImage>)>;

    // Seconds a request may take.
    static constexpr int timeoutMilliseconds = 4000;
    // Larger answers are not icons (or pages worth reading for one).
    static constexpr qint64 largestDownload = 2 * 1024 * 1024;
    // Larger images are refused before they are decoded.
    static constexpr int largestSide = 1024;
    static constexpr int storedSide = 64;

    // Icons are cached in `folder`, created when missing (a failure only means no disk cache).
    explicit Favicons(const QString& folder, QObject* parent = nullptr);
    ~Favicons() override;

    // The instance of the application, caching in <cache folder>/<bundle id>/favicons.
    static Favicons& shared();
    static QString defaultFolder();

    // The host's icon when it is known; otherwise starts (or joins) a lookup and returns
    // nothing. `ready` runs on the main thread when the lookup finds an icon, and not at all
    // when it fails. A failed host is not tried again during this run.
    std::optional<QImage> image(const QString& host, Ready ready);

    // The weighted average colour of the icon's saturated, bright pixels; nothing for an
    // icon that is too grey, too dark or too transparent.
    static std::optional<QColor> tone(const QImage& image);

    // The href of the first <link> whose rel holds the token "icon" or "apple-touch-icon".
    static std::optional<QString> iconHref(const QString& html);
    // The quoted value of the attribute `name` in one tag; nothing when absent or empty.
    static std::optional<QString> attribute(const QString& name, const QString& tag);
    // The image drawn into 64 × 64 RGBA pixels, as PNG data.
    static std::optional<QByteArray> png(const QImage& image);
    // Decodes an icon, refusing images too large to be one.
    static std::optional<QImage> decode(const QByteArray& data);

    // Whether a lookup for the host is under way, or has failed during this run.
    bool isWaiting(const QString& host) const { return waiting_.contains(host); }
    bool hasFailed(const QString& host) const { return failed_.contains(host); }

    QString folder() const { return folder_; }
    QString filePath(const QString& host) const;

private:
    void lookUp(const QString& host);
    void fetch(QList<QUrl> candidates, const QUrl& page, Done done);
    void load(const QUrl& url, Done done);
    void linked(const QUrl& page, Done done);
    // One GET; `done` gets the reply once it has finished (or failed), on the main thread.
    void get(const QUrl& url, std::function<void(QNetworkReply&)> done);
    void finish(const QString& host, const std::optional<QImage>& image);
    std::optional<QImage> fromDisk(const QString& host) const;

    QHash<QString, QImage> memory_;
    QSet<QString> failed_;
    QHash<QString, QList<Ready>> waiting_;
    QString folder_;
    QNetworkAccessManager* session_ = nullptr;
};

} // namespace kivaro
