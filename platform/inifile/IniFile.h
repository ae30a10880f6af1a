#ifndef ZENDRIK_PLATFORM_INIFILE_INIFILE_H
#define ZENDRIK_PLATFORM_INIFILE_INIFILE_H

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// An INI file with the Windows profile rules: sections and keys match without regard to case,
// the first match wins, a value is the text after the first "=" with blanks trimmed, lines that
// start with ";" are comments, and the order of sections and keys is kept. Reads come from an
// in-memory copy loaded at construction; writes change that copy and reach the disk only through
// UpdateFile(), which rebuilds the whole file and replaces the old one atomically (temporary file
// plus rename, CRLF line ends), so a failed write leaves the old file as it was.
//
// Numbers are machine-facing: integers are decimal (a leading "$" or "0x" reads as hex, as the
// profile readers of the original platform did), floats use "." whatever the locale.
class IniFile {
public:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
        QStringList rawLines; // comment and unparsed lines kept so they survive a rewrite
    };

    explicit IniFile(QString fileName);

    const QString& FileName() const { return fileName_; }
    // Whether the file existed and could be read at construction (or the last Reload).
    bool Loaded() const { return loaded_; }
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
    // Forget everything read, so UpdateFile() writes only what is written from now on.
    void Clear();

    // Commits the in-memory copy to disk atomically. On failure returns false, leaves the old
    // file untouched and puts a readable reason into *error when given.
    bool UpdateFile(QString* error = nullptr);

    // The whole file as it would be written (CRLF line ends), for tests and previews.
    QByteArray Serialize() const;

private:
    const Section* FindSection(const QString& section) const;
    Section* FindSection(const QString& section);
    const Entry* FindEntry(const QString& section, const QString& key) const;

    QString fileName_;
    bool loaded_ = false;
    bool utf8_ = true;       // encoding the file was read in; kept on rewrite
    bool hadBom_ = false;
    QStringList leadingLines_; // comments before the first section
    std::vector<Section> sections_;
};

#endif
