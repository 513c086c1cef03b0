#pragma once

#include "platform/ScriptRunner.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <mutex>

namespace kivaro {

// A script interpreter for tests and the demonstration: it records every source text it is
// given and answers from a table of canned results. A source it has no answer for fails, as a
// script the user has not allowed to run does; an empty runner therefore fails every call.
class FakeScriptRunner : public ScriptRunner {
public:
    using Answer = std::optional<Descriptor>;
    // Answers the sources that are not in the table.
    using Responder = std::function<Answer(const QString& source)>;

    // Every run of `source` answers `answer`.
    void answer(const QString& source, Answer answer);
    // Runs of `source` answer these one after the other; the last one then repeats.
    void answerInTurn(const QString& source, QList<Answer> answers);
    void setResponder(Responder responder);

    // Every source received, oldest first.
    QStringList sources() const;
    // How many of them were exactly `source`.
    qsizetype runs(const QString& source) const;
    void clearSources();

    std::optional<Descriptor> run(const QString& source) override;

private:
    mutable std::mutex mutex_;
    QHash<QString, QList<Answer>> table_;
    Responder responder_;
    QStringList sources_;
};

} // namespace kivaro
