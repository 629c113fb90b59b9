#include "platform/ini_file.h"

#include <QFileInfo>

#include "platform/file_io.h"
#include "platform/code_page.h"

namespace plennix {

IniFile::IniFile(QString path) : m_path(std::move(path)) { reload(); }

void IniFile::reload() {
    m_sections.clear();
    m_readError.clear();
    // An in-memory file (no path) has nothing to read; a missing file is an empty one.
    if (m_path.isEmpty() || !QFileInfo::exists(m_path)) return;
    if (auto bytes = ReadWholeFile(m_path, 16 * 1024 * 1024, &m_readError)) parse(*bytes);
}

void IniFile::parse(const QByteArray& bytes) {
    m_sections.clear();
    Section* current = nullptr;
    // A file that starts with the UTF-8 mark holds text the code page could not (see serialize).
    const QString text =
        bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3)) : DecodeFromCodePage(bytes);
    const auto lines = text.split('\n');
    for (QString line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(';')) continue;
        if (t.startsWith('[')) {
            int close = t.indexOf(']');
            QString name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
            current = find(name);
            if (!current) {
                m_sections.push_back({name, {}});
                current = &m_sections.back();
            }
            continue;
        }
        if (!current) continue;
        int eq = t.indexOf('=');
        QString key = (eq < 0 ? t : t.left(eq)).trimmed();
        QString value = eq < 0 ? QString() : t.mid(eq + 1).trimmed();
        if (value.size() >= 2 && ((value.startsWith('"') && value.endsWith('"')) ||
                                  (value.startsWith('\'') && value.endsWith('\''))))
            value = value.mid(1, value.size() - 2);
        bool found = false;
        for (auto& e : current->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
                found = true;  // the first occurrence of a key wins, as profile reads do
                break;
            }
        if (!found) current->entries.push_back({key, value});
    }
}

QByteArray IniFile::serialize() const {
    QString out;
    bool first = true;
    for (const auto& s : m_sections) {
        if (!first) out += QStringLiteral("\r\n");
        first = false;
        out += '[' + s.name + QStringLiteral("]\r\n");
        for (const auto& e : s.entries) out += e.key + '=' + e.value + QStringLiteral("\r\n");
    }
    // Profile text is in the files' code page; a value it cannot hold (a recent file's path with letters
    // of another script) makes the whole file UTF-8 with its mark rather than turning letters into '?'.
    if (CanEncode(out)) return EncodeToCodePage(out);
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

bool IniFile::save(QString* error) const {
    // Whoever writes a profile changes a few keys of what was read; a file that could not be read would
    // lose all the others (the recent files, every preference) if it were replaced.
    if (!m_readError.isEmpty()) {
        if (error) *error = m_readError + QStringLiteral("; it is kept as it is");
        return false;
    }
    return WriteFileAtomically(m_path, serialize(), error);
}

IniFile::Section* IniFile::find(const QString& name) {
    for (auto& s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}
const IniFile::Section* IniFile::find(const QString& name) const {
    return const_cast<IniFile*>(this)->find(name);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    if (const Section* s = find(section))
        for (const auto& e : s->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) return e.value;
    return def;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    if (const Section* s = find(section))
        for (const auto& e : s->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) return true;
    return false;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
    if (!hasKey(section, key)) return def;
    QString v = readString(section, key).trimmed();
    bool neg = false;
    if (v.startsWith('-')) {
        neg = true;
        v = v.mid(1);
    }
    bool ok = false;
    qlonglong n;
    if (v.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        n = v.mid(2).toLongLong(&ok, 16);
    else {
        // Profile integers take the leading digits and ignore what follows.
        int i = 0;
        while (i < v.size() && v[i].isDigit()) ++i;
        n = v.left(i).toLongLong(&ok, 10);
    }
    if (!ok) return def;
    if (neg) n = -n;
    return static_cast<int>(n);
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::changed() {
    if (m_autoSave) save();
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    Section* s = find(section);
    if (!s) {
        m_sections.push_back({section, {}});
        s = &m_sections.back();
    }
    bool done = false;
    for (auto& e : s->entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = value;
            done = true;
            break;
        }
    if (!done) s->entries.push_back({key, value});
    changed();
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}
void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString& section) {
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it)
        if (it->name.compare(section, Qt::CaseInsensitive) == 0) {
            m_sections.erase(it);
            changed();
            return;
        }
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    if (Section* s = find(section))
        for (auto it = s->entries.begin(); it != s->entries.end(); ++it)
            if (it->key.compare(key, Qt::CaseInsensitive) == 0) {
                s->entries.erase(it);
                changed();
                return;
            }
}

QStringList IniFile::sections() const {
    QStringList l;
    for (const auto& s : m_sections) l << s.name;
    return l;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList l;
    if (const Section* s = find(section))
        for (const auto& e : s->entries) l << e.key;
    return l;
}
}  // namespace plennix
