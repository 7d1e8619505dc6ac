#include "qtsettingsstore.h"

#include "qtansi.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QMetaObject>
#include <QObject>
#include <QSettings>
#include <QVariant>

#include <charconv>

namespace carmanual {

namespace {

const QString kOrganisation = QStringLiteral("Korrinel");

// File names longer than 255 bytes are refused by the usual Linux file
// systems; ".conf" and the hash suffix must still fit.
constexpr qsizetype kMaxApplicationBytes = 200;

void AppendEscaped(QString& out, QChar c) {
    out += QLatin1Char('%');
    out += QString::number(c.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

// QSettings reads '/' and '\' in a key as group separators and folds runs of
// them, so "a/b", "a//b" and "a\b" would all be one value. Escaping them (and
// '%', the escape itself) keeps every name a distinct top-level key. The
// empty name, which QSettings refuses, gets the one key no other name can
// produce.
QString KeyOf(const std::string& name) {
    if (name.empty())
        return QStringLiteral("%");
    const QString text = FromAnsi(name);
    QString key;
    key.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            AppendEscaped(key, c);
        else
            key += c;
    }
    return key;
}

std::optional<std::int32_t> ParseInteger(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::optional<bool> ParseBoolWord(const QString& text) {
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

// Only plain text is a value of ours: a hand-edited "a, b" reads back as a
// list and "@Variant(...)" as some other type, and both count as unreadable.
std::optional<QString> TextOf(const QVariant& value) {
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

} // namespace

TQtSettingsStore::TQtSettingsStore(const std::string& title)
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             kOrganisation, ApplicationName(title))),
      m_flusher(std::make_unique<QObject>()) {
    // Without this, a value missing here would be looked up in Korrinel.conf
    // (the store of the empty title) and in the system-wide folders.
    m_settings->setFallbacksEnabled(false);
}

TQtSettingsStore::~TQtSettingsStore() {
    if (m_flushPending)
        Flush();
}

bool TQtSettingsStore::Flush() {
    m_flushPending = false;
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

bool TQtSettingsStore::Changed() {
    if (!QCoreApplication::instance())
        return Flush();
    if (!m_flushPending) {
        m_flushPending = true;
        QMetaObject::invokeMethod(
            m_flusher.get(), [this] { Flush(); }, Qt::QueuedConnection);
    }
    return m_settings->isWritable() && m_settings->status() == QSettings::NoError;
}

QString TQtSettingsStore::ApplicationName(const std::string& title) {
    const QString text = FromAnsi(title);
    QString name;
    name.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || QStringView(u"%/\\:*?\"<>|").contains(c))
            AppendEscaped(name, c);
        else
            name += c;
    }
    if (name.toUtf8().size() <= kMaxApplicationBytes)
        return name;
    const QByteArray hash =
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString shortened;
    qsizetype bytes = 0;
    for (const char32_t u : name.toUcs4()) {
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : u < 0x10000 ? 3 : 4;
        if (bytes > kMaxApplicationBytes - 20)
            break;
        shortened += QString::fromUcs4(&u, 1);
    }
    return shortened + QLatin1Char('~') + QString::fromLatin1(hash);
}

QString TQtSettingsStore::FileName() const {
    return m_settings->fileName();
}

std::optional<bool> TQtSettingsStore::ReadBool(const std::string& name) const {
    const std::optional<QString> text = TextOf(m_settings->value(KeyOf(name)));
    if (!text)
        return std::nullopt;
    if (const std::optional<bool> word = ParseBoolWord(*text))
        return word;
    if (const std::optional<std::int32_t> number = ParseInteger(*text))
        return *number != 0;
    return std::nullopt;
}

bool TQtSettingsStore::WriteBool(const std::string& name, bool value) {
    return Write(name, value ? QStringLiteral("true") : QStringLiteral("false"));
}

std::optional<std::int32_t> TQtSettingsStore::ReadInteger(const std::string& name) const {
    const std::optional<QString> text = TextOf(m_settings->value(KeyOf(name)));
    if (!text)
        return std::nullopt;
    if (const std::optional<std::int32_t> number = ParseInteger(*text))
        return number;
    // A boolean is an integer in the registry this store stands in for.
    if (const std::optional<bool> word = ParseBoolWord(*text))
        return *word ? 1 : 0;
    return std::nullopt;
}

bool TQtSettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
    return Write(name, QString::number(value));
}

std::optional<std::string> TQtSettingsStore::ReadString(const std::string& name) const {
    const std::optional<QString> text = TextOf(m_settings->value(KeyOf(name)));
    if (!text)
        return std::nullopt;
    return ToAnsi(*text);
}

bool TQtSettingsStore::WriteString(const std::string& name, const std::string& value) {
    return Write(name, FromAnsi(value));
}

bool TQtSettingsStore::DeleteValue(const std::string& name) {
    const QString key = KeyOf(name);
    if (!m_settings->contains(key))
        return false;
    m_settings->remove(key);
    return Changed();
}

bool TQtSettingsStore::ValueExists(const std::string& name) const {
    return m_settings->contains(KeyOf(name));
}

bool TQtSettingsStore::Write(const std::string& name, const QString& text) {
    // Always a QString, so that a value reads the same before and after the
    // file is read back from disk.
    m_settings->setValue(KeyOf(name), text);
    return Changed();
}

} // namespace carmanual
