#pragma once

#include "panel/DemoScript.h"
#include "store/QuietDesktop.h"
#include "ui/welcome/WelcomeWindowController.h"

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class QWidget;

namespace kivaro {

class Favicons;
class PanelController;
class Preferences;
class Store;

// The welcome page's demonstration: a real panel controller drawing into the page, over a
// store that shows the sample browser of DemoScript::data() and never talks to a browser.
class LivePanel : public QObject, public DemoTarget {
    Q_OBJECT

public:
    // The longest wait for the sites' icons before the script plays anyway.
    static constexpr int iconWaitMs = 3000;
    // The panel's size on the page.
    static constexpr double stageScale = 0.74;
    // Room for the field and about eight results.
    static constexpr int stageHeight = 450;
    static constexpr int sceneHeight = 2000;

    LivePanel(Preferences& preferences, Favicons* favicons, QObject* parent = nullptr);
    ~LivePanel() override;

    // The demonstration for a new welcome window: a live panel owned by `owner`, its stage and
    // its player.
    static WelcomeWindowController::DemoFactory factory(Preferences& preferences,
                                                        Favicons* favicons);

    // The widget the panel draws in, for the page to hold; it keeps the panel's size.
    QWidget* takeStage();
    DemoPlayer& player() const { return *player_; }
    PanelController& panel() const { return *panel_; }

    // DemoTarget: opening clears the field and leaves any mode without announcing a shown
    // panel, so the welcome window's "tried" waits for the real one.
    void open() override;
    void setText(const QString& text) override;
    void pressTab() override;

private:
    void loadIcons(const QStringList& sites, std::function<void()> done);

    Favicons* favicons_;
    QuietDesktop desktop_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<PanelController> panel_;
    QWidget* stage_;
    DemoPlayer* player_;
};

} // namespace kivaro
