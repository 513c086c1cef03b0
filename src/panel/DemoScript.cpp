#include "panel/DemoScript.h"

#include <QTimer>

namespace kivaro {

namespace {

SafariTab tab(qint64 window, qint64 index, const char* title, const char* url,
              bool current = false) {
    return {window, window - 1, index, QString::fromUtf8(title), QString::fromUtf8(url),
            {},     current};
}

HistoryEntry visit(const char* title, const char* url, qint64 visits, int daysAgo) {
    const QDateTime at = QDateTime::currentDateTimeUtc().addDays(-daysAgo);
    return {QString::fromUtf8(url), QString::fromUtf8(title), visits, at};
}

Command devTool(const char* title, const char* symbol, const char* keywords, bool core) {
    Command command;
    command.title = QString::fromUtf8(title);
    command.symbol = QString::fromUtf8(symbol);
    command.keywords = QString::fromUtf8(keywords);
    command.menu = QStringLiteral("Developer");
    command.action = Action::menu({QStringLiteral("Develop"), command.title});
    command.core = core;
    return command;
}

} // namespace

DemoScript DemoScript::standard() {
    return {{
                DemoStep::pause(0.8),
                DemoStep::type(QStringLiteral("git")),
                DemoStep::pause(1.6),
                DemoStep::reset(),
                DemoStep::type(QStringLiteral("flex")),
                DemoStep::pause(1.6),
                DemoStep::reset(),
                DemoStep::type(QStringLiteral("youtube")),
                DemoStep::pause(0.6),
                DemoStep::tab(),
                DemoStep::type(QStringLiteral("lofi")),
                DemoStep::pause(1.8),
                DemoStep::reset(),
                DemoStep::type(QStringLiteral("weather ber")),
                DemoStep::pause(1.8),
                DemoStep::reset(),
            },
            {
                QStringLiteral("github.com"),
                QStringLiteral("developer.mozilla.org"),
                QStringLiteral("youtube.com"),
                QStringLiteral("css-tricks.com"),
                QStringLiteral("news.ycombinator.com"),
                QStringLiteral("wikipedia.org"),
                QStringLiteral("figma.com"),
                QStringLiteral("bbc.com"),
                QStringLiteral("theguardian.com"),
            }};
}

DemoData DemoScript::data() {
    DemoData data;
    data.tabs = {
        tab(1, 1, "Pull requests · kivaro/kivaro", "https://github.com/pulls", true),
        tab(1, 2, "Issues · rust-lang/rust", "https://github.com/rust-lang/rust/issues"),
        tab(1, 3, "Hacker News", "https://news.ycombinator.com/"),
        tab(1, 4, "Landing page – Figma", "https://www.figma.com/design/k3Lr9/Landing-page"),
        tab(2, 1, "Weather – BBC Weather", "https://www.bbc.com/weather"),
        tab(2, 2, "The Guardian – International", "https://www.theguardian.com/international"),
    };
    data.history = {
        visit("GitHub", "https://github.com/", 212, 0),
        visit("Git - Book", "https://git-scm.com/book/en/v2", 9, 12),
        visit("A Complete Guide to Flexbox | CSS-Tricks",
              "https://css-tricks.com/snippets/css/a-guide-to-flexbox/", 31, 1),
        visit("flex - CSS: Cascading Style Sheets | MDN",
              "https://developer.mozilla.org/en-US/docs/Web/CSS/flex", 14, 2),
        visit("flex-wrap - CSS | MDN", "https://developer.mozilla.org/en-US/docs/Web/CSS/flex-wrap",
              5, 9),
        visit("YouTube", "https://www.youtube.com/", 158, 0),
        visit("lofi hip hop radio - beats to relax/study to - YouTube",
              "https://www.youtube.com/watch?v=jfKfPfyJRdk", 23, 1),
        visit("Flexbox - Wikipedia", "https://en.wikipedia.org/wiki/CSS_Flexible_Box_Layout", 2,
              30),
        visit("Weather in Berlin – BBC Weather", "https://www.bbc.com/weather/2950159", 17, 1),
    };
    data.devTools = {
        devTool("Web Inspector", "chevron.left.forwardslash.chevron.right", "elements inspect",
                true),
        devTool("JavaScript Console", "terminal", "console log", true),
        devTool("Network", "network", "requests", true),
        devTool("Empty Caches", "trash", "cache clear", false),
    };
    data.visits = {
        {QStringLiteral("github.com"), 212},     {QStringLiteral("youtube.com"), 158 + 23},
        {QStringLiteral("css-tricks.com"), 31},  {QStringLiteral("developer.mozilla.org"), 19},
        {QStringLiteral("bbc.com"), 17},         {QStringLiteral("git-scm.com"), 9},
        {QStringLiteral("en.wikipedia.org"), 2},
    };
    const auto list = [](std::initializer_list<const char*> words) {
        QStringList texts;
        for (const char* word : words)
            texts.append(QString::fromUtf8(word));
        return texts;
    };
    data.suggestions = {
        {QStringLiteral("git"), list({"github", "git rebase"})},
        {QStringLiteral("flex"), list({"flexbox", "flexbox froggy"})},
        {QStringLiteral("lofi"), list({"lofi girl", "lofi hip hop radio"})},
        {QStringLiteral("weather ber"), list({"weather berlin", "weather berlin 14 days"})},
    };
    return data;
}

DemoPlayer::DemoPlayer(DemoTarget& target, IconLoader loadIcons, QObject* parent)
    : QObject(parent), target_(target), loadIcons_(std::move(loadIcons)), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &DemoPlayer::next);
}

void DemoPlayer::play(bool still, const DemoScript& script) {
    cancel();
    script_ = script;
    still_ = still;
    playing_ = true;
    const quint64 generation = generation_;
    if (!loadIcons_) {
        begin(generation);
        return;
    }
    loadIcons_(script_.sites, [this, generation] { begin(generation); });
}

void DemoPlayer::cancel() {
    ++generation_;
    timer_->stop();
    playing_ = false;
}

void DemoPlayer::begin(quint64 generation) {
    // Icons of a cancelled play may still arrive.
    if (generation != generation_ || !playing_)
        return;
    index_ = 0;
    letters_ = 0;
    base_.clear();
    target_.open();
    next();
}

void DemoPlayer::next() {
    while (index_ < script_.steps.size()) {
        const int waitMs = advance();
        if (waitMs > 0 && !still_) {
            wait(waitMs);
            return;
        }
    }
    playing_ = false;
    emit finished();
}

int DemoPlayer::advance() {
    const DemoStep& step = script_.steps.at(index_);
    switch (step.kind) {
    case DemoStep::Kind::type:
        if (still_)
            letters_ = step.text.size();
        else
            ++letters_;
        target_.setText(base_ + step.text.left(letters_));
        if (letters_ < step.text.size())
            return letterMs;
        base_ += step.text;
        letters_ = 0;
        ++index_;
        return letterMs;
    case DemoStep::Kind::pause:
        ++index_;
        return int(step.seconds * 1000);
    case DemoStep::Kind::reset:
        base_.clear();
        target_.setText({});
        break;
    case DemoStep::Kind::tab:
        base_.clear();
        target_.pressTab();
        break;
    }
    ++index_;
    return 0;
}

void DemoPlayer::wait(int milliseconds) {
    timer_->start(milliseconds);
}

} // namespace kivaro
