#include "inidialect.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace IniDialect {

#ifdef Q_OS_WIN
static constexpr char eol[] = "\r\n";
#else
static constexpr char eol[] = "\n";
#endif

static bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

static int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

static bool isValidUtf8(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return true;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

// Raw bytes of one value or key: UTF-8 when they are valid UTF-8, Latin-1 otherwise.
static QString decodeRaw(QByteArrayView bytes, bool utf8)
{
    return utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

QByteArray escapedString(const QString &text)
{
    QByteArray result;
    result.reserve(text.size() * 3 / 2);
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;   // a reader takes every hex digit after \x
    for (const QChar qc : text) {
        const uint ch = qc.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfDigit && ch < 0x80 && isHexDigit(char(ch))) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            result += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a': result += "\\a"; break;
        case '\b': result += "\\b"; break;
        case '\f': result += "\\f"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        case '\t': result += "\\t"; break;
        case '\v': result += "\\v"; break;
        case '"':
        case '\\':
            result += '\\';
            result += char(ch);
            break;
        default:
            if (ch <= 0x1F || ch >= 0x7F) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else {
                result += char(ch);
            }
        }
    }
    if (needsQuotes || result.startsWith(' ') || result.endsWith(' ')) {
        result.prepend('"');
        result += '"';
    }
    return result;
}

QByteArray escapedStringList(const QStringList &texts)
{
    // An empty list must differ from a list of one empty text.
    if (texts.isEmpty())
        return QByteArrayLiteral("@Invalid()");
    QByteArray result;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i != 0)
            result += ", ";
        result += escapedString(texts.at(i));
    }
    return result;
}

QByteArray escapedKey(const QString &key)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray result;
    result.reserve(key.size() * 3 / 2);
    for (const QChar qc : key) {
        uint ch = qc.unicode();
        if (ch == '/') {
            result += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
                   || ch == '-' || ch == '.') {
            result += char(ch);
        } else if (ch <= 0xFF) {
            result += '%';
            result += hex[ch / 16];
            result += hex[ch % 16];
        } else {
            result += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                result += hex[(ch >> shift) & 0xF];
        }
    }
    return result;
}

QString unescapedKey(QByteArrayView key)
{
    const QString decoded = decodeRaw(key, isValidUtf8(key));
    QString result;
    result.reserve(decoded.size());
    qsizetype i = 0;
    while (i < decoded.size()) {
        const QChar ch = decoded.at(i);
        if (ch == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == decoded.size() - 1) {
            result += ch;
            ++i;
            continue;
        }
        const bool wide = decoded.at(i + 1) == u'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const qsizetype digits = wide ? 4 : 2;
        bool ok = first + digits <= decoded.size();
        uint code = 0;
        for (qsizetype d = first; ok && d < first + digits; ++d) {
            const QChar c = decoded.at(d);
            ok = c.unicode() < 0x80 && isHexDigit(char(c.unicode()));
            if (ok)
                code = code * 16 + hexValue(char(c.unicode()));
        }
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(char16_t(code));
        i = first + digits;
    }
    return result;
}

static void chopTrailingBlanks(QString &text, qsizetype limit)
{
    qsizetype n = text.size();
    while (n > limit && (text.at(n - 1) == u' ' || text.at(n - 1) == u'\t'))
        --n;
    text.truncate(n);
}

static QVariant stringListToVariantList(const QStringList &texts, bool *keptTyped)
{
    QStringList out = texts;
    for (QString &text : out) {
        if (!text.startsWith(u'@'))
            continue;
        if (text.size() < 2 || text.at(1) != u'@') {
            QVariantList variants;
            variants.reserve(texts.size());
            for (const QString &element : texts)
                variants.append(stringToVariant(element, keptTyped));
            return variants;
        }
        text.remove(0, 1);
    }
    return out;
}

QVariant unescapedValue(QByteArrayView str, bool *keptTyped)
{
    static constexpr char simpleEscapes[][2] = {
        {'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'},
        {'v', '\v'}, {'"', '"'}, {'?', '?'}, {'\'', '\''}, {'\\', '\\'},
    };
    const bool utf8 = isValidUtf8(str);
    const qsizetype n = str.size();
    QString current;
    QStringList list;
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && (str.at(i) == ' ' || str.at(i) == '\t'))
            ++i;
    };
    skipBlanks();
    qsizetype chopLimit = 0;   // blanks made by escapes or quotes are kept
    while (i < n) {
        const char ch = str.at(i);
        if (ch == '\\') {
            if (++i >= n)
                break;
            const char e = str.at(i++);
            const auto simple = std::find_if(std::begin(simpleEscapes), std::end(simpleEscapes),
                                             [e](const char *pair) { return pair[0] == e; });
            if (simple != std::end(simpleEscapes)) {
                current += QLatin1Char((*simple)[1]);
            } else if (e == 'x' || (e >= '0' && e <= '7')) {
                const bool hex = e == 'x';
                uint code = hex ? 0 : uint(e - '0');
                bool any = !hex;
                while (i < n && (hex ? isHexDigit(str.at(i)) : (str.at(i) >= '0' && str.at(i) <= '7'))) {
                    code = ((code << (hex ? 4 : 3)) + uint(hex ? hexValue(str.at(i)) : str.at(i) - '0')) & 0xFFFF;
                    any = true;
                    ++i;
                }
                if (any)
                    current += QChar(char16_t(code));
            } else if (e == '\n' || e == '\r') {
                // a continued line
                if (i < n && (str.at(i) == '\n' || str.at(i) == '\r') && str.at(i) != e)
                    ++i;
            }
            // any other escaped character is dropped
            chopLimit = current.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
            chopLimit = current.size();
        } else if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks(current, chopLimit);
            isList = true;
            list.append(current);
            current.clear();
            quoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
        } else {
            qsizetype j = i + 1;
            while (j < n && str.at(j) != '\\' && str.at(j) != '"' && str.at(j) != ',')
                ++j;
            current += decodeRaw(str.sliced(i, j - i), utf8);
            i = j;
        }
    }
    if (!quoted)
        chopTrailingBlanks(current, chopLimit);
    if (!isList)
        return stringToVariant(current, keptTyped);
    list.append(current);
    return stringListToVariantList(list, keptTyped);
}

QString variantToString(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray:
        return QLatin1String("@ByteArray(") + QString::fromLatin1(value.toByteArray()) + u')';
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::QString:
    case QMetaType::Bool:
    case QMetaType::Float:
    case QMetaType::Double: {
        QString text = value.toString();
        if (text.startsWith(u'@'))
            text.prepend(u'@');
        return text;
    }
    case QMetaType::QRect: {
        const QRect r = value.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", r.x(), r.y(), r.width(), r.height());
    }
    case QMetaType::QSize: {
        const QSize s = value.toSize();
        return QString::asprintf("@Size(%d %d)", s.width(), s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = value.toPoint();
        return QString::asprintf("@Point(%d %d)", p.x(), p.y());
    }
    default: {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_4_0);
        stream << value;
        return QLatin1String("@Variant(") + QString::fromLatin1(bytes) + u')';
    }
    }
}

QVariant stringToVariant(const QString &text, bool *keptTyped)
{
    if (!text.startsWith(u'@'))
        return text;
    if (text.startsWith(QLatin1String("@@")))
        return text.sliced(1);
    if (text == QLatin1String("@Invalid()"))
        return QVariant();
    if (text.endsWith(u')')) {
        if (text.startsWith(QLatin1String("@ByteArray(")))
            return text.sliced(11).chopped(1).toLatin1();
        if (text.startsWith(QLatin1String("@String(")))
            return text.sliced(8).chopped(1);
        // @Variant, @DateTime, @Rect and the like would need a typed decoder; file text never reaches one.
        if (keptTyped && text.indexOf(u'(') > 1)
            *keptTyped = true;
    }
    return text;
}

static bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void read(QByteArrayView text, QSettings::SettingsMap &map, QStringList *order, QStringList *typedKeys)
{
    if (text.startsWith("\xef\xbb\xbf"))
        text = text.sliced(3);
    const qsizetype n = text.size();
    QString section;   // "" or "name/"
    qsizetype pos = 0;
    while (pos < n) {
        while (pos < n && isSpace(text.at(pos)))
            ++pos;
        if (pos >= n)
            break;
        if (text.at(pos) == ';') {   // a comment up to the end of the line
            while (pos < n && text.at(pos) != '\n' && text.at(pos) != '\r')
                ++pos;
            continue;
        }
        // One logical line: quotes may span line ends, a backslash continues the line.
        const qsizetype start = pos;
        qsizetype equals = -1;
        bool inQuotes = false;
        qsizetype i = pos;
        while (i < n) {
            const char c = text.at(i);
            if ((c == '\n' || c == '\r' || c == ';') && !inQuotes)
                break;
            if (c == '=' && !inQuotes && equals < 0) {
                equals = i;
            } else if (c == '\\') {
                i += 2;
                if (i < n && i >= 2 && ((text.at(i - 1) == '\n' && text.at(i) == '\r')
                                        || (text.at(i - 1) == '\r' && text.at(i) == '\n')))
                    ++i;
                continue;
            } else if (c == '"') {
                inQuotes = !inQuotes;
            }
            ++i;
        }
        i = qMin(i, n);
        pos = i;
        const QByteArrayView line = text.sliced(start, i - start);

        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            const QByteArray name = (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).toByteArray().trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.sliced(1)) + u'/';
            else
                section = unescapedKey(name) + u'/';
            continue;
        }
        if (equals < 0)
            continue;
        const QByteArray key = line.first(equals - start).toByteArray().trimmed();
        if (key.isEmpty())
            continue;
        const QString fullKey = section + unescapedKey(key);
        if (order && !map.contains(fullKey))
            order->append(fullKey);
        bool keptTyped = false;
        map.insert(fullKey, unescapedValue(line.sliced(equals - start + 1), &keptTyped));
        if (keptTyped && typedKeys)
            typedKeys->append(fullKey);
    }
}

QByteArray valueText(const QVariant &value)
{
    const int type = value.metaType().id();
    // A one-element QVariantList is no list here: it goes out in its @Variant form.
    if (type == QMetaType::QStringList || (type == QMetaType::QVariantList && value.toList().size() != 1)) {
        QStringList texts;
        for (const QVariant &element : value.toList())
            texts.append(variantToString(element));
        return escapedStringList(texts);
    }
    return escapedString(variantToString(value));
}

QByteArray write(const QSettings::SettingsMap &map, QByteArrayView previous)
{
    constexpr qsizetype unseen = std::numeric_limits<qsizetype>::max();
    QHash<QString, qsizetype> position;
    if (!previous.isEmpty()) {
        QSettings::SettingsMap old;
        QStringList order;
        read(previous, old, &order);
        for (qsizetype i = 0; i < order.size(); ++i)
            position.insert(order.at(i), i);
    }

    struct Entry
    {
        QString key;
        qsizetype position;
        QVariant value;
    };
    struct Section
    {
        QString name;
        qsizetype position = unseen;
        QList<Entry> entries;
    };
    QList<Section> sections;
    QHash<QString, qsizetype> sectionIndex;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        const QString name = slash < 0 ? QString() : it.key().left(slash);
        const QString key = slash < 0 ? it.key() : it.key().sliced(slash + 1);
        auto found = sectionIndex.constFind(name);
        if (found == sectionIndex.constEnd()) {
            found = sectionIndex.insert(name, sections.size());
            sections.append(Section{name, unseen, {}});
        }
        Section &section = sections[*found];
        const qsizetype keyPosition = position.value(it.key(), unseen);
        section.position = qMin(section.position, keyPosition);
        section.entries.append(Entry{key, keyPosition, it.value()});
    }
    // Lines already in the file keep their place; new ones follow by name.
    std::sort(sections.begin(), sections.end(), [](const Section &a, const Section &b) {
        return a.position != b.position ? a.position < b.position : a.name < b.name;
    });

    QByteArray out;
    for (qsizetype s = 0; s < sections.size(); ++s) {
        Section &section = sections[s];
        std::sort(section.entries.begin(), section.entries.end(), [](const Entry &a, const Entry &b) {
            return a.position != b.position ? a.position < b.position : a.key < b.key;
        });
        QByteArray header = escapedKey(section.name);
        if (header.isEmpty())
            header = "General";
        else if (header.compare("general", Qt::CaseInsensitive) == 0)
            header = "%General";
        if (s != 0)
            out += eol;
        out += '[' + header + ']' + eol;
        for (const Entry &entry : std::as_const(section.entries))
            out += escapedKey(entry.key) + '=' + valueText(entry.value) + eol;
    }
    return out;
}

} // namespace IniDialect
