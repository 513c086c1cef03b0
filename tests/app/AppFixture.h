#pragma once

#include "app/AppDelegate.h"
#include "keys/Hotkeys.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "store/StoreFakes.h"

#include <gtest/gtest.h>

namespace kivaro::testing {

// The panel as the dispatcher sees it: each call recorded in words.
class RecordingPanel : public PanelControls {
public:
    void show(OpenMode mode) override {
        calls.append(mode == OpenMode::newTab ? QStringLiteral("show newTab")
                                              : QStringLiteral("show currentTab"));
        visible = true;
    }
    void close() override {
        calls.append(QStringLiteral("close"));
        visible = false;
    }
    bool isVisible() const override { return visible; }
    void copyHotkey(bool markdown) override {
        calls.append(markdown ? QStringLiteral("copy markdown") : QStringLiteral("copy plain"));
    }
    void pinHotkey() override { calls.append(QStringLiteral("pin")); }

    QStringList calls;
    bool visible = false;
};

// The delegate over a store of fake browsers (Safari driven at once, Chrome only with
// "otherBrowsers"), a fake desktop and fake hot keys; `workspace` and `registrar` may be
// replaced by real adapters before start().
class AppTest : public ::testing::Test {
public:
    static constexpr qint64 ownPid = 777;

    void start(Workspace& workspace, HotkeyRegistrar& registrar, bool showOnLaunch = false) {
        Store::Adapters adapters = world.adapters({safari});
        adapters.optInBrowsers = [this] { return QList<Store::BrowserRef>{chrome}; };
        store = std::make_unique<Store>(std::move(adapters));
        hotkeys = std::make_unique<Hotkeys>(registrar, *world.preferences);
        delegate = std::make_unique<AppDelegate>(
            AppDelegate::Parts{*store, *hotkeys, workspace, *world.preferences,
                               [this] {
                                   auto made = std::make_unique<RecordingPanel>();
                                   panel = made.get();
                                   return made;
                               },
                               ownPid},
            showOnLaunch);
        delegate->applicationDidFinishLaunching();
    }
    void start() { start(world.workspace, registrar); }

    // The delegate lets go of the adapters before a derived fixture's own ones go.
    void TearDown() override {
        delegate.reset();
        hotkeys.reset();
    }

    void bringForward(const QString& bundleID, qint64 pid = 1) {
        world.workspace.bringForward({bundleID, pid, bundleID});
    }
    bool registered() const { return !hotkeys->refs().isEmpty(); }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> safari =
        std::make_shared<FakeBrowser>(Store::safariID, QStringLiteral("Safari"));
    std::shared_ptr<FakeBrowser> chrome = std::make_shared<FakeBrowser>(
        QStringLiteral("com.google.Chrome"), QStringLiteral("Chrome"));
    FakeHotkeyRegistrar registrar;
    std::unique_ptr<Store> store;
    std::unique_ptr<Hotkeys> hotkeys;
    RecordingPanel* panel = nullptr;
    std::unique_ptr<AppDelegate> delegate;
};

} // namespace kivaro::testing
