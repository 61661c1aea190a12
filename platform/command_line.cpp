#include "platform/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QStringList>

#include "platform/qt_text.h"

namespace fe {

namespace {

using detail::qt;

// Qt's help text names the program only when an application object exists;
// it does not yet when the command line is read.
std::string help_text(const QCommandLineParser& parser, const QString& program)
{
    QString text = parser.helpText();
    const qsizetype usage_end = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(QStringLiteral("Usage: ")) && usage_end > 0)
        text.replace(7, usage_end - 7, program);
    return text.toStdString();
}

}  // namespace

CommandLine read_command_line(const std::vector<std::string>& arguments, std::string_view version)
{
    QStringList list;
    for (const std::string& argument : arguments) list << qt(argument);
    const QString program = list.isEmpty() ? QStringLiteral("korven") : QFileInfo(list.first()).fileName();

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);  // "-xyz" is one option
    parser.setApplicationDescription(QStringLiteral("Tone and colour correction for one photograph at a time."));
    // Our own help option: Qt's adds --help-all, which lists toolkit options this program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption show_version({QStringLiteral("v"), QStringLiteral("version")},
                                          QStringLiteral("Shows the version."));
    parser.addOption(help);
    parser.addOption(show_version);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A BMP or JPEG picture to load, as if dropped on the window."),
                                 QStringLiteral("[file]"));

    const auto error = [&](const QString& reason) {
        return CommandLine{.run = false,
                           .text = (program + ": " + reason + " See " + program + " --help.\n").toStdString(),
                           .exit_code = 2};
    };
    if (!parser.parse(list)) return error(parser.errorText());
    if (parser.isSet(help)) return {.run = false, .text = help_text(parser, program)};
    if (parser.isSet(show_version)) return {.run = false, .text = (program + " " + qt(version) + "\n").toStdString()};
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return error(QStringLiteral("Only one file can be loaded at a time."));
    if (files.isEmpty()) return {};
    return {.file = QFileInfo(files.first()).absoluteFilePath().toStdString()};
}

}  // namespace fe
