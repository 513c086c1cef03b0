#include <QCoreApplication>
#ifdef KIVARO_TEST_WIDGETS
#include <QApplication>
#include <QPointer>
#include <QWidget>
#endif
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

namespace {

#ifdef KIVARO_TEST_WIDGETS
using Application = QApplication;
#else
using Application = QCoreApplication;
#endif

// The Qt application object lives while the tests run; settings written by a test land in
// a private temporary folder instead of the user's own.
class QtEnvironment : public ::testing::Environment {
public:
    QtEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    void SetUp() override {
        application_ = std::make_unique<Application>(argc_, argv_);
        settingsFolder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(settingsFolder_->isValid());
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, settingsFolder_->path());
    }

    void TearDown() override {
#ifdef KIVARO_TEST_WIDGETS
        // Windows a test leaves (shared ones included) must go before the application.
        // A window may own another one, so each is checked just before it goes.
        QList<QPointer<QWidget>> windows;
        for (QWidget* window : QApplication::topLevelWidgets())
            windows.append(window);
        for (const QPointer<QWidget>& window : windows)
            delete window.data();
#endif
        settingsFolder_.reset();
        application_.reset();
    }

private:
    int& argc_;
    char** argv_;
    std::unique_ptr<Application> application_;
    std::unique_ptr<QTemporaryDir> settingsFolder_;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtEnvironment(argc, argv));
    return RUN_ALL_TESTS();
}
