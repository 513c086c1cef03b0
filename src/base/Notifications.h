#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace kivaro {

// The program-wide notification centre: one object whose signal carries a notification's
// name and object. Names in use: "PreferencesChanged" (object: the Preferences, as a
// QObject*), "HotkeyRecording" (object: a bool, true while a recorder records) and
// "PanelShown".
//
// Threads: post from the main thread only. Receivers connect to `posted` as usual; a
// receiver living on the main thread is called at once, inside post().
class Notifications : public QObject {
    Q_OBJECT

public:
    static inline const QString preferencesChanged = QStringLiteral("PreferencesChanged");
    static inline const QString hotkeyRecording = QStringLiteral("HotkeyRecording");
    static inline const QString panelShown = QStringLiteral("PanelShown");

    static Notifications& center();

    void post(const QString& name, const QVariant& object = {});

signals:
    void posted(const QString& name, const QVariant& object);

private:
    Notifications() = default;
};

} // namespace kivaro
