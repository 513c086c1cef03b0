#include "ui/ActionBar.h"

#include "keys/KeyCaps.h"
#include "keys/Shortcut.h"
#include "ui/InkViews.h"
#include "ui/Keycap.h"

#include <QHBoxLayout>
#include <QPainter>

namespace kivaro {

namespace {

constexpr int modeSymbolSide = 13;

// The thin upright line between the primary action and "Actions".
class Divider : public QWidget {
public:
    explicit Divider(QWidget* parent) : QWidget(parent) { setFixedSize(1, 14); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Ink::label(0.12).resolve(palette()));
    }
};

// The left side: the special mode's title and symbol, or where the panel opens pages.
ActionBar::Special leftSide(OpenMode mode, const std::optional<ActionBar::Special>& special) {
    if (special)
        return *special;
    if (mode == OpenMode::currentTab)
        return {QStringLiteral("Opens in current tab"), QStringLiteral("arrow.turn.down.right")};
    return {QStringLiteral("Opens in new tab"), QStringLiteral("plus.square.on.square")};
}

} // namespace

ActionBar::ActionBar(QWidget* parent)
    : QWidget(parent), modeIcon_(new SymbolView(modeSymbolSide, Ink::secondary(), this)),
      modeLabel_(new TextLine(Fonts::system(12), Ink::secondary(), this)), right_(new QHBoxLayout) {
    setFixedHeight(height);
    auto* bar = new QHBoxLayout(this);
    bar->setContentsMargins(20, 0, 14, 0);
    bar->setSpacing(0);
    bar->addWidget(modeIcon_, 0, Qt::AlignVCenter);
    bar->addSpacing(6);
    bar->addWidget(modeLabel_, 1, Qt::AlignVCenter);
    bar->addSpacing(16);
    right_->setSpacing(12);
    bar->addLayout(right_);
    update(OpenMode::newTab, std::nullopt, std::nullopt);
}

QWidget* ActionBar::item(const QString& text, const QStringList& keys, QWidget* parent) {
    auto* hint = new QWidget(parent);
    auto* line = new QHBoxLayout(hint);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(7);
    auto* label = new TextLine(Fonts::system(12, QFont::Medium), Ink::secondary(), hint);
    label->setText(text);
    line->addWidget(label, 0, Qt::AlignVCenter);
    if (!keys.isEmpty())
        line->addWidget(Keycap::row(keys, hint), 0, Qt::AlignVCenter);
    hint->setAccessibleName(keys.isEmpty() ? text : text + u' ' + Keycap::spoken(keys));
    return hint;
}

void ActionBar::update(OpenMode mode, const std::optional<Special>& special,
                       const std::optional<RowAction>& primary) {
    const Special left = leftSide(mode, special);
    modeIcon_->setSymbol(left.symbol);
    modeLabel_->setText(left.title);
    while (QLayoutItem* old = right_->takeAt(0)) {
        if (QWidget* widget = old->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete old;
    }
    hints_.clear();
    if (primary) {
        addHint(primary->title,
                primary->shortcut ? KeyCaps::of(*primary->shortcut) : QStringList());
        right_->addWidget(new Divider(this), 0, Qt::AlignVCenter);
    }
    addHint(QStringLiteral("Actions"), KeyCaps::of(Shortcut::actions()));
}

void ActionBar::addHint(const QString& text, const QStringList& keys) {
    right_->addWidget(item(text, keys, this), 0, Qt::AlignVCenter);
    hints_.append((QStringList{text} + keys).join(u' '));
}

QString ActionBar::modeText() const {
    return modeLabel_->text();
}

QStringList ActionBar::hints() const {
    return hints_;
}

} // namespace kivaro
