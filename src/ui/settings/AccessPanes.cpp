#include "keys/HotkeyRecording.h"
#include "panel/Access.h"
#include "panel/KeyPress.h"
#include "panel/SettingsState.h"
#include "settings/Preferences.h"
#include "ui/Keycap.h"
#include "ui/Symbols.h"
#include "ui/settings/HotkeyRecorder.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsPanes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivaro {

namespace {

const QString privacyPane =
    QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy");

QString shortcutsFooter() {
#ifdef Q_OS_MACOS
    return QStringLiteral("Click a shortcut, then press the keys you want. Esc cancels. When a "
                          "shortcut is off, your browser handles "
                          "those keys as usual. Copy page link with ⌥ added copies a Markdown "
                          "link, for example ⌥⇧⌘C. The defaults "
                          "replace Safari's ⇧⌘C for Start Element Selection, ⇧⌘P for Page Setup "
                          "and ⌃Tab for Show Next Tab. In "
                          "Chrome-family browsers, ⌃Tab normally shows the next tab.");
#else
    return KeyPress::nativeText(QStringLiteral(
        "Click a shortcut, then press the keys you want. Esc cancels. When a shortcut is off, your "
        "browser handles "
        "those keys as usual. Copy page link with ⌥ added copies a Markdown link, for example "
        "⌥⇧⌘C. Many desktops "
        "keep ⌃Tab for themselves; when a shortcut shows as not available, record other keys."));
#endif
}

} // namespace

PermissionRow::PermissionRow(AccessNeed need, AccessCheck& access, QWidget* parent)
    : QWidget(parent), need_(need), access_(access), allowed_(new QLabel(this)),
      allow_(new QPushButton(QStringLiteral("Allow"), this)), fix_(noteLabel({}, this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    auto* line = new QHBoxLayout;
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(need.title().toHtmlEscaped()), this);
    words->addWidget(title);
    words->addWidget(noteLabel(need.explanation(), this));
    line->addLayout(words, 1);
    const QColor green(52, 199, 89);
    allowed_->setText(QStringLiteral("<span style=\"color:%1\">Allowed</span>").arg(green.name()));
    auto* check = new QLabel(this);
    check->setPixmap(QPixmap::fromImage(
        Symbols::image(QStringLiteral("checkmark.circle.fill"), 18, Qt::white, green)));
    check->setObjectName(QStringLiteral("check"));
    line->addWidget(check, 0, Qt::AlignVCenter);
    line->addWidget(allowed_, 0, Qt::AlignVCenter);
    line->addWidget(allow_, 0, Qt::AlignVCenter);
    column->addLayout(line);
    column->addWidget(fix_);
    connect(allow_, &QPushButton::clicked, this, [this] { access_.request(need_); });
    connect(&access_, &AccessCheck::changed, this, &PermissionRow::reload);
    reload();
}

void PermissionRow::reload() {
    const bool granted = access_.granted(need_);
    allowed_->setVisible(granted);
    findChild<QLabel*>(QStringLiteral("check"))->setVisible(granted);
    allow_->setVisible(!granted && access_.canRequest(need_));
    const QString fix = access_.state().fix(need_);
    fix_->setText(KeyPress::nativeText(fix));
    fix_->setVisible(!fix.isEmpty());
}

bool PermissionRow::showsAllowed() const {
    return allowed_->isVisibleTo(this);
}

SettingsForm* buildShortcuts(PaneContext& context) {
    auto* form = new SettingsForm(SettingsPane::shortcuts);
    form->beginCard(QStringLiteral("In your browser"));
    QList<ShortcutRow*> rows;
    for (HotkeyAction action : HotkeyAction::allCases()) {
        auto* row =
            new ShortcutRow(action, context.recording, context.preferences, context.state.access());
        rows.append(row);
        form->addWidget(action.rawValue(), row);
        form->onReload([row] { row->reload(); });
    }
    // Starting one recorder stops another: every row shows the recording's state.
    for (ShortcutRow* row : std::as_const(rows)) {
        const auto own = row->recorder().onStateChanged;
        row->recorder().onStateChanged = [own, rows] {
            own();
            for (ShortcutRow* other : rows)
                other->reload();
        };
    }
    QObject::connect(&context.state.access(), &AccessCheck::changed, form, [rows] {
        for (ShortcutRow* row : rows)
            row->reload();
    });
    form->beginCard(QStringLiteral("In the panel"));
    for (const auto& [title, caps] : SettingsItem::panelKeys())
        form->addRow(QStringLiteral("panel-") + title, title,
                     Keycap::row(KeyPress::nativeCaps(caps)));
    form->addFooter(shortcutsFooter());
    return form;
}

SettingsForm* buildPermissions(PaneContext& context) {
    auto* form = new SettingsForm(SettingsPane::permissions);
    form->beginCard();
    for (AccessNeed need : AccessNeed::forPlatform())
        form->addWidget(SettingsItem::accessItem(need).id,
                        new PermissionRow(need, context.state.access()));
#ifdef Q_OS_MACOS
    auto* privacy = new QPushButton(QStringLiteral("Open Privacy & Security"));
    QObject::connect(privacy, &QPushButton::clicked, privacy, [&context] {
        if (context.state.hooks().openUrl)
            context.state.hooks().openUrl(privacyPane);
    });
    form->addWidget({}, privacy);
    form->addFooter(QStringLiteral(
        "Changes you make in System Settings show here when you come back to this window."));
#else
    Q_UNUSED(privacyPane);
    form->addFooter(
        QStringLiteral("Kivaro checks these again every second while this pane is open, so a fix "
                       "shows here as soon as it works."));
#endif
    return form;
}

} // namespace kivaro
