#include "storage/IniDocument.h"

#include "storage/CodePage.h"

#include <QByteArrayView>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimmed(QByteArrayView v)
{
    // A CR left by a CRLF split counts as a blank too.
    qsizetype b = 0, e = v.size();
    while (b < e && (isBlank(v[b]) || v[b] == '\r'))
        ++b;
    while (e > b && (isBlank(v[e - 1]) || v[e - 1] == '\r'))
        --e;
    return v.sliced(b, e - b);
}

// Only ASCII letters fold, as in the Windows functions.
QByteArray folded(QByteArrayView v)
{
    QByteArray out(v.data(), v.size());
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

QByteArray foldedName(QStringView name) { return folded(CodePage::encode(name)); }

QByteArray indexKey(QByteArrayView foldedSection, QByteArrayView foldedKey)
{
    QByteArray k;
    k.reserve(foldedSection.size() + foldedKey.size() + 1);
    k.append(foldedSection).append('\0').append(foldedKey);
    return k;
}

// The section name of a header line ("[name]", blanks allowed around and inside
// the brackets), or nothing when the line is not a header.
std::optional<QByteArrayView> headerName(QByteArrayView line)
{
    const QByteArrayView t = trimmed(line);
    if (t.isEmpty() || t[0] != '[')
        return std::nullopt;
    const qsizetype close = t.lastIndexOf(']');
    if (close < 1)
        return std::nullopt;
    return trimmed(t.sliced(1, close - 1));
}

// The value as a reader sees it: blanks around it dropped, then one pair of
// matching enclosing quotes.
QByteArrayView readerValue(QByteArrayView raw)
{
    QByteArrayView v = trimmed(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v;
}

// The bytes to write for a value so that a reader gives back exactly value.
QByteArray writerValue(const QString& value)
{
    QString clean = value;
    for (QChar& c : clean) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    QByteArray bytes = CodePage::encode(clean);
    if (readerValue(bytes).size() != bytes.size())
        bytes = '"' + bytes + '"';
    return bytes;
}

std::optional<int> parseInteger(QByteArrayView v)
{
    v = trimmed(v);
    bool ok = false;
    const int n = v.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return n;
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    doc.m_lines.reserve(size_t(bytes.count('\n')) + 1);
    while (start < size) {
        const qsizetype nl = bytes.indexOf('\n', start);
        qsizetype end = nl < 0 ? size : nl;
        qsizetype textEnd = end;
        if (textEnd > start && bytes[textEnd - 1] == '\r')
            --textEnd;
        Line line;
        line.text = bytes.sliced(start, textEnd - start);
        line.end = nl < 0 ? bytes.sliced(textEnd, end - textEnd) : bytes.sliced(textEnd, end + 1 - textEnd);
        doc.m_lines.push_back(std::move(line));
        start = nl < 0 ? size : nl + 1;
    }
    return doc;
}

QByteArray IniDocument::toBytes() const
{
    qsizetype total = 0;
    for (const Line& l : m_lines)
        total += l.text.size() + l.end.size();
    QByteArray out;
    out.reserve(total);
    for (const Line& l : m_lines)
        out.append(l.text).append(l.end);
    return out;
}

const IniDocument::Index& IniDocument::index() const
{
    if (m_index)
        return *m_index;
    Index idx;
    QByteArray section;
    bool inSection = false;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const QByteArrayView text = m_lines[size_t(i)].text;
        if (const auto name = headerName(text)) {
            section = folded(*name);
            inSection = true;
            idx.headers[section].push_back(i);
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = text.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = indexKey(section, folded(trimmed(text.first(eq))));
        if (!idx.keys.contains(key)) // the first of two equal keys wins
            idx.keys.insert(key, i);
    }
    m_index = std::move(idx);
    return *m_index;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const auto it = index().keys.constFind(indexKey(foldedName(section), foldedName(key)));
    if (it == index().keys.cend())
        return std::nullopt;
    const QByteArrayView text = m_lines[size_t(*it)].text;
    return CodePage::decode(readerValue(text.sliced(text.indexOf('=') + 1)));
}

QString IniDocument::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

int IniDocument::readInteger(QStringView section, QStringView key, int defaultValue) const
{
    const auto it = index().keys.constFind(indexKey(foldedName(section), foldedName(key)));
    if (it == index().keys.cend())
        return defaultValue;
    const QByteArrayView text = m_lines[size_t(*it)].text;
    return parseInteger(readerValue(text.sliced(text.indexOf('=') + 1))).value_or(defaultValue);
}

bool IniDocument::hasSection(QStringView section) const { return index().headers.contains(foldedName(section)); }

QStringList IniDocument::keys(QStringView section) const
{
    QStringList out;
    const QByteArray s = foldedName(section);
    const auto headers = index().headers.value(s);
    for (int h : headers) {
        for (int i = h + 1; i < sectionEnd(h); ++i) {
            const QByteArrayView text = m_lines[size_t(i)].text;
            const qsizetype eq = text.indexOf('=');
            if (eq < 0)
                continue;
            const QByteArrayView key = trimmed(text.first(eq));
            if (index().keys.value(indexKey(s, folded(key)), -1) == i)
                out.append(CodePage::decode(key));
        }
    }
    return out;
}

int IniDocument::sectionEnd(int headerLine) const
{
    int i = headerLine + 1;
    while (i < int(m_lines.size()) && !headerName(m_lines[size_t(i)].text))
        ++i;
    return i;
}

int IniDocument::insertionPoint(int headerLine) const
{
    // After the last key line of the section, so blank lines and comments that
    // close the section stay where they are.
    int at = headerLine + 1;
    for (int i = headerLine + 1; i < sectionEnd(headerLine); ++i) {
        if (m_lines[size_t(i)].text.contains('='))
            at = i + 1;
    }
    return at;
}

void IniDocument::appendLine(const QByteArray& text)
{
    if (!m_lines.empty() && m_lines.back().end.isEmpty())
        m_lines.back().end = "\r\n";
    m_lines.push_back(Line{text, "\r\n"});
}

void IniDocument::writeString(QStringView section, QStringView key, const QString& value)
{
    const QByteArray line = CodePage::encode(key) + '=' + writerValue(value);
    const QByteArray s = foldedName(section);
    const Index& idx = index();
    if (const auto it = idx.keys.constFind(indexKey(s, foldedName(key))); it != idx.keys.cend()) {
        Line& l = m_lines[size_t(*it)];
        l.text = line;
        l.end = "\r\n";
        return; // the index stays valid: same key, same line
    }
    if (const auto h = idx.headers.constFind(s); h != idx.headers.cend()) {
        const int at = insertionPoint(h->front());
        if (at > 0 && m_lines[size_t(at - 1)].end.isEmpty())
            m_lines[size_t(at - 1)].end = "\r\n";
        m_lines.insert(m_lines.begin() + at, Line{line, "\r\n"});
    } else {
        appendLine('[' + CodePage::encode(section) + ']');
        appendLine(line);
    }
    changed();
}

void IniDocument::writeInteger(QStringView section, QStringView key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniDocument::eraseSection(QStringView section)
{
    const auto h = index().headers.constFind(foldedName(section));
    if (h == index().headers.cend())
        return;
    const std::vector<int> headers = *h;
    // From the last so that earlier line numbers stay valid.
    for (auto it = headers.rbegin(); it != headers.rend(); ++it)
        m_lines.erase(m_lines.begin() + *it, m_lines.begin() + sectionEnd(*it));
    changed();
}

void IniDocument::replaceSection(QStringView section, const QList<Entry>& entries)
{
    eraseSection(section);
    appendLine('[' + CodePage::encode(section) + ']');
    for (const Entry& e : entries)
        m_lines.push_back(Line{CodePage::encode(e.first) + '=' + writerValue(e.second), "\r\n"});
    changed();
}
