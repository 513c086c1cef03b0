#include "store/Clipboard.h"

#include "StoreFakes.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::RecordingPasteboard;
using testing::RecordingToast;

TEST(Clipboard, MarkdownLinksEscapeTheTitlesSquareBracketsOnly) {
    EXPECT_EQ(Clipboard::markdownLink(QStringLiteral("https://a.example/x_(y)"),
                                      QStringLiteral("[draft] notes [2]")),
              QStringLiteral("[\\[draft\\] notes \\[2\\]](https://a.example/x_(y))"));
    EXPECT_EQ(Clipboard::markdownLink(QStringLiteral("https://a.example/"), QString()),
              QStringLiteral("[](https://a.example/)"));
}

TEST(Clipboard, APlainCopyPutsTheSameAddressUnderBothTypes) {
    RecordingPasteboard pasteboard;
    RecordingToast toast;
    Clipboard::copyLink(pasteboard, toast, QStringLiteral("https://a.example/"),
                        QStringLiteral("A"), false);
    EXPECT_EQ(pasteboard.content,
              (RecordingPasteboard::Content{QStringLiteral("https://a.example/"),
                                            QStringLiteral("https://a.example/")}));
    EXPECT_EQ(toast.shown,
              (QList<RecordingToast::Shown>{{QStringLiteral("Link copied"), QStringLiteral("link"),
                                             QStringLiteral("checkmark.circle.fill")}}));
}

TEST(Clipboard, AMarkdownCopyIsPlainTextOnly) {
    RecordingPasteboard pasteboard;
    RecordingToast toast;
    Clipboard::copyLink(pasteboard, toast, QStringLiteral("https://a.example/"),
                        QStringLiteral("A [b]"), true);
    EXPECT_EQ(pasteboard.content,
              (RecordingPasteboard::Content{QStringLiteral("[A \\[b\\]](https://a.example/)"),
                                            std::nullopt}));
    EXPECT_EQ(toast.shown, (QList<RecordingToast::Shown>{
                               {QStringLiteral("Markdown link copied"), QStringLiteral("link"),
                                QStringLiteral("checkmark.circle.fill")}}));
}

} // namespace
} // namespace kivaro
