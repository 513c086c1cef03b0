#include "store/Clipboard.h"

#include "StoreFakes.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using testing::RecordingPasteboard;
using testing::RecordingToast;

TEST(Clipboard, MarkdownLinksEscapeTheTitlesSquareBracketsOnly) {
    EXPECT_EQ(Clipboard::markdownLink(u"https://a.example/x_(y)"_s, u"[draft] notes [2]"_s),
              u"[\\[draft\\] notes \\[2\\]](https://a.example/x_(y))"_s);
    EXPECT_EQ(Clipboard::markdownLink(u"https://a.example/"_s, QString()),
              u"[](https://a.example/)"_s);
}

// A plain copy puts the same address under both types; a Markdown one is plain text only.
TEST(Clipboard, CopiesTheLinkAndSaysWhichKind) {
    for (const bool markdown : {false, true}) {
        RecordingPasteboard pasteboard;
        RecordingToast toast;
        Clipboard::copyLink(pasteboard, toast, u"https://a.example/"_s, u"A [b]"_s, markdown);
        const RecordingPasteboard::Content expected =
            markdown
                ? RecordingPasteboard::Content{u"[A \\[b\\]](https://a.example/)"_s, std::nullopt}
                : RecordingPasteboard::Content{u"https://a.example/"_s, u"https://a.example/"_s};
        EXPECT_EQ(pasteboard.content, expected);
        EXPECT_EQ(toast.shown, (QList<RecordingToast::Shown>{
                                   {markdown ? u"Markdown link copied"_s : u"Link copied"_s,
                                    u"link"_s, u"checkmark.circle.fill"_s}}));
    }
}

} // namespace
} // namespace kivaro
