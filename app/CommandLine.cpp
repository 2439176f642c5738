// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int kUsageError = 2;

const QString kProgram = QStringLiteral("brenzo");

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Muestra esta ayuda y termina.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Muestra la versión y termina.")};

    Parser()
    {
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(
            QStringLiteral("CARPETA"),
            QStringLiteral("La carpeta de trabajo, en lugar de la actual."),
            QStringLiteral("[CARPETA]"));
    }
};

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int usageError(const QString &text)
{
    print(stderr, kProgram + QStringLiteral(": ") + text +
                      QStringLiteral(" (brenzo --help muestra las opciones)\n"));
    return kUsageError;
}

// Written here rather than taken from QCommandLineParser::helpText(), whose
// headings are in the language of the machine, not the program's.
QString helpText()
{
    return QStringLiteral(
        "Uso: brenzo [opciones] [CARPETA]\n"
        "Asistente para crear una página WEB personal y publicarla por FTP.\n"
        "\n"
        "Opciones:\n"
        "  -h, --help     Muestra esta ayuda y termina.\n"
        "  -v, --version  Muestra la versión y termina.\n"
        "\n"
        "Argumentos:\n"
        "  CARPETA        La carpeta de trabajo, en lugar de la carpeta actual: la\n"
        "                 página se escribe en ella y sus imágenes y sonidos son los\n"
        "                 que ofrece el asistente.\n"
        "\n"
        "Se admiten también las opciones propias de Qt, como -platform o -style.\n");
}

} // namespace

std::optional<int> CommandLine::answerWithoutWindow(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Qt's own options are still in the arguments and make the parse fail;
    // only whether help or the version is asked matters here.
    Parser line;
    line.parser.parse(arguments);
    if (line.parser.isSet(line.help)) {
        print(stdout, helpText());
        return 0;
    }
    if (line.parser.isSet(line.version)) {
        print(stdout, QStringLiteral("brenzo " BRENZO_VERSION "\n"));
        return 0;
    }
    return std::nullopt;
}

std::optional<int> CommandLine::enterWorkingFolder(const QStringList &arguments)
{
    Parser line;
    if (!line.parser.parse(arguments)) {
        const QStringList unknown = line.parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString dashes =
                unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
            return usageError(QStringLiteral("opción desconocida: ") + dashes + unknown.first());
        }
        return usageError(line.parser.errorText());
    }
    const QStringList folders = line.parser.positionalArguments();
    if (folders.size() > 1)
        return usageError(QStringLiteral("sobra el argumento «%1»: se admite una sola carpeta")
                              .arg(folders.at(1)));
    if (folders.isEmpty())
        return std::nullopt;
    const QString &folder = folders.first();
    if (!QFileInfo(folder).isDir())
        return usageError(QStringLiteral("no existe la carpeta «%1»").arg(folder));
    if (!QDir::setCurrent(folder))
        return usageError(QStringLiteral("no se puede entrar en la carpeta «%1»").arg(folder));
    return std::nullopt;
}
