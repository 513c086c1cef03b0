#include "ui/Keycap.h"

#include "panel/Colors.h"
#include "ui/Accessible.h"
#include "ui/Ink.h"

#include <QHash>
#include <QPainter>
#include <QWidget>

namespace kivaro {

namespace {

constexpr int capHeight = 20;
constexpr int capMinimumWidth = 20;
constexpr int capPadding = 5;
constexpr int capSpacing = 3;
constexpr double capRadius = 5;

// Caps drawn side by side in one view, so the row is one element for a screen reader.
class KeycapRow : public QWidget {
public:
    KeycapRow(const QStringList& keys, QWidget* parent) : QWidget(parent), keys_(keys) {
        setFont(Fonts::system(11, QFont::DemiBold));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setFixedSize(sizeHint());
        Accessible::describe(*this, QAccessible::StaticText);
        setAccessibleName(Keycap::spoken(keys));
    }

    void setOn(const std::optional<QColor>& on) {
        on_ = on;
        update();
    }

    QSize sizeHint() const override {
        int width = 0;
        for (const QString& key : keys_)
            width += capWidth(key);
        width += capSpacing * std::max(0, int(keys_.size()) - 1);
        return {width, capHeight};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const auto [background, text] = colours();
        int x = 0;
        for (const QString& key : keys_) {
            const QRectF cap(x, 0, capWidth(key), capHeight);
            fillRounded(painter, cap, capRadius, background);
            painter.setPen(text);
            painter.drawText(cap, Qt::AlignCenter, key);
            x += int(cap.width()) + capSpacing;
        }
    }

private:
    int capWidth(const QString& key) const {
        return std::max(capMinimumWidth, fontMetrics().horizontalAdvance(key) + 2 * capPadding);
    }

    std::pair<QColor, QColor> colours() const {
        if (!on_)
            return {Ink::label(0.07).resolve(palette()), Ink::secondary().resolve(palette())};
        const QColor onFill = Colors::textOn(Colors::selectionFill(*on_));
        return {Colors::withAlpha(onFill, 0.2), Colors::withAlpha(onFill, 0.9)};
    }

    QStringList keys_;
    std::optional<QColor> on_;
};

} // namespace

QWidget* Keycap::make(const QString& text, QWidget* parent) {
    return new KeycapRow({text}, parent);
}

QWidget* Keycap::row(const QStringList& keys, QWidget* parent) {
    return new KeycapRow(keys, parent);
}

QString Keycap::spoken(const QStringList& keys) {
    static const QHash<QString, QString> names{
        {QStringLiteral("⌘"), QStringLiteral("Command")},
        {QStringLiteral("⇧"), QStringLiteral("Shift")},
        {QStringLiteral("⌥"), QStringLiteral("Option")},
        {QStringLiteral("⌃"), QStringLiteral("Control")},
        {QStringLiteral("↩"), QStringLiteral("Return")},
        {QStringLiteral("⌫"), QStringLiteral("Delete")},
        {QStringLiteral("⇥"), QStringLiteral("Tab")},
    };
    QStringList words;
    for (const QString& key : keys)
        words.append(names.value(key, key));
    return words.join(u' ');
}

void Keycap::style(QWidget* row, const std::optional<QColor>& on) {
    if (auto* caps = dynamic_cast<KeycapRow*>(row))
        caps->setOn(on);
}

} // namespace kivaro
