#include "app/Options.h"

#include <QCommandLineParser>

namespace kivaro {

namespace {

const QString showOption = QStringLiteral("show");
const QString demoOption = QStringLiteral("demo");
const QString screenshotOption = QStringLiteral("screenshot");
const QString queryOption = QStringLiteral("query");
const QString helpOption = QStringLiteral("help");

void describe(QCommandLineParser& parser) {
    parser.addOptions({QCommandLineOption(showOption), QCommandLineOption(demoOption),
                       QCommandLineOption(screenshotOption, {}, QStringLiteral("FILE")),
                       QCommandLineOption(queryOption, {}, QStringLiteral("TEXT")),
                       QCommandLineOption(helpOption)});
}

} // namespace

std::variant<Options, QString> Options::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments))
        return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument: ") + parser.positionalArguments().first();
    Options options;
    options.show = parser.isSet(showOption);
    options.demo = parser.isSet(demoOption);
    options.help = parser.isSet(helpOption);
    if (parser.isSet(screenshotOption))
        options.screenshot = parser.value(screenshotOption);
    options.query = parser.value(queryOption);
    if (parser.isSet(queryOption) && !options.screenshot)
        return QStringLiteral("--query goes with --screenshot FILE");
    if (options.screenshot && options.screenshot->isEmpty())
        return QStringLiteral("--screenshot needs a file name");
    return options;
}

QString Options::usage() {
    return QStringLiteral(
        "Usage: kivaro [--show] [--demo] [--screenshot FILE [--query TEXT]]\n"
        "Kivaro: a keyboard command bar for web browsers. It sits in the tray; while a browser\n"
        "is in front, its new-tab shortcut opens Kivaro's panel.\n\n"
        "  --show             open the panel once started\n"
        "  --demo             show sample tabs and history instead of a browser's, and open\n"
        "                     the panel\n"
        "  --screenshot FILE  show the panel, write its picture to FILE (PNG) and quit;\n"
        "                     with --demo, over the sample content\n"
        "  --query TEXT       with --screenshot: type TEXT into the panel first\n"
        "  --help             show this help\n\n"
        "Signals: SIGUSR1 opens the panel in new-tab mode, SIGUSR2 in current-tab mode.\n");
}

} // namespace kivaro
