#include "panel/Colors.h"
#include "settings/Preferences.h"
#include "ui/PanelPalette.h"
#include "ui/Symbols.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsPanes.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace kivaro {

namespace {

constexpr double opacityStep = 0.05;

// The preset highlight colours between "System" and the custom swatch.
const QList<QColor>& presets() {
    static const QList<QColor> colors = {QColor(0xAF, 0x52, 0xDE), QColor(0xFF, 0x2D, 0x55),
                                         QColor(0xFF, 0x3B, 0x30), QColor(0xFF, 0x95, 0x00),
                                         QColor(0x34, 0xC7, 0x59), QColor(0x00, 0xA6, 0xA6),
                                         QColor(0x8E, 0x8E, 0x93)};
    return colors;
}

QColor currentAccent(const Preferences& preferences) {
    return Colors::accent(preferences.accent(), preferences.customAccent(),
                          PanelPalette::systemAccent());
}

// A round colour button; `chosen` draws a ring around it.
class Swatch : public QAbstractButton {
public:
    Swatch(const QColor& color, const QString& name, QWidget* parent)
        : QAbstractButton(parent), color_(color) {
        setAccessibleName(name);
        setToolTip(name);
        setCursor(Qt::PointingHandCursor);
        setFixedSize(28, 28);
    }
    void setColor(const QColor& color) {
        color_ = color;
        update();
    }
    void setChosen(bool chosen) {
        chosen_ = chosen;
        update();
    }
    // The custom swatch shows a colour wheel until a custom colour is chosen.
    void setRainbow(bool rainbow) {
        rainbow_ = rainbow;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF disc = QRectF(rect()).adjusted(5, 5, -5, -5);
        if (rainbow_) {
            QConicalGradient wheel(disc.center(), 90);
            for (int i = 0; i <= 6; ++i)
                wheel.setColorAt(i / 6.0, QColor::fromHsvF(i / 6.0 == 1 ? 0 : i / 6.0, 0.8, 0.95));
            painter.setBrush(wheel);
        } else {
            painter.setBrush(color_);
        }
        painter.setPen(QPen(Colors::withAlpha(Qt::black, 0.15), 1));
        painter.drawEllipse(disc);
        if (chosen_) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
            painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
        }
    }

private:
    QColor color_;
    bool chosen_ = false;
    bool rainbow_ = false;
};

// The panel in miniature, in the chosen theme, opacity and highlight colour.
class PanelPreview : public QWidget {
public:
    explicit PanelPreview(Preferences& preferences) : preferences_(preferences) {
        setMinimumHeight(150);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette colors = PanelPalette::forTheme(preferences_.panelTheme());
        // A desktop behind the panel, so its opacity shows.
        QLinearGradient desktop(0, 0, width(), height());
        desktop.setColorAt(0, QColor(0x5B, 0x8D, 0xEF));
        desktop.setColorAt(1, QColor(0xE0, 0x6C, 0x9F));
        QPainterPath frame;
        frame.addRoundedRect(QRectF(rect()), 10, 10);
        painter.fillPath(frame, desktop);
        const QRectF panel = QRectF(rect()).adjusted(30, 18, -30, -18);
        QColor surface = colors.color(QPalette::Window);
        surface.setAlphaF(float(preferences_.panelOpacity()));
        painter.setPen(Qt::NoPen);
        painter.setBrush(surface);
        painter.drawRoundedRect(panel, 14, 14);
        const QColor text = colors.color(QPalette::WindowText);
        QFont font = painter.font();
        font.setPointSizeF(13);
        painter.setFont(font);
        painter.setPen(text);
        const QRectF field(panel.left() + 16, panel.top() + 8, panel.width() - 32, 30);
        painter.drawText(field, Qt::AlignVCenter, QStringLiteral("git"));
        const QColor accent = currentAccent(preferences_);
        painter.fillRect(QRectF(field.left() +
                                    painter.fontMetrics().horizontalAdvance(QStringLiteral("git")) +
                                    2,
                                field.top() + 7, 2, 16),
                         accent);
        const QStringList rows = {QStringLiteral("Pull requests · GitHub"),
                                  QStringLiteral("Git - Book")};
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QRectF row(panel.left() + 8, field.bottom() + 6 + i * 34, panel.width() - 16, 30);
            if (i == 0) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(Colors::selectionFill(accent));
                painter.drawRoundedRect(row, 8, 8);
            }
            painter.setPen(i == 0 ? Colors::textOn(Colors::selectionFill(accent)) : text);
            painter.drawText(row.adjusted(12, 0, 0, 0), Qt::AlignVCenter, rows.at(i));
        }
    }

private:
    Preferences& preferences_;
};

QWidget* themePicker(SettingsForm& form, Preferences& preferences) {
    auto* segments = new QWidget;
    auto* line = new QHBoxLayout(segments);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(0);
    auto* group = new QButtonGroup(segments);
    const QList<std::pair<PanelTheme, QString>> themes = {
        {PanelTheme::automatic, QStringLiteral("Automatic")},
        {PanelTheme::light, QStringLiteral("Light")},
        {PanelTheme::dark, QStringLiteral("Dark")},
    };
    for (const auto& [theme, title] : themes) {
        auto* segment = new QPushButton(title, segments);
        segment->setCheckable(true);
        group->addButton(segment, int(theme));
        line->addWidget(segment);
    }
    form.onReload([group, &preferences] {
        const QSignalBlocker blocker(group);
        group->button(int(preferences.panelTheme()))->setChecked(true);
    });
    QObject::connect(group, &QButtonGroup::idClicked, segments, [&preferences](int id) {
        preferences.store(PreferenceKey::panelTheme, rawValue(PanelTheme(id)));
    });
    return segments;
}

QWidget* opacitySlider(SettingsForm& form, Preferences& preferences) {
    auto* box = new QWidget;
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    const QColor ink = PanelPalette::secondaryLabel(box->palette());
    const auto end = [&](const QString& symbol, const QString& name) {
        auto* label = new QLabel(box);
        label->setPixmap(QPixmap::fromImage(Symbols::image(symbol, 16, ink)));
        label->setAccessibleName(name);
        return label;
    };
    auto* slider = new QSlider(Qt::Horizontal, box);
    const int low = qRound(Preferences::minimumOpacity / opacityStep);
    const int high = qRound(Preferences::maximumOpacity / opacityStep);
    slider->setRange(low, high);
    slider->setFixedWidth(240);
    slider->setAccessibleName(QStringLiteral("Panel opacity"));
    line->addWidget(end(QStringLiteral("square.on.square.dashed"), QStringLiteral("Clear")));
    line->addWidget(slider);
    line->addWidget(end(QStringLiteral("square.fill.on.square.fill"), QStringLiteral("Solid")));
    form.onReload([slider, &preferences] {
        const QSignalBlocker blocker(slider);
        slider->setValue(qRound(preferences.panelOpacity() / opacityStep));
    });
    QObject::connect(slider, &QSlider::valueChanged, slider, [&preferences](int value) {
        preferences.setPanelOpacity(value * opacityStep);
    });
    return box;
}

QWidget* accentSwatches(SettingsForm& form, Preferences& preferences) {
    auto* box = new QWidget;
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(2);
    const auto choose = [&preferences](AccentChoice choice, const std::optional<QColor>& color) {
        if (color)
            preferences.store(PreferenceKey::customAccent, Colors::hex(*color));
        preferences.store(PreferenceKey::accent, rawValue(choice));
    };
    auto* brand = new Swatch(Colors::brand(), QStringLiteral("Kivaro blue"), box);
    auto* system = new Swatch(PanelPalette::systemAccent(), QStringLiteral("System"), box);
    QObject::connect(brand, &Swatch::clicked, box,
                     [choose] { choose(AccentChoice::brand, std::nullopt); });
    QObject::connect(system, &Swatch::clicked, box,
                     [choose] { choose(AccentChoice::system, std::nullopt); });
    line->addWidget(brand);
    line->addWidget(system);
    QList<std::pair<Swatch*, QColor>> fixed;
    for (const QColor& color : presets()) {
        auto* swatch = new Swatch(color, Colors::hex(color), box);
        QObject::connect(swatch, &Swatch::clicked, box,
                         [choose, color] { choose(AccentChoice::custom, color); });
        line->addWidget(swatch);
        fixed.append({swatch, color});
    }
    auto* custom = new Swatch(QColor(), QStringLiteral("Custom color"), box);
    QObject::connect(custom, &Swatch::clicked, box, [box, choose, &preferences] {
        const QColor picked = QColorDialog::getColor(currentAccent(preferences), box,
                                                     QStringLiteral("Highlight color"));
        if (picked.isValid())
            choose(AccentChoice::custom, picked);
    });
    line->addWidget(custom);
    form.onReload([=, &preferences] {
        const AccentChoice choice = preferences.accent();
        const QColor accent = currentAccent(preferences);
        brand->setChosen(choice == AccentChoice::brand);
        system->setChosen(choice == AccentChoice::system);
        bool preset = false;
        for (const auto& [swatch, color] : fixed) {
            const bool chosen =
                choice == AccentChoice::custom && Colors::hex(color) == Colors::hex(accent);
            swatch->setChosen(chosen);
            preset = preset || chosen;
        }
        const bool isCustom = choice == AccentChoice::custom && !preset;
        custom->setChosen(isCustom);
        custom->setRainbow(!isCustom);
        custom->setColor(accent);
    });
    return box;
}

} // namespace

SettingsForm* buildAppearance(PaneContext& context) {
    Preferences& preferences = context.preferences;
    auto* form = new SettingsForm(SettingsPane::appearance);
    form->beginCard();
    form->addRow(QStringLiteral("theme"), QStringLiteral("Theme"), themePicker(*form, preferences));
    form->addRow(QStringLiteral("opacity"), QStringLiteral("Panel opacity"),
                 opacitySlider(*form, preferences));
    form->addRow(QStringLiteral("highlight"), QStringLiteral("Highlight color"),
                 accentSwatches(*form, preferences),
                 QStringLiteral("Used for the selected row and the text cursor in the panel."));
    form->beginCard(QStringLiteral("Preview"));
    auto* preview = new PanelPreview(preferences);
    form->onReload([preview] { preview->update(); });
    form->addWidget({}, preview);
    return form;
}

} // namespace kivaro
