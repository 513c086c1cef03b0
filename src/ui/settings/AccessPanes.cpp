#include "keys/HotkeyRecording.h"
#include "panel/Access.h"
#include "panel/KeyPress.h"
#include "panel/SettingsState.h"
#include "settings/Preferences.h"
#include "ui/Symbols.h"
#include "ui/settings/HotkeyRecorder.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsPanes.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivaro {

namespace {

const QString privacyPane =
    QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy");

// The keys of a panel command, each in a small rounded cap.
QWidget* capsRow(const QStringList& caps) {
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(3);
    for (const QString& cap : caps) {
        auto* label = new QLabel(cap, row);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(22);
        label->setStyleSheet(
            QStringLiteral("QLabel { border: 1px solid rgba(128,128,128,90); border-radius: 5px;"
                           " padding: 1px 5px; background: rgba(128,128,128,25); }"));
        line->addWidget(label);
    }
    row->setAccessibleName(caps.join(u' '));
    return row;
}

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

QWidget* commandLabel(const QStringList& commands, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 2, 0, 2);
    column->setSpacing(4);
    setCommands(box, commands);
    return box;
}

void setCommands(QWidget* box, const QStringList& commands) {
    // Each command in a read-only field: too long a command scrolls instead of widening the form.
    const QList<QLineEdit*> shown = box->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
    QStringList texts;
    for (const QLineEdit* field : shown)
        texts.append(field->text());
    if (texts == commands)
        return;
    qDeleteAll(shown);
    for (const QString& command : commands) {
        auto* field = new QLineEdit(command, box);
        field->setReadOnly(true);
        field->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        field->setCursorPosition(0);
        box->layout()->addWidget(field);
    }
}

PermissionRow::PermissionRow(AccessNeed need, AccessCheck& access, QWidget* parent)
    : QWidget(parent), need_(need), access_(access), check_(new QLabel(this)),
      allowed_(new QLabel(this)), missing_(new QLabel(this)),
      allow_(new QPushButton(QStringLiteral("Allow"), this)), fix_(new QLabel(this)),
      commands_(commandLabel({}, this)) {
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
    const QColor orange(255, 149, 0);
    allowed_->setText(QStringLiteral("<span style=\"color:%1\">Allowed</span>").arg(green.name()));
    missing_->setText(QStringLiteral("<span style=\"color:%1\">Not yet</span>").arg(orange.name()));
    check_->setPixmap(QPixmap::fromImage(
        Symbols::image(QStringLiteral("checkmark.circle.fill"), 18, Qt::white, green)));
    line->addWidget(check_, 0, Qt::AlignVCenter);
    line->addWidget(allowed_, 0, Qt::AlignVCenter);
    line->addWidget(missing_, 0, Qt::AlignVCenter);
    line->addWidget(allow_, 0, Qt::AlignVCenter);
    column->addLayout(line);
    fix_->setWordWrap(true);
    fix_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(fix_);
    column->addWidget(commands_);
    connect(allow_, &QPushButton::clicked, this, [this] { access_.request(need_); });
    connect(&access_, &AccessCheck::changed, this, &PermissionRow::reload);
    reload();
}

void PermissionRow::reload() {
    const bool granted = access_.granted(need_);
    const bool canRequest = access_.canRequest(need_);
    allowed_->setVisible(granted);
    check_->setVisible(granted);
    allow_->setVisible(!granted && canRequest);
    missing_->setVisible(!granted && !canRequest);
    const QString fix = access_.state().fix(need_);
    fix_->setText(KeyPress::nativeText(fix));
    fix_->setVisible(!fix.isEmpty());
    const QStringList commands = access_.state().fixCommands(need_);
    setCommands(commands_, commands);
    commands_->setVisible(!commands.isEmpty());
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
        form->addRow(QStringLiteral("panel-") + title, title, capsRow(KeyPress::nativeCaps(caps)));
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
