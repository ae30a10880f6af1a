#ifndef ZENDRIK_PLATFORM_INIFILE_INIFILE_H
#define ZENDRIK_PLATFORM_INIFILE_INIFILE_H

#include "platform/inifile/NameIndex.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

// An INI file with the Windows profile rules: sections and keys match without regard to case,
// the first match wins, a value is the text after the first "=" with blanks trimmed, lines that
// start with ";" are comments, a value wholly enclosed in matching double or single quotes reads
// without them, and the order of sections, keys and comment lines is kept. Reads come from an
// in-memory copy loaded at construction; writes change that copy and reach the disk only through
// UpdateFile(), which rebuilds the whole file and replaces the old one atomically (temporary file
// plus rename, CRLF line ends), so a failed write leaves the old file as it was. Lines may end in
// CR LF, LF or a lone CR. Section and key names are compared trimmed, as they are stored.
//
// Encoding: a UTF-16 byte-order mark (what Windows editors call "Unicode") reads and writes as
// UTF-16 of that byte order; a UTF-8 BOM or valid UTF-8 reads as UTF-8, anything else as
// Windows-1252 (the files of the original platform); a rewrite keeps the encoding it was read in.
// A new file, or one that was plain ASCII, is written as Windows-1252 when every character fits,
// else as UTF-8.
//
// Numbers are machine-facing: integers are decimal (a leading "$" or "0x" reads as hex, as the
// profile readers of the original platform did), floats use "." whatever the locale; a float that
// is no finite number ("NAN", "INF") keeps the default.
class IniFile {
public:
    // One line of a section. Comment, blank and unparsed lines are kept (raw = true, the text in
    // value) at their place, so they survive a rewrite.
    struct Entry {
        QString key;
        QString value; // as stored, quotes included
        bool raw = false;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
        // Position of the first entry of each key, built on the first lookup, so that reading a
        // table of thousands of keys does not scan the section for each one.
        mutable inifile::NameIndex index;
        // The last entry found and the step from the one before: readers mostly ask for keys in
        // file order ("Freq1", "Lev1", "Freq2", ...), so the next one is usually where the step
        // leads. Only a guess, checked by comparing names.
        mutable size_t lastFound = 0;
        mutable size_t step = 1;
    };
    enum class TextEncoding { Undecided, Utf8, Cp1252, Utf16Le, Utf16Be };

    // A settings or data file longer than this is refused unread (the largest the program writes,
    // a table at the grid's limit of a million points, is about 45 MB); so is one with a line
    // longer than kMaxLineChars, though a real value is a few dozen characters. Either would
    // otherwise hold the window for minutes and take gigabytes.
    static constexpr qint64 kMaxFileBytes = qint64(64) << 20;
    static constexpr qsizetype kMaxLineChars = 65536;

    // An empty name makes a file that lives in memory only (to check what a writer would write).
    explicit IniFile(QString fileName);

    const QString& FileName() const { return fileName_; }
    // Whether the file existed and could be read at construction (or the last Reload).
    bool Loaded() const { return loaded_; }
    // Why a file that could be opened was not read (too large, a line too long, a read error),
    // naming the file; empty when it was read or could not be opened (a missing file). A refused
    // file reads as an empty one, and UpdateFile() leaves it alone unless Clear() was called.
    const QString& LoadError() const { return loadError_; }
    void Reload();

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    // "0" is false, any other integer is true; text that is no integer gives def.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    double ReadFloat(const QString& section, const QString& key, double def) const;

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const;      // keys in file order
    QStringList ReadSectionValues(const QString& section) const; // "key=value" lines

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value); // "1" / "0"
    void WriteFloat(const QString& section, const QString& key, double value);
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);
    // Forget everything read, so UpdateFile() writes only what is written from now on (also over
    // a file that was refused).
    void Clear();

    // Commits the in-memory copy to disk atomically. On failure returns false, leaves the old
    // file untouched and puts a readable reason into *error when given.
    bool UpdateFile(QString* error = nullptr);
    // The encoding the next UpdateFile() will use.
    TextEncoding WriteEncoding() const;

    // The whole file as it would be written (CRLF line ends), for tests and previews.
    QByteArray Serialize() const;

private:
    const Section* FindSection(const QString& section) const;
    Section* FindSection(const QString& section);
    void InvalidateSectionIndex() { sectionIndex_.Invalidate(); }
    const Entry* FindEntry(const QString& section, const QString& key) const;
    static const Entry* FindInSection(const Section& section, const QString& key);
    static std::optional<size_t> PositionOf(const Section& section, const QString& key);
    // The file is not read: it reads as empty, and UpdateFile() leaves it alone.
    void Refuse(const QString& why);
    bool Parse(const QString& text);
    void ParseLine(QStringView line);
    QString SerializeText() const;
    // The encoding text is written in; cp1252 receives its bytes when that is Windows-1252.
    TextEncoding EncodingFor(const QString& text, QByteArray& cp1252) const;

    QString fileName_;
    bool loaded_ = false;
    QString loadError_;
    bool keepOldFile_ = false; // refused on reading and not cleared since
    TextEncoding encoding_ = TextEncoding::Undecided; // as read; kept on rewrite
    bool hadBom_ = false;
    QStringList leadingLines_; // comments before the first section
    std::vector<Section> sections_;
    // Position of the first section of each name, built on the first lookup; settings files of
    // tens of thousands of sections would otherwise load in quadratic time.
    mutable inifile::NameIndex sectionIndex_;
};

#endif
