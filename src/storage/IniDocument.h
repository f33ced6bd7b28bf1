#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

/// The lines of one INI file, read and changed as the Windows private-profile
/// functions read and write them. Lines that a change does not touch keep their
/// bytes exactly.
///
/// Reading: sections and keys match case-insensitively (ASCII case only); the
/// first of two equal keys wins; blanks and tabs around a key and a value do not
/// count; one pair of matching enclosing quotes ("abc" or 'abc') is dropped from
/// a value; a line without "=" is ignored; CRLF and LF both end a line. Text is
/// in code page 1251.
///
/// Writing: a key's line is replaced in place; a new key goes after the last key
/// of its section; a new section goes at the end; new lines end in CRLF. A value
/// that the reader would change (outer blanks, enclosing quotes) is written inside
/// one more pair of quotes; a CR, LF or NUL in it becomes a blank.
class IniDocument
{
public:
    using Entry = std::pair<QString, QString>; // key, value

    IniDocument() = default;
    static IniDocument fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    /// The value of key in section, or nothing when there is no such key.
    std::optional<QString> value(QStringView section, QStringView key) const;
    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    /// A decimal integer (optional sign, 32 bits); anything else gives defaultValue.
    int readInteger(QStringView section, QStringView key, int defaultValue) const;

    void writeString(QStringView section, QStringView key, const QString& value);
    void writeInteger(QStringView section, QStringView key, int value);
    /// Removes every section of that name with all its lines.
    void eraseSection(QStringView section);
    /// Erases the section and writes it anew with these entries, in this order.
    void replaceSection(QStringView section, const QList<Entry>& entries);
    /// The same with entries given as lines of key, "=" and value (the value
    /// is everything after the first "=").
    void replaceSectionLines(QStringView section, const QStringList& lines);

    bool hasSection(QStringView section) const;
    /// The keys of section in file order, as spelt in the file (first of equal keys only).
    QStringList keys(QStringView section) const;

private:
    enum class End : quint8 { None, LF, CRLF };
    struct Line
    {
        QByteArray text; // without its line end; unchanged lines share the bytes read
        End end = End::CRLF;
    };
    // A section name or key as it stands in the lines: equal to another, and
    // hashed, with the ASCII case of its letters folded.
    struct FoldedName
    {
        QByteArrayView bytes;

        static char fold(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
        friend bool operator==(FoldedName a, FoldedName b) noexcept
        {
            return std::equal(a.bytes.begin(), a.bytes.end(), b.bytes.begin(), b.bytes.end(),
                              [](char x, char y) { return fold(x) == fold(y); });
        }
        friend size_t qHash(FoldedName name, size_t seed = 0) noexcept
        {
            // FNV-1a: keys a digit apart land far apart. A plain polynomial
            // hash crowds the keys of a problem into neighbouring buckets of
            // QHash, and reading the largest problem took three times as long.
            size_t h = 1469598103934665603ULL;
            for (const char c : name.bytes)
                h = (h ^ uchar(fold(c))) * 1099511628211ULL;
            return h ^ seed;
        }
    };
    struct KeyLine
    {
        int line = -1; // -1: no such key
    };
    // The views point into m_lines, so any change of the lines drops the index.
    struct Index
    {
        QHash<std::pair<FoldedName, FoldedName>, KeyLine> keys; // (section, key) -> line of the first such key
        QHash<FoldedName, QList<int>> headers;                  // section -> its header lines
    };

    int keyLine(QStringView section, QStringView key) const;
    const QList<int>* headerLines(QStringView section) const;

    const Index& index() const;
    void changed() { m_index.reset(); }
    int sectionEnd(int headerLine) const;
    int insertionPoint(int headerLine) const;
    void appendLine(const QByteArray& text);

    QByteArray m_source; // the bytes read, shared by the unchanged lines
    std::vector<Line> m_lines;
    mutable std::optional<Index> m_index;
};
