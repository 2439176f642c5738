// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/SavedWork.h"

#include "files/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace SavedWork {
namespace {

const QString kFormatKey = QStringLiteral("formato");
const QString kSavedAtKey = QStringLiteral("guardado");
const QString kDraftKey = QStringLiteral("borrador");
const QString kPageKey = QStringLiteral("pagina");
const QString kAddressKey = QStringLiteral(u"direccion");
const QString kDescriptionKey = QStringLiteral(u"descripcion");
const QString kWebCopiesKey = QStringLiteral(u"copiasWeb");

// Every text field with its key (the control's name) and its limit; 0 for
// none. File names are texts too: whether their files are there is judged
// against the folder, not here.
struct TextField {
    const char *key;
    QString PageSettings::*member;
    int limit;
};
constexpr TextField kTexts[] = {
    {"txtTitol", &PageSettings::txtTitol, FieldLimits::txtTitol},
    {"txtSubTitol1", &PageSettings::txtSubTitol1, FieldLimits::txtSubTitol},
    {"txtSubTitol2", &PageSettings::txtSubTitol2, FieldLimits::txtSubTitol},
    {"stSonido", &PageSettings::stSonido, 0},
    {"txtLibre", &PageSettings::txtLibre, 0},
    {"lblNombreImagen1", &PageSettings::lblNombreImagen1, 0},
    {"txtImagen1", &PageSettings::txtImagen1, FieldLimits::txtImagen},
    {"lblNombreImagen2", &PageSettings::lblNombreImagen2, 0},
    {"txtImagen2", &PageSettings::txtImagen2, FieldLimits::txtImagen},
    {"lblNombreImagen3", &PageSettings::lblNombreImagen3, 0},
    {"TextoScroll", &PageSettings::TextoScroll, FieldLimits::TextoScroll},
    {"txtTitolEnlaces", &PageSettings::txtTitolEnlaces, FieldLimits::txtTitolEnlaces},
    {"txtTitolEmail", &PageSettings::txtTitolEmail, FieldLimits::txtTitolEmail},
    {"txtEmail", &PageSettings::txtEmail, FieldLimits::txtEmail},
    {"txtHTML", &PageSettings::txtHTML, FieldLimits::txtHTML},
};

struct FlagField {
    const char *key;
    bool PageSettings::*member;
};
constexpr FlagField kFlags[] = {
    {"chkMarco", &PageSettings::chkMarco},         {"chkFondo", &PageSettings::chkFondo},
    {"chkFondoFijo", &PageSettings::chkFondoFijo}, {"chkLoop", &PageSettings::chkLoop},
    {"chkNegrita", &PageSettings::chkNegrita},     {"chkCursiva", &PageSettings::chkCursiva},
    {"chkMovil", &PageSettings::chkMovil},
};

// The enumerations are kept by the names of their option buttons.
constexpr const char *kCombinaciones[] = {"optBlanco", "optNoche", "optRojo",
                                          "optCielo",  "optVerde", "optAmarillo"};
constexpr const char *kTamanos[] = {"optMini", "optNormal", "optGrande", "optSuper"};
constexpr const char *kPosiciones[] = {"optAntesTexto", "optDespuesTexto"};

template <typename Enum, std::size_t N>
void readChoice(const QJsonValue &value, const char *const (&names)[N], Enum &field)
{
    const QString name = value.toString();
    for (std::size_t i = 0; i < N; ++i) {
        if (name == QLatin1StringView(names[i]))
            field = Enum(i);
    }
}

QString cut(const QString &text, int limit)
{
    return limit > 0 && text.size() > limit ? text.left(limit) : text;
}

QJsonArray linksToJson(const PageSettings &settings)
{
    // Rows after the last one the user filled are left out; a reader takes
    // the rows it does not find as empty.
    int used = kLinkRowCount;
    while (used > 0 && settings.GridEnlaces[used - 1].address.isEmpty() &&
           settings.GridEnlaces[used - 1].description.isEmpty())
        --used;
    QJsonArray rows;
    for (int row = 0; row < used; ++row) {
        rows.append(QJsonObject{{kAddressKey, settings.GridEnlaces[row].address},
                                {kDescriptionKey, settings.GridEnlaces[row].description}});
    }
    return rows;
}

void linksFromJson(const QJsonValue &value, PageSettings &settings)
{
    const QJsonArray rows = value.toArray();
    for (qsizetype row = 0; row < std::min<qsizetype>(rows.size(), kLinkRowCount); ++row) {
        const QJsonObject cells = rows[row].toObject();
        settings.GridEnlaces[row] = {cells.value(kAddressKey).toString(),
                                     cells.value(kDescriptionKey).toString()};
    }
}

bool isBareName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u"." &&
           name != u".." && name.size() <= kLongestName && name.toUtf8().size() <= kLongestName;
}

// Each copy as its name and its hash in hexadecimal; an entry that is not a
// bare name with a SHA-256 is left out.
QJsonObject webCopiesToJson(const QMap<QString, QByteArray> &copies)
{
    QJsonObject object;
    for (auto copy = copies.begin(); copy != copies.end(); ++copy)
        object.insert(copy.key(), QString::fromLatin1(copy.value().toHex()));
    return object;
}

QMap<QString, QByteArray> webCopiesFromJson(const QJsonValue &value)
{
    QMap<QString, QByteArray> copies;
    const QJsonObject object = value.toObject();
    for (auto copy = object.begin(); copy != object.end(); ++copy) {
        const QByteArray hex = copy.value().toString().toLatin1();
        const QByteArray hash = QByteArray::fromHex(hex);
        if (isBareName(copy.key()) && hash.size() == 32 && hash.toHex() == hex.toLower())
            copies.insert(copy.key(), hash);
    }
    return copies;
}

PageSettings settingsFromJson(const QJsonObject &page)
{
    PageSettings settings;
    for (const TextField &field : kTexts) {
        const QJsonValue value = page.value(QLatin1StringView(field.key));
        if (value.isString())
            settings.*field.member = cut(value.toString(), field.limit);
    }
    for (const FlagField &field : kFlags) {
        const QJsonValue value = page.value(QLatin1StringView(field.key));
        if (value.isBool())
            settings.*field.member = value.toBool();
    }
    readChoice(page.value(QLatin1StringView("optCombinacion")), kCombinaciones,
               settings.optCombinacion);
    readChoice(page.value(QLatin1StringView("optTamano")), kTamanos, settings.optTamano);
    readChoice(page.value(QLatin1StringView("optPosicion")), kPosiciones, settings.optPosicion);
    linksFromJson(page.value(QLatin1StringView("GridEnlaces")), settings);
    return settings;
}

// True when the name is a bare name of a file of the folder that the list
// with that mask offers: a regular file, not a link.
bool offered(const QDir &folder, const QString &name, std::initializer_list<const char *> suffixes)
{
    if (!isBareName(name))
        return false;
    const QFileInfo file(folder.filePath(name));
    if (!file.isFile() || file.isSymLink())
        return false;
    for (const char *suffix : suffixes) {
        if (file.suffix().compare(QLatin1StringView(suffix), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

QByteArray toJson(const PageSettings &settings, const QDateTime &savedAt, bool draft)
{
    QJsonObject page;
    for (const TextField &field : kTexts)
        page.insert(QLatin1StringView(field.key), settings.*field.member);
    for (const FlagField &field : kFlags)
        page.insert(QLatin1StringView(field.key), settings.*field.member);
    page.insert(QLatin1StringView("optCombinacion"),
                QLatin1StringView(kCombinaciones[int(settings.optCombinacion)]));
    page.insert(QLatin1StringView("optTamano"),
                QLatin1StringView(kTamanos[int(settings.optTamano)]));
    page.insert(QLatin1StringView("optPosicion"),
                QLatin1StringView(kPosiciones[int(settings.optPosicion)]));
    page.insert(QLatin1StringView("GridEnlaces"), linksToJson(settings));

    QJsonObject root{
        {kFormatKey, kFormat},
        {kSavedAtKey, savedAt.toOffsetFromUtc(savedAt.offsetFromUtc()).toString(Qt::ISODate)},
        {kDraftKey, draft},
        {kPageKey, page},
    };
    // Only where there are any: a reader of the first format skips the key.
    if (!settings.madeWebCopies.isEmpty())
        root.insert(kWebCopiesKey, webCopiesToJson(settings.madeWebCopies));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<Contents> fromJson(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    const QJsonValue format = root.value(kFormatKey);
    const QJsonValue page = root.value(kPageKey);
    // A file without our format number or our page is not ours; one of a
    // newer format may mean fields this program would drop without a word.
    if (!format.isDouble() || format.toDouble() != double(format.toInt()) || format.toInt() < 1 ||
        format.toInt() > kFormat || !page.isObject())
        return std::nullopt;
    Contents contents;
    contents.settings = settingsFromJson(page.toObject());
    contents.settings.madeWebCopies = webCopiesFromJson(root.value(kWebCopiesKey));
    contents.savedAt =
        QDateTime::fromString(root.value(kSavedAtKey).toString(), Qt::ISODate).toLocalTime();
    contents.draft = root.value(kDraftKey).toBool(true);
    return contents;
}

Found read(const QString &folder)
{
    Found found;
    const QDir dir(folder);
    QFile file(dir.filePath(fileName()));
    // A link is no file of ours, wherever it leads: it is set aside like a
    // damaged file, never followed. One test at each start; a folder without
    // saved work costs nothing more.
    const bool link = AtomicFile::isLink(file.fileName());
    if (!link && !QFileInfo(file).isFile())
        return found;
    found.state = Found::State::Unreadable;
    if (link || file.size() > kLargestFile || !file.open(QIODevice::ReadOnly))
        return found;
    std::optional<Contents> contents = fromJson(file.readAll());
    if (!contents)
        return found;
    found.state = Found::State::Read;
    found.contents = *contents;
    if (!found.contents.savedAt.isValid())
        found.contents.savedAt = QFileInfo(file).lastModified();

    PageSettings &settings = found.contents.settings;
    const auto check = [&](QString &name, std::initializer_list<const char *> suffixes) {
        if (name.isEmpty() || offered(dir, name, suffixes))
            return;
        if (!found.missingFiles.contains(name))
            found.missingFiles.append(name);
        name.clear();
    };
    check(settings.stSonido, {"MID", "WAV"});
    check(settings.lblNombreImagen1, {"GIF", "JPG"});
    check(settings.lblNombreImagen2, {"GIF", "JPG"});
    check(settings.lblNombreImagen3, {"GIF", "JPG"});
    return found;
}

QString setAside(const QString &folder)
{
    const QDir dir(folder);
    const QString stem = QFileInfo(fileName()).completeBaseName() + QStringLiteral("-no-leida");
    const QString suffix = QStringLiteral(".") + QFileInfo(fileName()).suffix();
    for (int number = 1; number < 1000; ++number) {
        const QString name =
            stem + (number > 1 ? QStringLiteral("-%1").arg(number) : QString()) + suffix;
        if (QFileInfo::exists(dir.filePath(name)) || AtomicFile::isLink(dir.filePath(name)))
            continue;
        return QFile::rename(dir.filePath(fileName()), dir.filePath(name)) ? name : QString();
    }
    return {};
}

bool write(const QString &folder, const QByteArray &json)
{
    return AtomicFile::write(QDir(folder).filePath(fileName()), json);
}

} // namespace SavedWork
