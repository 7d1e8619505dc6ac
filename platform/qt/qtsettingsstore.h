#pragma once
// The settings store of one title on QSettings: organisation "Korrinel",
// application the title, so the values live in the user's configuration
// folder as Korrinel/<title>.conf (Korrinel.conf itself for an empty title).
// Value names become keys exactly as written, so every Windows-1251 name
// round-trips, Cyrillic ones included.
//
// Every value is kept as text: integers in decimal, booleans as "true" or
// "false". A boolean read takes "true", "false" or any decimal integer
// (nonzero is true); an integer read takes a decimal 32-bit integer or a
// boolean word. Anything else reads as missing.
//
// Writes reach the disk as soon as control returns to the event loop (and at
// the latest when the store is destroyed or flushed): a handler that writes
// several values (the options dialog's OK, the favourites and switch states at
// program end) costs one file write, and a crash after the handler loses
// nothing. Writing each value at once would cost a flushed file rewrite per
// value, seconds at program end. QSettings replaces the file atomically, so a
// crash during a write leaves the previous file.

#include "settingsstore.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <string>

class QObject;
class QSettings;

namespace carmanual {

class TQtSettingsStore final : public ISettingsStore {
public:
    // title: Windows-1251 bytes, any text, empty allowed.
    explicit TQtSettingsStore(const std::string& title);
    ~TQtSettingsStore() override;
    Q_DISABLE_COPY_MOVE(TQtSettingsStore)

    std::optional<bool> ReadBool(const std::string& name) const override;
    bool WriteBool(const std::string& name, bool value) override;
    std::optional<std::int32_t> ReadInteger(const std::string& name) const override;
    bool WriteInteger(const std::string& name, std::int32_t value) override;
    std::optional<std::string> ReadString(const std::string& name) const override;
    bool WriteString(const std::string& name, const std::string& value) override;
    bool DeleteValue(const std::string& name) override;
    bool ValueExists(const std::string& name) const override;

    // Writes what is pending now; false when the file could not be written.
    bool Flush();

    // The file that holds the values.
    QString FileName() const;

    // The application name a title is kept under: the title with every
    // character that cannot stand in a file name escaped as %XX ('%' itself
    // too, so different titles never share a file), shortened with a hash
    // when it would make too long a file name.
    static QString ApplicationName(const std::string& title);

private:
    bool Write(const std::string& name, const QString& text);
    bool Changed();

    std::unique_ptr<QSettings> m_settings;
    // Receives the deferred flush; destroyed with the store, which cancels it.
    std::unique_ptr<QObject> m_flusher;
    bool m_flushPending = false;
};

} // namespace carmanual
