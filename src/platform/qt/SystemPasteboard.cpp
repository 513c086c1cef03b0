#include "platform/qt/SystemPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace kivaro {

void SystemPasteboard::write(const QString& text, const std::optional<QString>& url) {
    // Without a GUI application (a command-line tool) there is no clipboard to write.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    if (url)
        data->setUrls({QUrl(*url)});
    clipboard->setMimeData(data.release()); // the clipboard takes ownership
}

} // namespace kivaro
