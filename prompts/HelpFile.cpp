// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/HelpFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {
const QString anchorPrefix = QStringLiteral("topic-");

// One topic: its number and its inner HTML. Sections are never nested in the
// help file, so the first closing tag ends the topic.
const QRegularExpression &sectionPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"re(<section\s+id\s*=\s*"topic-(\d+)"\s*>(.*?)</section\s*>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Everything before <body>: the title, the character set and the styles that
// every topic is shown with.
QString documentHead(const QString &html)
{
    static const QRegularExpression body(QStringLiteral("<body[\\s>]"),
                                         QRegularExpression::CaseInsensitiveOption);
    const qsizetype at = html.indexOf(body);
    if (at < 0)
        return QStringLiteral("<html><head><meta charset=\"utf-8\"></head>");
    // The notes for the help's writers stay out of what the reader is shown.
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return html.left(at).remove(comment);
}

QString bareName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The page shown in place of a topic that cannot be shown, in the help's
// own styles when the file could be read. It offers the contents when there
// are contents to go to.
HelpPage errorPage(int topic, const QString &error, const QString &head, bool offerContents)
{
    QString html = head.isEmpty()
                       ? QStringLiteral("<html><head><meta charset=\"utf-8\"><style>body { "
                                        "font-family: Arial; font-size: 10pt; }</style></head>")
                       : head;
    html += QStringLiteral("<body><h2 style=\"color:#800000\">Ayuda no disponible</h2>"
                           "<p>%1</p>")
                .arg(error.toHtmlEscaped());
    if (offerContents)
        html += QStringLiteral("<p><a href=\"#%1\">Ir al contenido de la ayuda</a></p>")
                    .arg(HelpFile::anchor(0));
    html += QStringLiteral("</body></html>");
    return {topic, html, error};
}
} // namespace

HelpPage HelpFile::page(const QString &path, int topic)
{
    if (!QFileInfo(path).isFile())
        return errorPage(topic, missingFileMessage(path), QString(), false);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return errorPage(topic, unreadableFileMessage(path), QString(), false);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return errorPage(topic, unreadableFileMessage(path), QString(), false);

    // The help file is written in UTF-8; anything else is a damaged or foreign
    // file, and showing it would only show garbage.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString html = decoder(bytes);
    if (decoder.hasError())
        return errorPage(topic, unreadableFileMessage(path), QString(), false);

    QRegularExpressionMatchIterator it = sectionPattern().globalMatch(html);
    bool hasContents = false;
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const int number = match.captured(1).toInt();
        if (number == topic) {
            const QString shown = documentHead(html) + QStringLiteral("<body>") +
                                  match.captured(2) + QStringLiteral("</body></html>");
            return {topic, shown, QString()};
        }
        hasContents = hasContents || number == 0;
    }
    return errorPage(topic, missingTopicMessage(topic), documentHead(html), hasContents);
}

QList<int> HelpFile::topics(const QString &html)
{
    QList<int> numbers;
    QRegularExpressionMatchIterator it = sectionPattern().globalMatch(html);
    while (it.hasNext())
        numbers.append(it.next().captured(1).toInt());
    return numbers;
}

QString HelpFile::anchor(int topic)
{
    return anchorPrefix + QString::number(topic);
}

int HelpFile::topicOfAnchor(const QString &fragment)
{
    if (!fragment.startsWith(anchorPrefix))
        return -1;
    bool ok = false;
    const int topic = fragment.mid(anchorPrefix.size()).toInt(&ok);
    return ok && topic >= 0 ? topic : -1;
}

QString HelpFile::missingFileMessage(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("No se ha indicado el archivo de ayuda");
    return QStringLiteral("No se encuentra el archivo de ayuda \"%1\"").arg(bareName(path));
}

QString HelpFile::unreadableFileMessage(const QString &path)
{
    return QStringLiteral("No puede leerse el archivo de ayuda \"%1\"").arg(bareName(path));
}

QString HelpFile::missingTopicMessage(int topic)
{
    return QStringLiteral("El tema de ayuda %1 no existe").arg(topic);
}
