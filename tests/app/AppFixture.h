#pragma once

#include "app/AppDelegate.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "store/StoreFakes.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace kivaro::testing {

// The panel as the dispatcher sees it: each call recorded in words.
class RecordingPanel : public PanelControls {
public:
    void show(OpenMode mode) override {
        record(mode == OpenMode::newTab ? "show newTab" : "show currentTab", true);
    }
    void close() override { record("close", false); }
    bool isVisible() const override { return visible; }
    void copyHotkey(bool markdown) override { record(markdown ? "copy markdown" : "copy plain"); }
    void pinHotkey() override { record("pin"); }

    QStringList calls;
    bool visible = false;

private:
    void record(const char* call, std::optional<bool> nowVisible = std::nullopt) {
        calls.append(QString::fromUtf8(call));
        visible = nowVisible.value_or(visible);
    }
};

// The delegate over a store of fake browsers (Safari driven at once, Chrome only with
// "otherBrowsers"), and over the fake desktop and hot keys unless start() is given others.
class AppTest : public ::testing::Test {
public:
    static constexpr qint64 ownPid = 777;

    void start(Workspace& workspace, HotkeyRegistrar& keys) {
        Store::Adapters adapters = world.adapters({safari});
        adapters.optInBrowsers = [this] { return QList<Store::BrowserRef>{chrome}; };
        store = std::make_unique<Store>(std::move(adapters));
        hotkeys = std::make_unique<Hotkeys>(keys, *world.preferences);
        auto makePanel = [this] {
            auto made = std::make_unique<RecordingPanel>();
            panel = made.get();
            return made;
        };
        delegate = std::make_unique<AppDelegate>(
            AppDelegate::Parts{*store, *hotkeys, workspace, *world.preferences, makePanel, ownPid},
            false);
        delegate->applicationDidFinishLaunching();
    }
    void start() { start(world.workspace, registrar); }
    // The delegate lets go of the adapters before a derived fixture's own ones go.
    void TearDown() override {
        delegate.reset();
        hotkeys.reset();
    }

    void bringForward(const QString& id, qint64 pid = 1) {
        world.workspace.bringForward({id, pid, id});
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
