#include "app/StartOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace startup {

namespace {

QString usageLine()
{
    return QStringLiteral("使い方: ovilant [オプション] [計画書.pdf]\n");
}

QString helpText()
{
    return usageLine()
           + QStringLiteral("\n"
                            "リハビリテーション実施計画書のエディタを起動します。\n"
                            "計画書の PDF ファイルを指定すると、起動と同時にその計画書を開きます。\n"
                            "\n"
                            "オプション:\n"
                            "  -h, --help     この説明を表示して終了します\n"
                            "  -v, --version  版を表示して終了します\n");
}

StartRequest refuse(const QString &why)
{
    StartRequest request;
    request.start = false;
    request.exitCode = 2;
    request.toStdErr = true;
    request.output = QStringLiteral("ovilant: ") + why + QLatin1Char('\n') + usageLine();
    return request;
}

StartRequest answer(const QString &text)
{
    StartRequest request;
    request.start = false;
    request.output = text;
    return request;
}

} // namespace

QString versionText()
{
    return QStringLiteral("ovilant " OVILANT_VERSION);
}

StartRequest readArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("file"), QString());

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return refuse(unknown.isEmpty() ? QStringLiteral("引数が正しくありません。")
                                        : QStringLiteral("不明なオプションです: ") + unknown.first());
    }
    if (parser.isSet(help)) {
        return answer(helpText());
    }
    if (parser.isSet(version)) {
        return answer(versionText() + QLatin1Char('\n'));
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        return refuse(QStringLiteral("開ける計画書は一つだけです。"));
    }
    StartRequest request;
    if (!files.isEmpty()) {
        request.planFile = files.first();
    }
    return request;
}

bool useJapanese(QCoreApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace startup
