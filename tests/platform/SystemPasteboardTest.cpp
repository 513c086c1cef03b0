#include "platform/qt/SystemPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

TEST(SystemPasteboard, WritesTextAndAddressThenReplacesThemWithTextAlone) {
    SystemPasteboard pasteboard;
    pasteboard.write(QStringLiteral("https://a.example/x"), QStringLiteral("https://a.example/x"));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("https://a.example/x"));
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl(QStringLiteral("https://a.example/x"))});

    pasteboard.write(QStringLiteral("[A](https://a.example/x)"), std::nullopt);
    data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("[A](https://a.example/x)"));
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
