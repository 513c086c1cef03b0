#pragma once

#include "store/DemoData.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QTimer;

namespace kivaro {

// One move of the demonstration.
struct DemoStep {
    enum class Kind { type, pause, reset, tab };

    Kind kind = Kind::pause;
    QString text;       // `type`: the text typed, letter by letter
    double seconds = 0; // `pause`: how long to wait

    static DemoStep type(QString text) { return {Kind::type, std::move(text), 0}; }
    static DemoStep pause(double seconds) { return {Kind::pause, {}, seconds}; }
    static DemoStep reset() { return {Kind::reset, {}, 0}; }
    static DemoStep tab() { return {Kind::tab, {}, 0}; }

    bool operator==(const DemoStep&) const = default;
};

// The demonstration: its steps, the hosts whose icons load before it plays, and the browser
// it pretends to show.
struct DemoScript {
    QList<DemoStep> steps;
    QStringList sites;

    bool operator==(const DemoScript&) const = default;

    // The welcome page's script.
    static DemoScript standard();
    // The sample browser the demonstration's store shows.
    static DemoData data();
};

// What the player drives: the embedded panel.
class DemoTarget {
public:
    virtual ~DemoTarget() = default;
    // Opens the panel afresh, with an empty field.
    virtual void open() = 0;
    // Puts `text` in the field, as typing it would.
    virtual void setText(const QString& text) = 0;
    virtual void pressTab() = 0;
};

// Plays a script in a target, one step at a time on the main thread's timers. A new `play`
// cancels the one running, so two scripts never drive the panel at once.
class DemoPlayer : public QObject {
    Q_OBJECT

public:
    static constexpr int letterMs = 85;
    // Loads the icons of `sites`, then calls `done` (on the main thread).
    using IconLoader = std::function<void(const QStringList& sites, std::function<void()> done)>;

    explicit DemoPlayer(DemoTarget& target, IconLoader loadIcons = {}, QObject* parent = nullptr);

    // Cancels what is playing, loads the script's icons, then plays it. `still` (reduced
    // motion) plays every step at once, with no typing and no pauses.
    void play(bool still, const DemoScript& script);
    void cancel();
    bool playing() const { return playing_; }
    // The step under way, or the number of steps once finished.
    qsizetype position() const { return index_; }

signals:
    void finished();

private:
    void begin(quint64 generation);
    void next();
    // Runs the current step, or its next letter; returns the wait before the following one.
    int advance();
    void wait(int milliseconds);

    DemoTarget& target_;
    IconLoader loadIcons_;
    QTimer* timer_;
    DemoScript script_;
    bool still_ = false;
    bool playing_ = false;
    quint64 generation_ = 0;
    qsizetype index_ = 0;
    qsizetype letters_ = 0;
    QString base_; // the field's text before the typing step under way
};

} // namespace kivaro
