#pragma once

#include "platform/Pasteboard.h"

namespace kivaro {

// The desktop's clipboard, through QClipboard. Needs a QGuiApplication; main thread only.
class SystemPasteboard : public Pasteboard {
public:
    void write(const QString& text, const std::optional<QString>& url) override;
};

} // namespace kivaro
