#include "platform/qt/SystemPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

TEST(SystemPasteboard, WritesTextAndAddressThenReplacesThemWithTextAlone) {
    SystemPasteboard pasteboard;
    pasteboard.write(u"https://a.example/x"_s, u"https://a.example/x"_s);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), u"https://a.example/x"_s);
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl(u"https://a.example/x"_s)});

    pasteboard.write(u"[A](https://a.example/x)"_s, std::nullopt);
    data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), u"[A](https://a.example/x)"_s);
    EXPECT_FALSE(data->hasUrls()) << "the earlier address is cleared";
}

} // namespace
} // namespace kivaro

// The clipboard needs a GUI application; the offscreen platform gives one without a display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
