#pragma once

#include "browsers/Action.h"
#include "browsers/SafariTab.h"
#include "history/ArchivedTab.h"
#include "panel/PanelControls.h"
#include "panel/PanelKeys.h"
#include "panel/RowAction.h"
#include "panel/RowActions.h"
#include "search/PageIndex.h"
#include "search/Row.h"
#include "search/SiteSearch.h"
#include "search/Suggestions.h"
#include "ui/ActionBar.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;
class QLineEdit;
class QTimer;
class QWidget;

namespace kivaro {

class ActionMenu;
class CommandPanel;
class Favicons;
class Pasteboard;
class PanelChrome;
class Preferences;
class RowView;
class Store;
class Toast;
class WindowList;
class Workspace;

// The command panel: its window, query field, rows, action bar and menu, and all of its state
// (query, selection, open mode, site and developer-tools modes, inline completion,
// suggestions, modifier hints). Edits rank against the store's prepared picture; keys and row
// actions run through the store. Main thread only.
class PanelController : public QObject, public PanelControls {
    Q_OBJECT

public:
    // Starts a suggestion request; Suggestions::fetch unless a test or tool gives another.
    using FetchSuggestions = std::function<std::optional<SuggestionTask>(
        const QString& query, const SuggestSource& source, const QString& host,
        Suggestions::Done done)>;

    // What the panel talks to. Everything is borrowed and must outlive the controller.
    struct Services {
        Store& store;
        Preferences& preferences;
        // The beep, and with `windows` the front window the panel sits over.
        Workspace& workspace;
        Pasteboard& pasteboard;
        Toast& toast;
        const WindowList* windows = nullptr;
        // Site icons; without them rows keep their stand-by symbols.
        Favicons* favicons = nullptr;
        FetchSuggestions fetchSuggestions;
    };

    static constexpr int suggestionPauseMs = 120;

    // With `embedded` the panel draws into embeddedView() instead of its own window (the
    // welcome window's demonstration hosts it).
    explicit PanelController(Services services, bool embedded = false, QObject* parent = nullptr);
    ~PanelController() override;

    // PanelControls.
    void show(OpenMode mode) override;
    void close() override;
    bool isVisible() const override;
    void copyHotkey(bool markdown) override;
    void pinHotkey() override;

    // Scripted input of the demonstration.
    void type(const QString& text);
    void pressTab();
    // The view an embedded panel draws into; null for a windowed one.
    QWidget* embeddedView() const { return embeddedView_; }
    // An embedded panel's new size after each resize.
    std::function<void(QSize)> onResize;
    // Return in an embedded panel that is not being scripted.
    std::function<void()> onReturn;

    // Modes.
    void enterSite(const SiteSearch& site, bool localize);
    void enterDevMode();
    void exitMode();
    bool inMode() const { return devMode_ || site_.has_value(); }

    // Rows and their actions.
    std::optional<QString> render();
    void execute(std::optional<OpenMode> mode = std::nullopt);
    QList<RowAction> actions(const Row& row);
    void removeSelected();
    void copySelected(bool markdown);
    void openMenu();
    void closeMenu();

    // Keys: every key press of the window, before the field sees it; true when consumed.
    bool handle(QKeyEvent& event);
    // A command of the field's editor; true when handled.
    bool runCommand(PanelKeys::FieldCommand command);
    // The held modifiers changed.
    void modifiersChanged(Qt::KeyboardModifiers flags);

    // State, for the tools and tests.
    OpenMode mode() const { return mode_; }
    const QList<Row>& rows() const { return rows_; }
    int selected() const { return selected_; }
    QString typed() const { return typed_; }
    const std::optional<SiteSearch>& site() const { return site_; }
    bool devMode() const { return devMode_; }
    bool menuOpen() const { return menuOpen_; }
    bool removeHint() const { return removeHint_; }
    bool numberHint() const { return numberHint_; }
    const QStringList& suggestions() const { return suggestions_; }
    const std::optional<QString>& lastCompletion() const { return lastCompletion_; }
    const std::optional<QColor>& modeColor() const { return modeColor_; }
    const QList<std::optional<QString>>& sectionTitles() const { return titles_; }
    int panelHeight() const { return height_; }
    std::optional<QString> tabHintText() const { return tabHintText_; }

    CommandPanel& window() const { return *window_; }
    PanelChrome& chrome() const { return *chrome_; }
    QLineEdit& field() const;
    ActionBar& actionBar() const { return *actionBar_; }
    ActionMenu& actionMenu() const { return *actionMenu_; }
    const QList<RowView*>& rowViews() const { return rowViews_; }
    // The widget that shows the whole panel: the window, or the embedded view.
    QWidget& surface() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layout();
    void layoutChildren();
    void reset(OpenMode mode);
    void applyAppearance();
    void applyTone();
    void place();
    void resize();
    void highlight();
    void announceSelection();
    void rebuildRows(const QList<std::optional<QString>>& titles);
    void updateFieldIcon();
    void updateTabHint();
    void setTabHint(const std::optional<QString>& text);
    void showChip(const QString& text);
    void clearInput();
    void setQuery(const QString& text);
    void edited();
    bool enterByPrefix(const QString& fieldText);
    void acceptCompletion();
    void tab();
    void fetchSuggestions();
    void requestSuggestions(const QString& query, quint64 generation);
    void deliverSuggestions(const QString& query, quint64 generation, const QStringList& list);
    void cancelSuggestions();
    void refreshed();
    void perform(const RowActions::Entry& entry, const Row& row);
    bool runKey(const KeyCombo& key);
    bool runRowShortcut(const KeyCombo& key);
    // Runs the first developer tool bound to the character with exactly these modifiers.
    bool runDevTool(Modifiers modifiers, const QString& character);
    void runEdit(PanelKeys::Edit edit);
    void beep();
    std::optional<SiteSearch> currentSite() const;
    std::optional<QString> currentTabURL() const;
    const Row* selectedRow() const;
    std::optional<ActionBar::Special> special() const;
    void setSelected(int index);
    const Prepared<SafariTab>& preparedTabs();
    const Prepared<ArchivedTab>& preparedArchive();

    Services services_;
    bool embedded_;
    std::unique_ptr<CommandPanel> window_;
    PanelChrome* chrome_;
    QPointer<QWidget> embeddedView_;
    QWidget* separator_ = nullptr;
    QWidget* list_ = nullptr;
    QWidget* footerLine_ = nullptr;
    ActionBar* actionBar_ = nullptr;
    ActionMenu* actionMenu_ = nullptr;
    QWidget* tabHint_ = nullptr;
    QTimer* suggestionWork_ = nullptr;
    QTimer* hintWork_ = nullptr;
    std::optional<SuggestionTask> suggestionTask_;
    quint64 suggestionGeneration_ = 0;

    bool menuOpen_ = false;
    bool devMode_ = false;
    std::optional<SiteSearch> site_;
    std::optional<QColor> modeColor_;
    std::optional<QString> lastCompletion_;
    std::optional<QString> tabHintText_;
    QList<QWidget*> listViews_; // row views and section titles, top to bottom
    QList<RowView*> rowViews_;
    QList<Row> rows_;
    QList<std::optional<QString>> titles_;
    int selected_ = 0;
    QString typed_;
    std::optional<QString> prefill_;
    qsizetype lastLength_ = 0;
    QStringList suggestions_;
    OpenMode mode_ = OpenMode::newTab;
    std::optional<double> top_;
    int height_ = 0;
    int headerCount_ = 0;
    int menuHeight_ = 0;
    bool scripting_ = false;
    bool removeHint_ = false;
    bool numberHint_ = false;
    PanelKeys::HintPlan::Kind pendingHint_ = PanelKeys::HintPlan::Kind::none;

    // The tabs and the archive prepared for ranking, rebuilt only when the store's lists
    // change (the copies below share the store's data while they are current).
    QList<SafariTab> preparedFrom_;
    QList<SafariTab> preparedOther_;
    Prepared<SafariTab> tabs_;
    QList<ArchivedTab> archiveFrom_;
    Prepared<ArchivedTab> archive_;
};

} // namespace kivaro
