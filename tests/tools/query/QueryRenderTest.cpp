#include "ToolRun.h"

#include <QImage>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using testing::runToolProcess;
using testing::withSample;

// The picture is drawn by the panel itself, as wide as its window and as tall as its rows.
TEST(QueryRenderTest, DrawsThePanelOrRefusesBadOptions) {
    const QTemporaryDir folder;
    const QString picture = folder.filePath(u"panel.png"_s);
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    const auto drawn = runToolProcess(
        withSample({u"--render"_s, picture, u"--theme"_s, u"dark"_s, u"--menu"_s, u"gi"_s}),
        environment);
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err.toStdString();
    const QImage image(picture);
    EXPECT_EQ(image.width(), 776);
    EXPECT_GE(image.height(), 428);
    for (const QStringList& bad :
         {QStringList{u"--theme"_s, u"auto"_s}, QStringList{u"--select"_s, u"0"_s},
          QStringList{u"--select"_s, u"x"_s}}) {
        const auto refused =
            runToolProcess(withSample(QStringList{u"--render"_s, picture} + bad), environment);
        EXPECT_EQ(refused.exitCode, 2) << bad.join(u' ').toStdString();
        EXPECT_TRUE(refused.err.contains(u"kivaro-query: --"_s)) << refused.err.toStdString();
    }
}

} // namespace
} // namespace kivaro
