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

// A whole number from `low` to `high`, or none.
std::optional<int> whole_number(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

CommandLine read_command_line(const std::vector<std::string>& arguments, std::string_view version,
                              std::string_view more_help)
{
    QStringList list;
    for (const std::string& argument : arguments) list << qt(argument);
    const QString program = list.isEmpty() ? QStringLiteral("korven") : QFileInfo(list.first()).fileName();

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);  // "-xyz" is one option
    parser.setApplicationDescription(
        QStringLiteral("Tone and colour correction for one photograph at a time.\n\n"
                       "With --apply, no window opens: the curve file is applied to every PHOTO as\n"
                       "loading it, DRAW and SAVE would, and each result is written as NAME-korven.EXT\n"
                       "beside its photo or in the --out folder:\n"
                       "  %1 --apply CURVE [--out DIR] [--quality Q] [--overwrite] [--jobs N] PHOTO...")
            .arg(program));
    // Our own help option: Qt's adds --help-all, which lists toolkit options this program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption show_version({QStringLiteral("v"), QStringLiteral("version")},
                                          QStringLiteral("Shows the version."));
    const QCommandLineOption apply(QStringLiteral("apply"),
                                   QStringLiteral("Applies the curve file (.kcurve, or a GIMP curves file) to "
                                                  "the photos given, with no window."),
                                   QStringLiteral("CURVE"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("With --apply: writes the results into this folder."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption quality(QStringLiteral("quality"),
                                     QStringLiteral("With --apply: the quality of JPEG results, 1 to 100 "
                                                    "(default 92)."),
                                     QStringLiteral("Q"));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"),
                                       QStringLiteral("With --apply: replaces results that exist already "
                                                      "(they are skipped otherwise)."));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
                                  QStringLiteral("With --apply: photos corrected at once (default: one per core)."),
                                  QStringLiteral("N"));
    parser.addOptions({help, show_version, apply, out, quality, overwrite, jobs});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A BMP, JPEG or PNG picture to load, as if dropped on the window."),
                                 QStringLiteral("[file]"));

    const auto error = [&](const QString& reason) {
        return CommandLine{.run = false,
                           .text = (program + ": " + reason + " See " + program + " --help.\n").toStdString(),
                           .exit_code = 2};
    };
    if (!parser.parse(list)) return error(parser.errorText());
    if (parser.isSet(help))
        return {.run = false, .text = help_text(parser, program) + (more_help.empty() ? "" : "\n") +
                                      std::string(more_help)};
    if (parser.isSet(show_version)) return {.run = false, .text = (program + " " + qt(version) + "\n").toStdString()};
    const QStringList files = parser.positionalArguments();

    if (!parser.isSet(apply)) {
        for (const QCommandLineOption* batch_only : {&out, &quality, &overwrite, &jobs})
            if (parser.isSet(*batch_only))
                return error(QStringLiteral("--%1 is used only with --apply.").arg(batch_only->names().first()));
        if (files.size() > 1) return error(QStringLiteral("Only one file can be loaded at a time."));
        if (files.isEmpty()) return {};
        return {.file = QFileInfo(files.first()).absoluteFilePath().toStdString()};
    }

    BatchRequest batch{.curve_file = parser.value(apply).toStdString(), .out_folder = parser.value(out).toStdString()};
    if (parser.isSet(quality)) {
        const std::optional<int> q = whole_number(parser.value(quality), 1, 100);
        if (!q) return error(QStringLiteral("The quality must be a whole number from 1 to 100."));
        batch.quality = *q;
    }
    if (parser.isSet(jobs)) {
        const std::optional<int> n = whole_number(parser.value(jobs), 1, 256);
        if (!n) return error(QStringLiteral("The number of jobs must be a whole number from 1 to 256."));
        batch.jobs = *n;
    }
    batch.overwrite = parser.isSet(overwrite);
    if (files.isEmpty()) return error(QStringLiteral("--apply needs at least one photo."));
    for (const QString& file : files) batch.photos.push_back(file.toStdString());
    return {.batch = std::move(batch)};
}

}  // namespace fe
