#pragma once

#include "browsers/Action.h"

namespace kivaro {

// What the application's hot-key dispatcher asks of the command panel. The panel controller
// implements it; tests of the dispatcher give a fake.
class PanelControls {
public:
    virtual ~PanelControls() = default;

    // Opens the panel, or closes it when it is already open in the same mode.
    virtual void show(OpenMode mode) = 0;
    virtual void close() = 0;
    // Whether the panel window is on screen now.
    virtual bool isVisible() const = 0;
    // The copy-link (plain or Markdown) and pin hot keys while the panel is open.
    virtual void copyHotkey(bool markdown) = 0;
    virtual void pinHotkey() = 0;
};

} // namespace kivaro
