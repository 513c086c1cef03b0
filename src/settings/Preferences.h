#pragma once

#include "keys/HotkeyBindings.h"
#include "search/Ranking.h"
#include "search/SearchEngine.h"
#include "settings/Appearance.h"
#include "settings/ArchiveInterval.h"
#include "settings/StoredValue.h"

#include <QObject>
#include <QSet>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <mutex>
#include <optional>

namespace kivaro {

class LoginItem;

// The preference keys.
namespace PreferenceKey {
inline const QString showMenuBarIcon = QStringLiteral("showMenuBarIcon");
inline const QString panelTheme = QStringLiteral("panelTheme");
inline const QString accent = QStringLiteral("accent");
inline const QString customAccent = QStringLiteral("customAccent");
inline const QString panelOpacity = QStringLiteral("panelOpacity");
inline const QString resultLayout = QStringLiteral("resultLayout");
inline const QString sectionOrder = QStringLiteral("sectionOrder");
inline const QString searchEngine = QStringLiteral("searchEngine");
inline const QString searchSuggestions = QStringLiteral("searchSuggestions");
inline const QString otherBrowsers = QStringLiteral("otherBrowsers");
inline const QString historySources = QStringLiteral("historySources");
inline const QString archiveAfter = QStringLiteral("archiveAfter");
inline const QString welcomed = QStringLiteral("welcomed");
inline const QString migratedSettings = QStringLiteral("migratedSettings");
} // namespace PreferenceKey

// The user's settings, read with their defaults and written through one shared object.
// Nothing is cached: every read goes to the settings store. Reads may come from any thread
// (the store's queue reads the history sources); writes, willChange() and the
// "PreferencesChanged" notification happen on the main thread.
class Preferences : public QObject, public HotkeyBindings {
    Q_OBJECT

public:
    static constexpr double minimumOpacity = 0.6;
    static constexpr double maximumOpacity = 1.0;

    explicit Preferences(std::unique_ptr<QSettings> defaults);
    ~Preferences() override;

    // The application's own settings (Storage::settings), created on first use.
    static Preferences& shared();

    // Launch at login goes through `item`; without one it reads off and cannot be set.
    void setLoginItem(LoginItem* item);

    // A shortcut switch: true unless the key holds the Boolean false.
    bool flag(const QString& key) const;
    // The flag that switches the action's hot key on.
    bool shortcutEnabled(HotkeyAction action) const override;
    bool showMenuBarIcon() const;
    bool newTabShortcut() const;
    bool currentTabShortcut() const;
    bool copyLinkShortcut() const;
    bool pinShortcut() const;
    bool lastTabShortcut() const;

    PanelTheme panelTheme() const;
    AccentChoice accent() const;
    // The custom accent colour as stored (hexadecimal text); nothing when it is not text.
    std::optional<QString> customAccent() const;

    double panelOpacity() const;
    void setPanelOpacity(double opacity);

    ResultLayout resultLayout() const;

    // The stored section order as written; sectionOrder() applies ResultSection::ordered.
    QStringList storedSectionOrder() const;
    QList<ResultSection> sectionOrder() const;
    void setSectionOrder(const QList<ResultSection>& order);

    SearchEngine searchEngine() const;
    void setSearchEngine(SearchEngine engine);

    bool searchSuggestions() const;
    void setSearchSuggestions(bool on);

    bool otherBrowsers() const;

    QSet<QString> historySources() const;
    void setHistorySources(const QSet<QString>& sources);

    ArchiveInterval archiveAfter() const;
    void setArchiveAfter(ArchiveInterval interval);

    bool welcomed() const;

    bool launchAtLogin() const;
    void setLaunchAtLogin(bool on);

    // The action's binding: the stored one when it decodes, else the default.
    KeyCombo combo(HotkeyAction action) const override;
    // Stores a binding; nothing, or the default itself, removes the key so the default applies.
    void setCombo(const std::optional<KeyCombo>& combo, HotkeyAction action) override;

    // The generic writer the settings window uses for the other keys.
    void store(const QString& key, const QVariant& value);
    QVariant value(const QString& key) const;

    // Saves pending changes now (QSettings replaces the file atomically); otherwise they
    // are saved on the next turn of the event loop and at destruction.
    void sync();

signals:
    // Sent before every write.
    void willChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The stored text under `key`, or nothing when the key is absent or holds no text.
    std::optional<QString> storedString(const QString& key) const;
    bool plainBoolean(const QString& key, bool absent) const;
    bool moveToMainThread();

    // Runs one write: willChange(), the change, then "PreferencesChanged".
    template <typename Change>
    void write(Change&& change);
    void setValueLocked(const QString& key, const QVariant& value);
    void removeLocked(const QString& key);

    mutable std::mutex mutex_;
    std::unique_ptr<QSettings> defaults_;
    StoredValue::Form form_;
    LoginItem* loginItem_ = nullptr;
};

} // namespace kivaro
