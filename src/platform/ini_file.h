#pragma once
// A profile (INI) file with the classic semantics: sections and keys keep file order, look-up is
// case-insensitive, integers accept "0x" hex, text is in the files' code page (UTF-8 with its mark when
// that page cannot hold it), writes are atomic.
#include <QString>
#include <QStringList>
#include <vector>

namespace plennix {
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }
    // Reloads from disk (a missing or unreadable file is empty). A file that exists but cannot be read
    // is never replaced by save(), which reports why instead.
    void reload();
    const QString& readError() const { return m_readError; }
    // Parses profile text (used by reload and tests).
    void parse(const QByteArray& bytes);
    QByteArray serialize() const;
    bool save(QString* error = nullptr) const;

    QString readString(const QString& section, const QString& key, const QString& def = QString()) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;
    bool hasKey(const QString& section, const QString& key) const;
    // Writing changes memory and, unless deferred, the file at once (as profile writes do).
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void eraseSection(const QString& section);
    void deleteKey(const QString& section, const QString& key);
    QStringList sections() const;
    QStringList keys(const QString& section) const;
    void setAutoSave(bool on) { m_autoSave = on; }

private:
    struct Entry {
        QString key, value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    Section* find(const QString& name);
    const Section* find(const QString& name) const;
    void changed();

    QString m_path;
    QString m_readError;
    std::vector<Section> m_sections;
    bool m_autoSave = true;
};
}  // namespace plennix
