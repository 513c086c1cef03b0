#pragma once

namespace kivaro {

// Starting the program when the user logs in.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    virtual bool enabled() const = 0;

    // False when the platform refused; the previous state then stays.
    virtual bool setEnabled(bool on) = 0;
};

} // namespace kivaro
