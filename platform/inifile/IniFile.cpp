#include "platform/inifile/IniFile.h"

#include "platform/codepage/Windows1252.h"
#include "platform/inifile/ProfileNumbers.h"
#include "platform/inifile/SaveFileCommit.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>
#include <utility>

namespace {

bool IsAscii(const QByteArray& bytes)
{
    for (char ch : bytes) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    }
    return true;
}

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes); // the decoding happens on this conversion
    return !decoder.hasError();
}

// The profile readers strip one pair of matching quotes around a whole value.
QString Unquote(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// A line break inside a key or value would split it into lines the next read sees as other keys
// or sections; they become blanks.
QString OneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// A value the readers would change, by trimming its blanks or stripping its enclosing quotes, is
// stored in one more pair of quotes, which the readers (ours and the original platform's) strip
// again: what is written reads back as it was.
QString Storable(QString value)
{
    if (value.isEmpty())
        return value;
    if (Unquote(value) != value || value.front().isSpace() || value.back().isSpace())
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

bool SameName(const QString& a, const QString& b)
{
    return inifile::SameFolded(a, b);
}

const QLatin1String kCrLf("\r\n");

} // namespace

IniFile::IniFile(QString fileName)
    : fileName_(std::move(fileName))
{
    Reload();
}

void IniFile::Reload()
{
    loaded_ = false;
    loadError_.clear();
    keepOldFile_ = false;
    encoding_ = TextEncoding::Undecided;
    hadBom_ = false;
    leadingLines_.clear();
    sections_.clear();
    InvalidateSectionIndex();

    // No name: a file built in memory only, which there is nothing to open for.
    if (fileName_.isEmpty())
        return;
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const auto tooLarge = [this](qint64 size) {
        Refuse(QStringLiteral("it holds %1 bytes, more than the %2 a settings or data file may hold")
                   .arg(size)
                   .arg(kMaxFileBytes));
    };
    // The size is checked before anything is read, and the file is read in pieces, so that
    // neither a file that grows meanwhile nor a device without a size (a pipe) is read past it.
    QByteArray bytes;
    constexpr qint64 kPiece = qint64(1) << 20;
    if (!file.isSequential()) {
        if (file.size() > kMaxFileBytes) {
            tooLarge(file.size());
            return;
        }
        bytes.reserve(file.size() + kPiece);
    }
    for (;;) {
        const qsizetype have = bytes.size();
        bytes.resize(have + kPiece);
        const qint64 got = file.read(bytes.data() + have, kPiece);
        if (got < 0) {
            Refuse(file.errorString());
            return;
        }
        bytes.resize(have + got);
        if (got == 0)
            break;
        if (bytes.size() > kMaxFileBytes) {
            tooLarge(bytes.size());
            return;
        }
    }

    QString text;
    const bool utf16Le = bytes.startsWith("\xFF\xFE");
    if (utf16Le || bytes.startsWith("\xFE\xFF")) {
        // A byte-order mark of two bytes: UTF-16, the "Unicode" of Windows editors. The reader
        // of the original platform takes such files as they are, so a rewrite keeps the encoding.
        encoding_ = utf16Le ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        hadBom_ = true;
        QStringDecoder decoder(utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        text = decoder.decode(QByteArrayView(bytes).sliced(2));
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        hadBom_ = true;
        encoding_ = TextEncoding::Utf8;
        bytes.remove(0, 3);
        text = QString::fromUtf8(bytes);
    } else if (IsAscii(bytes)) {
        text = QString::fromLatin1(bytes);
    } else {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString decoded = decoder.decode(bytes);
        if (!decoder.hasError()) {
            encoding_ = TextEncoding::Utf8;
            text = std::move(decoded);
        } else {
            encoding_ = TextEncoding::Cp1252;
            text = codepage::FromWindows1252(bytes);
        }
    }
    QByteArray().swap(bytes); // the text is all the parse needs
    loaded_ = Parse(text);
}

void IniFile::Refuse(const QString& why)
{
    loadError_ = QStringLiteral("Cannot read \"") + fileName_ + QStringLiteral("\": ") + why;
    keepOldFile_ = true;
    leadingLines_.clear();
    sections_.clear();
    InvalidateSectionIndex();
}

bool IniFile::Parse(const QString& text)
{
    // Lines end in CR LF, LF or a lone CR (older editors); the text after the last line break is
    // no line of its own.
    const QStringView all(text);
    const qsizetype n = all.size();
    qsizetype start = 0;
    int64_t lineNumber = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && all[end] != QLatin1Char('\n') && all[end] != QLatin1Char('\r'))
            ++end;
        ++lineNumber;
        if (end - start > kMaxLineChars) {
            Refuse(QStringLiteral("line %1 holds more than the %2 characters a line may hold")
                       .arg(lineNumber)
                       .arg(kMaxLineChars));
            return false;
        }
        ParseLine(all.sliced(start, end - start));
        if (end + 1 < n && all[end] == QLatin1Char('\r') && all[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return true;
}

void IniFile::ParseLine(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('['))) {
        qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        if (close < 0)
            close = trimmed.size();
        sections_.emplace_back().name = trimmed.sliced(1, close - 1).trimmed().toString();
        return;
    }
    Entry entry;
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || eq < 0) {
        entry.raw = true;
        entry.value = line.toString();
    } else {
        entry.key = trimmed.first(eq).trimmed().toString();
        entry.value = trimmed.sliced(eq + 1).trimmed().toString();
    }
    if (sections_.empty()) {
        // Keys before the first section belong to no section; the readers never see them,
        // but the rewrite keeps them.
        leadingLines_.append(line.toString());
    } else {
        sections_.back().entries.push_back(std::move(entry));
    }
}

const IniFile::Section* IniFile::FindSection(const QString& section) const
{
    const auto nameAt = [this](size_t i) { return &sections_[i].name; };
    if (!sectionIndex_.Valid())
        sectionIndex_.Build(sections_.size(), nameAt);
    const auto pos = sectionIndex_.Find(QStringView(section).trimmed(), nameAt);
    return pos ? &sections_[*pos] : nullptr;
}

IniFile::Section* IniFile::FindSection(const QString& section)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

std::optional<size_t> IniFile::PositionOf(const Section& section, const QString& key)
{
    const auto nameAt = [&section](size_t i) {
        const Entry& e = section.entries[i];
        return e.raw ? nullptr : &e.key;
    };
    if (!section.index.Valid())
        section.index.Build(section.entries.size(), nameAt);
    const QStringView name = QStringView(key).trimmed();
    const auto found = [&section](size_t pos) {
        section.step = pos > section.lastFound ? pos - section.lastFound : 1;
        section.lastFound = pos;
        return pos;
    };
    // With no key repeated, a match anywhere is the first one, so the guess may be taken.
    if (!section.index.HasRepeats()) {
        for (const size_t pos : {section.lastFound + section.step, section.lastFound + 1}) {
            if (pos < section.entries.size() && !section.entries[pos].raw &&
                inifile::SameFolded(section.entries[pos].key, name))
                return found(pos);
        }
    }
    const auto pos = section.index.Find(name, nameAt);
    if (pos)
        return found(*pos);
    return std::nullopt;
}

const IniFile::Entry* IniFile::FindInSection(const Section& section, const QString& key)
{
    const auto pos = PositionOf(section, key);
    return pos ? &section.entries[*pos] : nullptr;
}

const IniFile::Entry* IniFile::FindEntry(const QString& section, const QString& key) const
{
    const Section* s = FindSection(section);
    return s ? FindInSection(*s, key) : nullptr;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const Entry* e = FindEntry(section, key);
    return e ? Unquote(e->value) : def;
}

int32_t IniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const
{
    const Entry* e = FindEntry(section, key);
    if (!e)
        return def;
    return profilenumbers::ParseProfileInt(Unquote(e->value).trimmed()).value_or(def);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    const Entry* e = FindEntry(section, key);
    if (!e)
        return def;
    const auto v = profilenumbers::ParseProfileInt(Unquote(e->value).trimmed());
    return v ? *v != 0 : def;
}

double IniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const Entry* e = FindEntry(section, key);
    if (!e)
        return def;
    // "NAN" and "INF" are numbers to the parser but no setting can use them.
    const auto v = profilenumbers::ParseDotFloat(Unquote(e->value).trimmed());
    return v && std::isfinite(*v) ? *v : def;
}

bool IniFile::SectionExists(const QString& section) const
{
    return FindSection(section) != nullptr;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    return FindEntry(section, key) != nullptr;
}

QStringList IniFile::ReadSections() const
{
    // A repeated section is unreachable (the first one wins), so it is listed once: a section is
    // listed where the lookup of its own name leads.
    QStringList out;
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (FindSection(sections_[i].name) == &sections_[i])
            out.append(sections_[i].name);
    }
    return out;
}

QStringList IniFile::ReadSection(const QString& section) const
{
    QStringList out;
    if (const Section* s = FindSection(section)) {
        // Likewise a repeated key.
        for (size_t i = 0; i < s->entries.size(); ++i) {
            const Entry& e = s->entries[i];
            if (!e.raw && PositionOf(*s, e.key) == i)
                out.append(e.key);
        }
    }
    return out;
}

QStringList IniFile::ReadSectionValues(const QString& section) const
{
    QStringList out;
    const Section* s = FindSection(section);
    if (!s)
        return out;
    for (const QString& key : ReadSection(section))
        out.append(key + QLatin1Char('=') + Unquote(FindInSection(*s, key)->value));
    return out;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString cleanKey = OneLine(key).trimmed();
    const QString cleanValue = Storable(OneLine(value));
    Section* s = FindSection(section);
    if (!s) {
        // Keep a blank line between the old last section and the new one, as people expect.
        if (!sections_.empty()) {
            auto& last = sections_.back().entries;
            if (last.empty() || !(last.back().raw && last.back().value.trimmed().isEmpty()))
                last.push_back(Entry{QString(), QString(), true});
        } else if (!leadingLines_.isEmpty() && !leadingLines_.back().trimmed().isEmpty()) {
            leadingLines_.append(QString());
        }
        sections_.emplace_back().name = OneLine(section).trimmed();
        s = &sections_.back();
        // The cleaned name may be that of an earlier section, which then stays the one found.
        if (sectionIndex_.Valid() && FindSection(s->name) == nullptr)
            sectionIndex_.Add(sections_.size() - 1, s->name);
    }
    if (const auto pos = PositionOf(*s, cleanKey)) {
        s->entries[*pos].value = cleanValue;
        return;
    }
    // New keys go after the last key, or after the section's own comments when it has no keys;
    // blank lines and comments at the end stay with the next section.
    size_t insertAt = 0;
    bool anyKey = false;
    for (size_t i = s->entries.size(); i-- > 0;) {
        const Entry& e = s->entries[i];
        if (!e.raw) {
            insertAt = i + 1;
            anyKey = true;
            break;
        }
    }
    if (!anyKey) {
        for (size_t i = 0; i < s->entries.size(); ++i) {
            if (s->entries[i].value.trimmed().isEmpty())
                break;
            insertAt = i + 1;
        }
    }
    // The lookup above built the index and found no such key. Keys written one after the other
    // are appended, which moves no position.
    if (insertAt < s->entries.size())
        s->index.ShiftFrom(insertAt);
    s->entries.insert(s->entries.begin() + static_cast<std::ptrdiff_t>(insertAt),
                      Entry{cleanKey, cleanValue, false});
    s->index.Add(insertAt, cleanKey);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int32_t value)
{
    WriteString(section, key, QString::fromLatin1(std::to_string(value)));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    WriteString(section, key, profilenumbers::FormatGeneral(value, 15, QLatin1Char('.')));
}

void IniFile::EraseSection(const QString& section)
{
    const QString name = section.trimmed();
    std::erase_if(sections_, [&](const Section& s) { return SameName(s.name, name); });
    InvalidateSectionIndex();
}

void IniFile::DeleteKey(const QString& section, const QString& key)
{
    Section* s = FindSection(section);
    if (!s)
        return;
    // Repeats are removed too, or deleting a key would bring an older value back to life.
    const QString name = key.trimmed();
    std::erase_if(s->entries, [&](const Entry& e) { return !e.raw && SameName(e.key, name); });
    s->index.Invalidate();
}

void IniFile::Clear()
{
    keepOldFile_ = false;
    leadingLines_.clear();
    sections_.clear();
    InvalidateSectionIndex();
}

QString IniFile::SerializeText() const
{
    QString out;
    for (const QString& line : leadingLines_) {
        out += line;
        out += kCrLf;
    }
    for (const Section& s : sections_) {
        out += QLatin1Char('[') + s.name + QLatin1Char(']');
        out += kCrLf;
        for (const Entry& e : s.entries) {
            if (e.raw)
                out += e.value;
            else
                out += e.key + QLatin1Char('=') + e.value;
            out += kCrLf;
        }
    }
    return out;
}

IniFile::TextEncoding IniFile::WriteEncoding() const
{
    QByteArray unused;
    return EncodingFor(SerializeText(), unused);
}

IniFile::TextEncoding IniFile::EncodingFor(const QString& text, QByteArray& cp1252) const
{
    if (encoding_ == TextEncoding::Utf8 || encoding_ == TextEncoding::Utf16Le ||
        encoding_ == TextEncoding::Utf16Be)
        return encoding_;
    // A Windows-1252 file that now holds characters outside the code page becomes UTF-8:
    // changing the encoding is better than writing "?" for what the user typed.
    std::optional<QByteArray> bytes = codepage::ToWindows1252(text);
    if (!bytes)
        return TextEncoding::Utf8;
    // So does one whose Windows-1252 bytes happen to form valid UTF-8 ("\u00C3\u00A9" is C3 A9):
    // the next read would take them for UTF-8 and see other characters.
    if (!IsAscii(*bytes) && IsValidUtf8(*bytes))
        return TextEncoding::Utf8;
    cp1252 = std::move(*bytes);
    return TextEncoding::Cp1252;
}

QByteArray IniFile::Serialize() const
{
    const QString text = SerializeText();
    QByteArray cp1252;
    const TextEncoding encoding = EncodingFor(text, cp1252);
    if (encoding == TextEncoding::Cp1252)
        return cp1252;
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
        QStringEncoder encoder(encoding == TextEncoding::Utf16Le ? QStringConverter::Utf16LE
                                                                 : QStringConverter::Utf16BE,
                               QStringConverter::Flag::WriteBom);
        return encoder.encode(text);
    }
    QByteArray out;
    if (hadBom_)
        out = QByteArray("\xEF\xBB\xBF");
    out += text.toUtf8();
    return out;
}

bool IniFile::UpdateFile(QString* error)
{
    // What was not read cannot be written back: the old file would be replaced by what little
    // was written since. Only Clear() says that the old contents are not wanted.
    if (keepOldFile_) {
        if (error)
            *error = loadError_ + QStringLiteral("; the file is left as it is");
        return false;
    }
    const QByteArray bytes = Serialize();
    QSaveFile file(fileName_);
    auto fail = [&](const QString& what) {
        if (error)
            *error = what + QStringLiteral(" \"") + fileName_ + QStringLiteral("\": ") +
                     file.errorString();
        return false;
    };
    if (QFileInfo(fileName_).isDir()) {
        if (error)
            *error = QStringLiteral("Cannot write \"") + fileName_ +
                     QStringLiteral("\": it is a folder");
        return false;
    }
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot create"));
    QString reason;
    if (FinishSaveFile(file, file.write(bytes) == bytes.size(), &reason))
        return true;
    if (error)
        *error = QStringLiteral("Cannot write \"") + fileName_ + QStringLiteral("\": ") + reason;
    return false;
}
