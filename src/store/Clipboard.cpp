#include "store/Clipboard.h"

#include "platform/Toast.h"

namespace kivaro::Clipboard {

QString markdownLink(const QString& url, const QString& title) {
    QString escaped = title;
    escaped.replace(u'[', QStringLiteral("\\["));
    escaped.replace(u']', QStringLiteral("\\]"));
    return u'[' + escaped + QStringLiteral("](") + url + u')';
}

void copyLink(Pasteboard& pasteboard, Toast& toast, const QString& url, const QString& title,
              bool markdown) {
    const QString copied = QStringLiteral("checkmark.circle.fill");
    if (markdown) {
        pasteboard.write(markdownLink(url, title), std::nullopt);
        toast.show(QStringLiteral("Markdown link copied"), QStringLiteral("link"), copied);
        return;
    }
    pasteboard.write(url, url);
    toast.show(QStringLiteral("Link copied"), QStringLiteral("link"), copied);
}

} // namespace kivaro::Clipboard
