#include "platform/fake/FakeScriptRunner.h"

namespace kivaro {

void FakeScriptRunner::answer(const QString& source, Answer answer) {
    answerInTurn(source, {std::move(answer)});
}

void FakeScriptRunner::answerInTurn(const QString& source, QList<Answer> answers) {
    std::lock_guard lock(mutex_);
    if (answers.isEmpty())
        table_.remove(source);
    else
        table_.insert(source, std::move(answers));
}

void FakeScriptRunner::setResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

QStringList FakeScriptRunner::sources() const {
    std::lock_guard lock(mutex_);
    return sources_;
}

qsizetype FakeScriptRunner::runs(const QString& source) const {
    std::lock_guard lock(mutex_);
    return sources_.count(source);
}

void FakeScriptRunner::clearSources() {
    std::lock_guard lock(mutex_);
    sources_.clear();
}

std::optional<Descriptor> FakeScriptRunner::run(const QString& source) {
    Responder responder;
    {
        std::lock_guard lock(mutex_);
        sources_.append(source);
        const auto found = table_.find(source);
        if (found != table_.end()) {
            QList<Answer>& answers = found.value();
            return answers.size() > 1 ? answers.takeFirst() : answers.first();
        }
        responder = responder_;
    }
    // Called unlocked: a responder may look at the runner itself.
    return responder ? responder(source) : std::nullopt;
}

} // namespace kivaro
