#include "settings/Preferences.h"

namespace kivaro {

namespace {

const QString searchEngineKey = QStringLiteral("searchEngine");
const QString resultLayoutKey = QStringLiteral("resultLayout");
const QString sectionOrderKey = QStringLiteral("sectionOrder");

} // namespace

Preferences::Preferences(std::unique_ptr<QSettings> defaults) : defaults_(std::move(defaults)) {}

Preferences& Preferences::shared() {
    static Preferences preferences(
        std::make_unique<QSettings>(QStringLiteral("Kivaro"), QStringLiteral("Kivaro")));
    return preferences;
}

QVariant Preferences::value(const QString& key) const {
    const std::lock_guard lock(mutex_);
    return defaults_->value(key);
}

void Preferences::store(const QString& key, const QVariant& value) {
    const std::lock_guard lock(mutex_);
    defaults_->setValue(key, value);
}

std::optional<QString> Preferences::storedString(const QString& key) const {
    const QVariant stored = value(key);
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return stored.toString();
}

SearchEngine Preferences::searchEngine() const {
    const auto raw = storedString(searchEngineKey);
    return SearchEngine::fromRaw(raw.value_or(QString())).value_or(SearchEngine::google);
}

void Preferences::setSearchEngine(SearchEngine engine) { store(searchEngineKey, engine.rawValue()); }

ResultLayout Preferences::resultLayout() const {
    const auto raw = storedString(resultLayoutKey);
    return resultLayoutFromRaw(raw.value_or(QString())).value_or(ResultLayout::grouped);
}

QStringList Preferences::storedSectionOrder() const {
    // A settings file in text form reads a one-element list back as plain text.
    const QVariant stored = value(sectionOrderKey);
    const auto type = stored.typeId();
    if (type == QMetaType::QStringList || type == QMetaType::QString)
        return stored.toStringList();
    if (type == QMetaType::QVariantList) {
        QStringList names;
        for (const QVariant& item : stored.toList()) {
            if (item.typeId() == QMetaType::QString)
                names.append(item.toString());
        }
        return names;
    }
    return {};
}

QList<ResultSection> Preferences::sectionOrder() const {
    return ResultSection::ordered(storedSectionOrder());
}

void Preferences::setSectionOrder(const QList<ResultSection>& order) {
    QStringList names;
    for (ResultSection section : order)
        names.append(section.rawValue());
    store(sectionOrderKey, names);
}

} // namespace kivaro
