#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace kivaro::testing {

// Sets (or unsets) one environment variable for the guard's lifetime and puts back exactly
// what was there, unset included, however the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<QByteArray>& value) : name_(name) {
        if (qEnvironmentVariableIsSet(name))
            saved_ = qgetenv(name);
        set(value);
    }
    ~ScopedEnv() { set(saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void set(const std::optional<QByteArray>& value) const {
        if (value)
            qputenv(name_, *value);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    std::optional<QByteArray> saved_;
};

} // namespace kivaro::testing
