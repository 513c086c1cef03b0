#pragma once

#include "search/Ranking.h"
#include "search/SearchEngine.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <mutex>

namespace kivaro {

// The user's settings, read with their defaults and written through one shared object.
// Nothing is cached: every read goes to the settings store. Reads may come from any thread.
class Preferences {
public:
    explicit Preferences(std::unique_ptr<QSettings> defaults);

    // The application's own settings, created on first use.
    static Preferences& shared();

    SearchEngine searchEngine() const;
    void setSearchEngine(SearchEngine engine);

    ResultLayout resultLayout() const;

    // The stored section order as written; sectionOrder() applies ResultSection::ordered.
    QStringList storedSectionOrder() const;
    QList<ResultSection> sectionOrder() const;
    void setSectionOrder(const QList<ResultSection>& order);

    void store(const QString& key, const QVariant& value);
    QVariant value(const QString& key) const;

private:
    // The stored text under `key`, or nothing when the key is absent or holds no text.
    std::optional<QString> storedString(const QString& key) const;

    mutable std::mutex mutex_;
    std::unique_ptr<QSettings> defaults_;
};

} // namespace kivaro
