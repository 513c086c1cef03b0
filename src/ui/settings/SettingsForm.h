#pragma once

#include "panel/SettingsCatalog.h"

#include <QAbstractButton>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QString>

#include <functional>

class QVBoxLayout;

namespace kivaro {

// An on/off switch, drawn as a rounded track with a knob.
class Toggle : public QAbstractButton {
    Q_OBJECT

public:
    explicit Toggle(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A rounded square of `tint` with a white symbol, `side` pixels: the sidebar's pane icons.
QPixmap symbolTile(const QString& symbol, const QColor& tint, int side, qreal ratio);

// Small secondary text under a control; wraps.
QLabel* noteLabel(const QString& text, QWidget* parent = nullptr);

// One pane: a scrolling page of a header (icon, title, description) and cards of rows. Rows
// register their setting's id as an anchor, so a search hit scrolls to it and lights it up.
// Every control registers a reader, run whenever the preferences may have changed.
class SettingsForm : public QScrollArea {
    Q_OBJECT

public:
    explicit SettingsForm(SettingsPane pane, QWidget* parent = nullptr);

    SettingsPane pane() const { return pane_; }

    // Starts a card, with a heading when `title` is given.
    void beginCard(const QString& title = {});
    // A row: `title` on the left, `control` on the right, the note below. Anchored by `id`.
    QWidget* addRow(const QString& id, const QString& title, QWidget* control,
                    const QString& note = {});
    // A row whose content is a whole widget of its own.
    QWidget* addWidget(const QString& id, QWidget* widget);
    // Text under the cards.
    QLabel* addFooter(const QString& text);

    // Called with every refresh.
    void onReload(std::function<void()> reader) { readers_.append(std::move(reader)); }
    void reload();

    // Scrolls the row of `id` into view and lights it up for a moment.
    void reveal(const QString& id);
    QWidget* anchor(const QString& id) const { return anchors_.value(id); }

private:
    QWidget* separatedRow();

    SettingsPane pane_;
    QWidget* page_;
    QVBoxLayout* pageLayout_;
    QVBoxLayout* card_ = nullptr;
    QHash<QString, QWidget*> anchors_;
    QList<std::function<void()>> readers_;
};

} // namespace kivaro
