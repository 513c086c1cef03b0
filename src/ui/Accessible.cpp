#include "ui/Accessible.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace kivaro::Accessible {

namespace {

const char* const roleProperty = "kivaroAccessibleRole";
const char* const selectedProperty = "kivaroAccessibleSelected";

// Holds the press callback as a child of the widget, so it lives exactly as long.
class Press : public QObject {
public:
    Press(QObject* parent, std::function<void()> run) : QObject(parent), run(std::move(run)) {}
    std::function<void()> run;
};

class View : public QAccessibleWidget {
public:
    explicit View(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Role(widget->property(roleProperty).toInt())) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Help)
            return widget()->whatsThis();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const QVariant selected = widget()->property(selectedProperty);
        if (selected.isValid()) {
            state.selectable = true;
            state.selected = selected.toBool();
        }
        return state;
    }

    QStringList actionNames() const override {
        return press() ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == pressAction() && press()) {
            // Copied: the press may discard the view.
            const std::function<void()> run = press()->run;
            run();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    Press* press() const {
        return widget()->findChild<Press*>(QString(), Qt::FindDirectChildrenOnly);
    }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType() || !object->property(roleProperty).isValid())
        return nullptr;
    return new View(static_cast<QWidget*>(object));
}

} // namespace

void describe(QWidget& widget, QAccessible::Role role, std::function<void()> press) {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    widget.setProperty(roleProperty, int(role));
    if (press)
        new Press(&widget, std::move(press));
}

void setSelected(QWidget& widget, bool selected) {
    if (widget.property(selectedProperty) == QVariant(selected))
        return;
    widget.setProperty(selectedProperty, selected);
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(&widget, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace kivaro::Accessible
